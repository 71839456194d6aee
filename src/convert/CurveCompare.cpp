// The curves of a conversion side by side. A PX400 curve is read from its
// point curve record in the source condition block, which has the PX600's
// layout with free input positions. A PX200 curve is computed from the
// settings a builder reads, exactly (no rounding, no storing limits), at the
// input positions the builder gives its points, so that a difference shows
// only what the PX600 image cannot hold.
#include "convert/CurveCompare.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "convert/PX200ConditionLayout.h"
#include "convert/PX200Convert.h"
#include "convert/PX400Layout.h"
#include "platform/ByteOrder.h"

namespace {

constexpr double kLimit = 1600;

int SignExtend12(int v)
{
    v &= 0xFFF;
    return v >= 0x800 ? v - 0x1000 : v;
}

// The function a point list describes: sorted by x (stable, so points that
// share an x keep their order), the value at x from the left or the right.
double ValueAt(std::span<const CurvePoint> p, double x, bool fromRight)
{
    if (x < p.front().x || (!fromRight && x == p.front().x))
        return p.front().y;
    if (x > p.back().x || (fromRight && x == p.back().x))
        return p.back().y;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const CurvePoint& a = p[i];
        const CurvePoint& b = p[i + 1];
        if (x == a.x && fromRight && a.x != b.x)
            return a.y;
        if (x == b.x && !fromRight)
            return b.y;
        if (x > a.x && x < b.x)
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
    }
    return p.back().y;
}

std::vector<CurvePoint> ByInput(std::span<const CurvePoint> p)
{
    std::vector<CurvePoint> s(p.begin(), p.end());
    std::stable_sort(s.begin(), s.end(), [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; });
    return s;
}

std::u16string ConditionName(const uint8_t* image, int c)
{
    std::u16string name;
    const uint8_t* at = image + px600::kConditionName.offset + px600::kCurveSettings.At(c);
    for (int i = 0; i < 8; ++i) {
        const char16_t u = char16_t(GetBE16(at + 2 * i));
        if (u == 0)
            break;
        name.push_back(u);
    }
    // Names are padded with blanks.
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    return name;
}

// The named record that holds a curve at block offset `at` of condition c.
void Place(CurveComparison& cmp, int c, uint32_t at, px600::Form form)
{
    const px600::Place p = px600::PlaceOf(px600::ImageOffset(c, at), form);
    cmp.condition = c;
    cmp.blockOffset = at;
    cmp.record = p.record;
    cmp.index = p.record == &px600::kTail ? 0 : p.index;  // the tail's are numbered at the end
}

// ---------------------------------------------------------------------------
// PX400: every curve the condition block conversion resamples

template <typename F>
void ForEachResampledCurve(const uint8_t* sourceBlock, std::span<const px400::Row> rows, F&& f)
{
    using px400::Op;
    for (const px400::Row& row : rows)
        for (int k = 0; k < row.count; ++k) {
            const uint32_t at = uint32_t(row.offset) + uint32_t(row.stride) * uint32_t(k);
            if (row.fields.empty()) {
                if (row.op == Op::Curve17 || row.op == Op::Curve11)
                    f(at, row.op == Op::Curve17 ? 17 : 11);
                continue;
            }
            const bool alternative = !row.altFields.empty() && (sourceBlock[at] & row.selectBits) != 0;
            for (const px400::Field& field : alternative ? row.altFields : row.fields)
                if (field.op == Op::Curve17 || field.op == Op::Curve11)
                    f(at + field.offset, field.op == Op::Curve17 ? 17 : 11);
        }
}

// ---------------------------------------------------------------------------
// PX200: the settings of the curves the builders fill

struct ExpColumn {
    double e0, eMinus, ePlus;
};
// Output of the inner points of each side, in percent of the side, for
// exponentials 0, -100 and +100; between them the quadratic through the three.
constexpr ExpColumn kExpLow[7] = {
    {-87.5, -59.5, -99.0}, {-75.0, -35.0, -97.0}, {-62.5, -20.0, -94.0}, {-50.0, -11.5, -88.5},
    {-37.5, -6.0, -80.0},  {-25.0, -3.0, -65.0},  {-12.5, -1.0, -40.5},
};
constexpr ExpColumn kExpHigh[7] = {
    {12.5, 1.0, 40.5}, {25.0, 3.0, 65.0}, {37.5, 6.0, 80.0}, {50.0, 11.5, 88.5},
    {62.5, 20.0, 94.0}, {75.0, 35.0, 97.0}, {87.5, 59.5, 99.0},
};

double Quadratic(const ExpColumn& c, double e)
{
    return c.e0 + e * (c.ePlus - c.eMinus) / 200.0 + e * e * (c.eMinus + c.ePlus - 2.0 * c.e0) / 20000.0;
}

int Signed(uint8_t b) { return int8_t(b); }

// The input positions of a built curve: its record's own (builders write
// outputs only).
std::vector<CurvePoint> Positions(const uint8_t* curve, int points)
{
    return DecodePointCurve(curve, points);
}

// A 7-byte rate entry a (rates a[3], a[4] unsigned, exponentials a[5], a[6])
// and the offset byte b.
std::vector<CurvePoint> ExpSource(const uint8_t* curve, const uint8_t* a, uint8_t b)
{
    std::vector<CurvePoint> p = Positions(curve, 17);
    const double lo = -10.5 * a[3], hi = 10.5 * a[4], mid = 10.5 * Signed(b);
    for (int k = 1; k <= 7; ++k)
        p[size_t(k)].y = -Quadratic(kExpLow[k - 1], Signed(a[5])) * (lo - mid) / 100.0 + mid;
    for (int k = 9; k <= 15; ++k)
        p[size_t(k)].y = (hi - mid) * Quadratic(kExpHigh[k - 9], Signed(a[6])) / 100.0 + mid;
    p[0].y = lo;
    p[8].y = mid;
    p[16].y = hi;
    return p;
}

// Three points of a curve of n points: its first, middle and last.
std::vector<CurvePoint> ThreePoints(const uint8_t* curve, int n, double lo, double mid, double hi)
{
    const std::vector<CurvePoint> p = Positions(curve, n);
    return {{p.front().x, lo}, {p[size_t(n / 2)].x, mid}, {p.back().x, hi}};
}

// Five points: positions x[1..4] in percent of travel (beyond 100 acting as
// 100), values y[0..4] in percent by the factor 10.5; the first value at the
// first point, the last also at the last point.
std::vector<CurvePoint> FivePointSource(const uint8_t* curve, const uint8_t* x, const uint8_t* y)
{
    const std::vector<CurvePoint> grid = Positions(curve, 17);
    std::vector<CurvePoint> p{{grid.front().x, 10.5 * Signed(y[0])}};
    for (int j = 1; j < 5; ++j)
        p.push_back({std::clamp(Signed(x[j]), -100, 100) * kCurveUnitsPerPercent, 10.5 * Signed(y[j])});
    p.push_back({grid.back().x, 10.5 * Signed(y[4])});
    return p;
}

struct Built {
    uint32_t at;  // block offset of the curve
    int points;
    std::vector<CurvePoint> source;
};

// The channel curves and dual rates the PX200 settings fill in condition c,
// as ConvertPX200ConditionBlock fills them (a later fill of the same channel
// replaces an earlier one).
void Px200Curves(const uint8_t* px, const uint8_t* block, int type, int c, std::vector<Built>& out)
{
    using namespace px200;
    using namespace px200::condition;
    const bool fromPX200 = c >= 0 && c < kConditions;
    const bool perCondition = type == kHelicopter || type == kGlider;
    const bool own = perCondition ? fromPX200 : c == 0;

    std::optional<std::vector<CurvePoint>> channel[16];
    auto curveOf = [&](int function) -> int {
        const int ch = Channel(px, function);
        return ch < px600::kChannelCurves.count ? ch : -1;
    };
    auto channelAt = [&](int ch) { return block + px600::kChannelCurves.At(ch); };
    if (own) {
        for (const RateTable& t : kRateTables)
            if (const int ch = curveOf(t.function); ch >= 0) {
                const int i = EntryIndex(px, t.table, c);
                channel[ch] = ExpSource(channelAt(ch), px + t.table + 7 * i, px[t.offsets + i]);
            }
        const bool shared = (px[kSharedCurveFlag] & 0x80) != 0;
        auto pointCurve = [&](int function, uint32_t source) {
            if (const int ch = curveOf(function); ch >= 0)
                channel[ch] = FivePointSource(channelAt(ch), px + source, px + source + 5);
        };
        auto linear = [&](const LinearCurve& l, int cc) {
            if (const int ch = curveOf(l.function); ch >= 0)
                channel[ch] = ThreePoints(channelAt(ch), 17, -10.5 * Signed(px[l.rates + 2 * cc]), 10.5 * Signed(px[l.offset + cc]),
                                          10.5 * Signed(px[l.rates + 2 * cc + 1]));
        };
        if (type == kHelicopter) {
            for (const auto& [source, function] : kHeliPointCurves)
                pointCurve(int(function), source + 10 * uint32_t(c));
        } else if (type == kGlider) {
            for (const LinearCurve& l : kLinearCurves)
                linear(l, c);
            if (shared)
                pointCurve(24, kSharedCurve);
        } else {
            if (shared)
                pointCurve(2, kSharedCurve);
            if (type == kAirplane)
                for (const LinearCurve& l : std::span(kLinearCurves).first(2))
                    linear(l, 0);
        }
    }
    for (int ch = 0; ch < 16; ++ch)
        if (channel[ch])
            out.push_back({px600::kChannelCurves.At(ch), 17, std::move(*channel[ch])});

    if (own)
        for (const RateTable& t : kRateTables) {
            if (perCondition && px[t.table] == kGroupMarker)
                continue;
            for (int j = 0; j < 2; ++j) {
                const int u = 2 - j;
                const uint32_t at = px600::kDualRates.At(t.dualRate + j) + px600::dualrate::kCurve;
                out.push_back({at, 17, ExpSource(block + at, px + t.table + 7 * u, px[t.offsets + u])});
            }
        }

    // Two-rate curves of the tail: straight lines from -16a through 0 to 16b.
    if (!fromPX200)
        return;
    const bool glider = type == kGlider;
    for (const TailRow& r : type == kHelicopter ? std::span<const TailRow>(kHeliTail) : std::span<const TailRow>(kPlaneTail)) {
        if (!Applies(r.only, glider) || (r.fill != Fill::TwoRate && r.fill != Fill::TwoRate11) ||
            (r.when == When::First && c != 0) || (r.when == When::Last && c != kConditions - 1))
            continue;
        for (int k = 0; k < (r.firstOnly ? 1 : r.count); ++k) {
            const size_t kOffset = size_t(r.kStride) * size_t(k);
            const uint8_t* s = px + r.src + size_t(r.cStride) * size_t(c) + kOffset;
            const uint8_t* s2 = px + r.src2 + size_t(r.c2Stride) * size_t(c) + kOffset;
            if (r.unlessFF && s[0] == 0xFF)
                continue;
            const int a = r.negate == Negate::First ? -S8(s) : S8(s);
            const int b = r.negate == Negate::Second ? -S8(s2) : S8(s2);
            const uint32_t at = uint32_t(r.at) + uint32_t(r.step) * uint32_t(k);
            const int n = r.fill == Fill::TwoRate ? 17 : 11;
            out.push_back({at, n, ThreePoints(block + at, n, -16.0 * a, 0.0, 16.0 * b)});
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const Built& x, const Built& y) { return x.at < y.at; });
}

}  // namespace

std::vector<CurvePoint> DecodePointCurve(const uint8_t* record, int points)
{
    std::vector<CurvePoint> p;
    for (int k = 0; k < points; ++k) {
        const uint8_t nibbles = record[2 * points + k];
        p.push_back({double(SignExtend12(record[points + k] | ((nibbles >> 4) << 8))),
                     double(SignExtend12(record[k] | ((nibbles & 0x0F) << 8)))});
    }
    return p;
}

double LargestCurveDifference(std::span<const CurvePoint> a, std::span<const CurvePoint> b, double* at)
{
    double largest = 0, where = -kLimit;
    if (a.empty() || b.empty()) {
        if (at)
            *at = where;
        return 0;
    }
    const std::vector<CurvePoint> sa = ByInput(a), sb = ByInput(b);
    // Both are straight between their points, so the difference is largest
    // at a point of one of them or at an end of the range.
    std::vector<double> xs{-kLimit, kLimit};
    for (const auto* s : {&sa, &sb})
        for (const CurvePoint& p : *s)
            if (p.x > -kLimit && p.x < kLimit)
                xs.push_back(p.x);
    for (double x : xs)
        for (bool fromRight : {false, true}) {
            const double d = std::fabs(ValueAt(sa, x, fromRight) - ValueAt(sb, x, fromRight));
            if (d > largest) {
                largest = d;
                where = x;
            }
        }
    if (at)
        *at = where;
    return largest / kCurveUnitsPerPercent;
}

std::vector<CurveComparison> CompareCurves(CModelDataBase& source, CModelDataPX600& target)
{
    std::vector<CurveComparison> out;
    const uint8_t* t = target.GetImage();
    const uint8_t* s = source.GetImage();
    const int type = target.GetModelType();
    const bool heli = type == MODEL_HELICOPTER;
    const px600::Form form = heli ? px600::Form::Heli : px600::Form::Plane;

    auto add = [&](int c, uint32_t at, int n, std::vector<CurvePoint> sourcePoints) {
        CurveComparison cmp;
        Place(cmp, c, at, form);
        cmp.conditionName = ConditionName(t, c);
        cmp.points = n;
        cmp.source = std::move(sourcePoints);
        cmp.target = DecodePointCurve(t + px600::kConditionBlock.At(c) + at, n);
        cmp.largestDifference = LargestCurveDifference(cmp.source, cmp.target, &cmp.atInput);
        out.push_back(std::move(cmp));
    };

    for (int c = 0; c < px600::kConditions; ++c) {
        if (source.GetTypeCode() == TX_PX400) {
            const uint8_t* block = s + px400::kConditionSource + size_t(px600::kConditionBlock.size) * size_t(c);
            auto visit = [&](uint32_t at, int n) { add(c, at, n, DecodePointCurve(block + at, n)); };
            ForEachResampledCurve(block, px400::kConditionCommon, visit);
            ForEachResampledCurve(block, heli ? std::span<const px400::Row>(px400::kConditionTailHeli)
                                              : std::span<const px400::Row>(px400::kConditionTailPlane),
                                  visit);
        } else if (source.GetTypeCode() == TX_PX200) {
            std::vector<Built> built;
            Px200Curves(s, t + px600::kConditionBlock.At(c), type, c, built);
            for (Built& b : built)
                add(c, b.at, b.points, std::move(b.source));
        }
    }
    // The model type settings hold curves without names of their own: they
    // are numbered in the order they lie in, per condition.
    for (CurveComparison& cmp : out)
        if (cmp.record == &px600::kTail)
            for (const CurveComparison& other : out)
                if (other.record == &px600::kTail && other.condition == cmp.condition &&
                    other.blockOffset < cmp.blockOffset)
                    ++cmp.index;
    return out;
}
