// Any bytes as PX200 model data (cut or zero-padded to 6618 bytes), converted
// into a PX600 model; the last input byte chooses whether the hardware table
// is in use.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "convert/Conversion.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CModelDataPX200* source = new CModelDataPX200();
    static CConvertHW* table = [] {
        auto* t = new CConvertHW();
        t->ResetRows(TX_PX200, TX_PX600);
        return t;
    }();
    static CModelDataPX600* target = new CModelDataPX600(table);

    // The image buffer as the driver leaves it: zero beyond what was read.
    uint8_t* image = source->GetImage();
    const size_t n = size < PX200_DATA_SIZE ? size : PX200_DATA_SIZE;
    std::memset(image, 0, PX200_IMAGE_SIZE);
    if (n)
        std::memcpy(image, data, n);
    table->m_inUse = size > 0 && (data[size - 1] & 1);
    if (ConvertFromPX200(*target, *source) != 1)
        std::abort();
    const uint8_t* t = target->GetImage();
    if (GetBE16(t + 8) != 756)
        std::abort();
    uint32_t sum = 0;
    for (size_t i = 0; i < 32764; ++i)
        sum += t[i];
    if (GetBE32(t + 32764) != sum)
        std::abort();
    return 0;
}
