// Random PX400 images of full size convert without a crash or a sanitizer
// report, and the result is always a sealed PX600 image. A digest of all
// results lets the builds for different systems show they agree to the byte.
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
        const uint8_t* t = target->GetImage();
        ASSERT_EQ(std::memcmp(t, "PX600   ", 8), 0);
        ASSERT_EQ(GetBE16(t + 8), 680);
        uint32_t sum = 0;
        for (size_t i = 0; i < 32764; ++i)
            sum += t[i];
        ASSERT_EQ(GetBE32(t + 32764), sum) << round;
        ASSERT_TRUE(target->GetDelayWarning() == 0 || target->GetDelayWarning() == 1);
        if (s[96] == 1) {
            ASSERT_EQ(target->GetDelayWarning(), 0);
        }
        digest.Add(t, PX600_IMAGE_SIZE);
        const uint8_t warning = static_cast<uint8_t>(target->GetDelayWarning());
        digest.Add(&warning, 1);
    }
    SetLocalClockForTesting(nullptr);
    WriteDigest("px400-random.digest", digest.value);
}
