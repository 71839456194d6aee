// Building a PX600 image from a PX200 model: the header, the model settings
// block, the per-condition blocks, the eight records at 25088, the model-wide
// block and the delay check, in that order. The switch pass and the checksum
// follow in ConvertFromPX200 (Conversion.cpp).
#include <cstring>

#include "convert/Conversion.h"
#include "convert/PX200Convert.h"
#include "model/ModelData.h"

namespace {

constexpr size_t PX200_RECORDS = 1624;            // five 8-byte records
constexpr size_t PX200_RECORD_SIZE = 8;

} // namespace

int BuildFromPX200(CModelDataPX600& target, CModelDataBase& source)
{
    const uint8_t* src = source.GetImage();
    uint8_t* img = target.GetImage();

    std::memset(img, 0, PX600_IMAGE_SIZE);
    target.InitTransmitterName(TX_PX600);
    PutBE16(img + px600::kBuildMark.offset, px600::kBuiltFromPX200);

    target.SetModelName(source.GetModelName());
    target.SetModelType(source.GetModelType());
    target.StampDate(nullptr);

    const int type = target.GetModelType();
    ConvertPX200SettingsBlock(img, src, type);

    for (int c = 0; c < px600::kConditions; ++c) {
        ConvertPX200ConditionBlock(img + px600::kConditionBlock.At(c), src, type, c);
        ConvertPX200CurveSettingsBlock(img + px600::kCurveSettings.At(c), src, type, c);
    }

    // Records 0..4 from the PX200's five records; 5..7 repeat record 0.
    for (int k = 0; k < px600::kBlock2Records.count; ++k) {
        const size_t from = PX200_RECORDS + PX200_RECORD_SIZE * size_t(k < 5 ? k : 0);
        std::memcpy(img + px600::kBlock2Records.At(k), src + from, PX200_RECORD_SIZE);
    }

    ConvertPX200ModelBlock(img, src, type);
    target.CheckDelayRecords();
    return 1;
}
