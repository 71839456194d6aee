// Any bytes as a PX400 model file (cut or zero-padded to 196608 bytes),
// converted into a PX600 model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "convert/Conversion.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CModelDataPX400* source = new CModelDataPX400();
    static CConvertHW* table = new CConvertHW();
    static CModelDataPX600* target = new CModelDataPX600(table);

    uint8_t* image = source->GetImage();
    const size_t n = size < PX400_IMAGE_SIZE ? size : PX400_IMAGE_SIZE;
    std::memset(image, 0, PX400_IMAGE_SIZE);
    if (n)
        std::memcpy(image, data, n);
    // The last input byte chooses whether the hardware table is in use.
    table->m_inUse = size > 0 && (data[size - 1] & 1);
    if (ConvertFromPX400(*target, *source) != 1)
        std::abort();
    const uint8_t* t = target->GetImage();
    uint32_t sum = 0;
    for (size_t i = 0; i < 32764; ++i)
        sum += t[i];
    if (GetBE32(t + 32764) != sum)
        std::abort();
    return 0;
}
