// The switch pass over arbitrary image bytes, with the hardware table in any
// state: it must stay inside the image, report exactly the bytes it changed,
// and leave the always-reset records reset.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/ConvertHW.h"
#include "model/ModelData.h"

namespace {

struct Tally {
    const uint8_t* image;
    std::vector<uint8_t>* reported;
};

void Note(const CModelDataPX600::SwitchChange& change, void* context)
{
    auto* tally = static_cast<Tally*>(context);
    if (change.condition < -1 || change.condition > 7 || (change.width != 1 && change.width != 3))
        std::abort();
    const uint32_t base = change.condition < 0 ? 0 : 640 + 3056 * static_cast<uint32_t>(change.condition);
    for (uint32_t i = 0; i < change.width; ++i) {
        const uint32_t at = base + change.offset + i;
        if (at >= PX600_IMAGE_SIZE)
            std::abort();
        (*tally->reported)[at] = 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    // Byte 0: source kind, table in use, pair of types; bytes 1..3 seed the choices.
    const uint8_t control = data[0];
    CConvertHW table;
    table.ResetRows(control % 3, (control / 3) % 3);
    uint8_t choice[HW_ROWS];
    for (int r = 0; r < HW_ROWS; ++r)
        choice[r] = static_cast<uint8_t>((data[1 + r % 3] + r) % HW_OPTIONS);
    if (control & 0x40)
        table.ConfirmChoices(choice);
    table.m_inUse = (control & 0x20) ? 1 : 0;

    CModelDataPX600 model(&table);
    model.SetFromPX200(control & 0x80);
    uint8_t* image = model.GetImage();
    const uint8_t* body = data + 4;
    const size_t bodySize = size - 4;
    for (size_t i = 0; bodySize > 0 && i < PX600_IMAGE_SIZE; ++i)
        image[i] = body[i % bodySize];

    const std::vector<uint8_t> before(image, image + PX600_IMAGE_SIZE);
    std::vector<uint8_t> reported(PX600_IMAGE_SIZE, 0);
    Tally tally{image, &reported};
    model.SetSwitchObserver(&Note, &tally);
    model.ConvertSwitches();

    for (size_t i = 0; i < PX600_IMAGE_SIZE; ++i)
        if (image[i] != before[i] && !reported[i])
            std::abort();
    for (uint32_t c = 0; c < 8; ++c) {
        const uint8_t* rec = image + 640 + 3056 * c + 1878;
        for (int k = 0; k < 16; ++k)
            if (rec[3 * k] != 0xFF || rec[3 * k + 1] != 5 || rec[3 * k + 2] != 0xFB)
                std::abort();
    }
    return 0;
}
