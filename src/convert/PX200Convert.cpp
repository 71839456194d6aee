// Building a PX600 image from a PX200 model: the header and the small copies
// of the build order. The block converters of the PX200 settings, condition,
// curve settings and model-wide blocks are not part of the program yet; their
// target blocks stay zero until they are.
#include <cstring>

#include "model/ModelData.h"

namespace {

constexpr uint16_t PX200_BUILD_MARK = 756;       // PX600 image 8..9
constexpr size_t PX200_RECORDS = 1624;            // five 8-byte records
constexpr size_t PX600_RECORDS = 25088;           // eight 14-byte records
constexpr size_t PX600_RECORD_SIZE = 14;
constexpr size_t PX200_RECORD_SIZE = 8;

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

    // Records 0..4 from the PX200's five records; 5..7 repeat record 0.
    for (size_t k = 0; k < 8; ++k) {
        const size_t from = PX200_RECORDS + PX200_RECORD_SIZE * (k < 5 ? k : 0);
        std::memcpy(img + PX600_RECORDS + PX600_RECORD_SIZE * k, src + from, PX200_RECORD_SIZE);
    }

    target.CheckDelayRecords();
    return 1;
}
