// Curves before and after the conversion: known shapes through the real
// conversions, and the piecewise-linear difference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "convert/Conversion.h"
#include "convert/CurveCompare.h"
#include "convert/PX200Curves.h"
#include "model/ConvertHW.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Builder.h"

namespace {

std::vector<CurvePoint> Grid(int n, double (*f)(double))
{
    std::vector<CurvePoint> p;
    for (int k = 0; k < n; ++k) {
        const double x = -1600 + 3200.0 * k / (n - 1);
        p.push_back({x, f(x)});
    }
    return p;
}

const CurveComparison* Find(const std::vector<CurveComparison>& all, int c, uint32_t at)
{
    for (const CurveComparison& cmp : all)
        if (cmp.condition == c && cmp.blockOffset == at)
            return &cmp;
    return nullptr;
}

}  // namespace

TEST(CurveCompare, PiecewiseLinearDifference)
{
    const auto line = Grid(17, [](double x) { return x * 0.625; });
    const auto same = Grid(17, [](double x) { return x * 0.625; });
    // Two points apart by 160 at one grid point only: 10 % there.
    auto bumped = same;
    bumped[8].y += 160;
    // Points between the grid points of a line are on it: no difference.
    const std::vector<CurvePoint> sparse{{-1600, -1000}, {-100, -62.5}, {1600, 1000}};
    // A jump: two points at x = 0; the side after it counts too.
    const std::vector<CurvePoint> step{{-1600, 0}, {0, 0}, {0, 320}, {1600, 0}};
    const std::vector<CurvePoint> flat{{-1600, 0}, {1600, 0}};
    // Shorter curves hold their end values beyond the ends.
    const std::vector<CurvePoint> shortLine{{-800, -500}, {800, 500}};
    const std::vector<CurvePoint> held{{-1600, -500}, {-800, -500}, {800, 500}, {1600, 500}};
    struct Case {
        std::span<const CurvePoint> a, b;
        double percent, at;
    } cases[] = {
        {line, same, 0, -1600}, {line, bumped, 10, 0}, {line, sparse, 0, -1600},
        {step, flat, 20, 0},    {shortLine, held, 0, -1600},
    };
    for (const Case& c : cases) {
        double at = 0;
        EXPECT_DOUBLE_EQ(LargestCurveDifference(c.a, c.b, &at), c.percent);
        EXPECT_DOUBLE_EQ(LargestCurveDifference(c.b, c.a), c.percent);
        EXPECT_EQ(at, c.at);
    }
}

TEST(CurveCompare, PX400CurvesOnAndOffTheGrid)
{
    samples::PX400Builder b;
    // Condition 0: a straight line on the grid; condition 1: a bent curve on
    // the grid; condition 2: zero on the grid except one point moved from 0
    // to 100 and raised to 800; condition 3: a line with its points anywhere on it.
    std::vector<samples::CurvePoint> line, bent, moved;
    for (int k = 0; k < 17; ++k) {
        const int x = -1600 + 200 * k;
        line.push_back({x, x * 5 / 8});
        bent.push_back({x, x * x / 2000 - 600});
        moved.push_back({k == 8 ? 100 : x, k == 8 ? 800 : 0});
    }
    b.SetCurve(0, 48, 17, line);
    b.SetCurve(1, 48, 17, bent);
    b.SetCurve(2, 48, 17, moved);
    b.SetLineCurve(3, 48, 17, {-1600, -1550, -1234, -999, -777, -500, -333, -1, 7, 99, 250, 480, 777, 901, 1222, 1555, 1600},
                   -1600, -1000, 1600, 1000);
    CModelDataPX400 source;
    std::memcpy(source.GetImage(), b.Image().data(), PX400_IMAGE_SIZE);
    CConvertHW table;
    CModelDataPX600 target(&table);
    ASSERT_EQ(ConvertFromPX400(target, source), 1);
    const auto all = CompareCurves(source, target);
    // 16 + 6 + 10 curves and 13 in the plane tail, in each condition.
    EXPECT_EQ(all.size(), 8u * 45u);

    for (int c : {0, 1}) {
        const CurveComparison* cmp = Find(all, c, 48);
        ASSERT_NE(cmp, nullptr);
        EXPECT_EQ(cmp->record, &px600::kChannelCurves);
        EXPECT_EQ(cmp->source, cmp->target);
        EXPECT_EQ(cmp->largestDifference, 0);
    }
    // The grid point at 0 takes the slope from (-200, 0) to (100, 800):
    // 0 + 200 * 800 / 300 = 533 (truncated). At x = 100 the source holds 800,
    // the PX600 curve halfway from (0, 533) to (200, 0).
    const CurveComparison* cmp = Find(all, 2, 48);
    ASSERT_NE(cmp, nullptr);
    EXPECT_EQ(cmp->target[8], (CurvePoint{0, 533}));
    const double byHand = (800 - (533 + (0 - 533) * 100.0 / 200)) / 16;  // 33.34375 %
    EXPECT_DOUBLE_EQ(cmp->largestDifference, byHand);
    EXPECT_EQ(cmp->atInput, 100);
    EXPECT_TRUE(cmp->Changed());
    // The line resampled: off by the truncations, which add up from point
    // to point, but far below the limit.
    cmp = Find(all, 3, 48);
    ASSERT_NE(cmp, nullptr);
    EXPECT_GT(cmp->largestDifference, 0);
    EXPECT_LT(cmp->largestDifference, 0.5);
    EXPECT_FALSE(cmp->Changed());
    // Nothing else moved.
    int changed = 0;
    for (const CurveComparison& each : all)
        changed += each.Changed();
    EXPECT_EQ(changed, 1);
}

TEST(CurveCompare, PX200ExponentialAgainstTheBuilder)
{
    struct Case {
        uint8_t rate, expo;
        bool changed;
    } cases[] = {{100, 100, false}, {100, 0, false}, {100, 0x9C /* -100 */, false}, {160, 40, true}};
    for (const Case& c : cases) {
        std::vector<uint8_t> px = MakePX200Model(PX200Samples()[4]);  // an AIRPLANE
        std::memset(px.data() + 190, 0xFF, 32);
        px[190] = 0;  // function 0 on channel 0
        px[527] = 0;  // no group marker: entry 0 for every condition
        const uint8_t entry[7] = {0, 0, 0, c.rate, c.rate, c.expo, c.expo};
        std::memcpy(px.data() + 527, entry, 7);
        px[682] = 0;
        CModelDataPX200 source;
        std::memcpy(source.GetImage(), px.data(), px.size());
        CConvertHW table;
        CModelDataPX600 target(&table);
        ASSERT_EQ(ConvertFromPX200(target, source), 1);
        const auto all = CompareCurves(source, target);
        const CurveComparison* cmp = Find(all, 0, 48);
        ASSERT_NE(cmp, nullptr);

        // The builder's own arithmetic on the default curve.
        uint8_t built[kCurve17Size];
        std::memcpy(built, kCurveD1, sizeof built);
        const uint8_t offset = 0;
        BuildExpCurve(built, entry, &offset);
        EXPECT_EQ(cmp->target, DecodePointCurve(built, 17));
        for (size_t k = 0; k < 17; ++k) {
            // The exact value stored: truncated, held to the range.
            const double exact = cmp->source[k].y;
            EXPECT_EQ(cmp->target[k].y, std::trunc(std::clamp(exact, -1600.0, 1600.0))) << k;
            EXPECT_EQ(cmp->source[k].x, cmp->target[k].x);
        }
        EXPECT_EQ(cmp->Changed(), c.changed);
        if (c.changed) {  // 160 % is 1680, held at 1600: 5 %
            EXPECT_DOUBLE_EQ(cmp->largestDifference, 5.0);
        }
    }
}
