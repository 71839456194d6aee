// Random PX400 images of full size, of every model type, convert without a
// crash or a sanitizer report, and every result stays what it was to the byte:
// a digest of all results (and of the delay warnings) is checked, and the
// builds for different systems show with it that they agree.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "Digest.h"

#include "convert/Conversion.h"
#include "convert/PX400Convert.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "platform/SystemTime.h"

namespace {

constexpr int kRounds = 10000;

// splitmix64: fast, fixed-seed bytes for whole images.
struct Random {
    uint64_t state;
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

void FixedClock(SYSTEMTIME* out)
{
    *out = SYSTEMTIME{2026, 12, 2, 8, 3, 4, 5, 0};
}

}  // namespace

TEST(PX400Random, RandomImagesConvert)
{
    SetLocalClockForTesting(FixedClock);
    Digest digest;
    Random rng{20240611};
    auto source = std::make_unique<CModelDataPX400>();
    CConvertHW table;
    auto target = std::make_unique<CModelDataPX600>(&table);
    uint8_t* s = source->GetImage();
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < PX400_IMAGE_SIZE; i += 8) {
            const uint64_t v = rng.Next();
            std::memcpy(s + i, &v, 8);
        }
        // Every model type, the helicopter included, in turn.
        s[96] = round % 4 == 1 ? 1 : uint8_t(round & 0xFE);
        table.m_inUse = round % 7 == 3;
        ASSERT_EQ(ConvertFromPX400(*target, *source), 1);
        digest.Add(target->GetImage(), PX600_IMAGE_SIZE);
        const uint8_t warning = static_cast<uint8_t>(target->GetDelayWarning());
        digest.Add(&warning, 1);
    }
    SetLocalClockForTesting(nullptr);
    CheckDigest("px400-random.digest", digest.value, 0x7a744dfb1f31671cull);
}
