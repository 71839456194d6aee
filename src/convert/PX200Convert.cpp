// Building a PX600 image from a PX200 model: the header, the model settings
// block, the per-condition blocks, the eight records at 25088, the model-wide
// block and the delay check, in that order. The switch pass and the checksum
// follow in ConvertFromPX200 (Conversion.cpp).
#include <cstring>

#include "convert/Conversion.h"
#include "convert/PX200Convert.h"
#include "model/ModelData.h"

namespace {

constexpr uint16_t PX200_BUILD_MARK = 756;       // PX600 image 8..9
constexpr size_t PX200_RECORDS = 1624;            // five 8-byte records
constexpr size_t PX600_RECORDS = 25088;           // eight 14-byte records
constexpr size_t PX600_RECORD_SIZE = 14;
constexpr size_t PX200_RECORD_SIZE = 8;
constexpr int PX600_CONDITIONS = 8;
constexpr size_t PX600_CONDITION_BLOCKS = 640;    // 3056 bytes each
constexpr size_t PX600_CONDITION_SIZE = 3056;
constexpr size_t PX600_CURVE_SETTINGS = 28140;    // 578 bytes each
constexpr size_t PX600_CURVE_SETTINGS_SIZE = 578;

} // namespace

int BuildFromPX200(CModelDataPX600& target, CModelDataBase& source)
{
    const uint8_t* src = source.GetImage();
    uint8_t* img = target.GetImage();

    std::memset(img, 0, PX600_IMAGE_SIZE);
    target.InitTransmitterName(TX_PX600);
    PutBE16(img + 8, PX200_BUILD_MARK);

    target.SetModelName(source.GetModelName());
    target.SetModelType(source.GetModelType());
    target.StampDate(nullptr);

    const int type = target.GetModelType();
    ConvertPX200SettingsBlock(img, src, type);

    for (int c = 0; c < PX600_CONDITIONS; ++c) {
        ConvertPX200ConditionBlock(img + PX600_CONDITION_BLOCKS + PX600_CONDITION_SIZE * c, src, type, c);
        ConvertPX200CurveSettingsBlock(img + PX600_CURVE_SETTINGS + PX600_CURVE_SETTINGS_SIZE * c, src, type, c);
    }

    // Records 0..4 from the PX200's five records; 5..7 repeat record 0.
    for (size_t k = 0; k < 8; ++k) {
        const size_t from = PX200_RECORDS + PX200_RECORD_SIZE * (k < 5 ? k : 0);
        std::memcpy(img + PX600_RECORDS + PX600_RECORD_SIZE * k, src + from, PX200_RECORD_SIZE);
    }

    ConvertPX200ModelBlock(img, src, type);
    target.CheckDelayRecords();
    return 1;
}
