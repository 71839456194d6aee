// PX200 curve builders. Each builder keeps its points as single-precision
// floats while it runs, computing one rounded operation per statement in the
// order the formula is written (the core is built without floating-point
// contraction, so no fused multiply-add merges two of them), and stores them
// at its end.
#include "convert/PX200Curves.h"

#include <cfloat>
#include <cstring>

#if defined(__FAST_MATH__)
#error "The curve builders need IEEE single-precision arithmetic; build without -ffast-math"
#endif
static_assert(FLT_EVAL_METHOD == 0, "float operations must round to single precision at every step");

// Default curves: y low bytes, x low bytes, then per point x high nibble and
// y high nibble.
const uint8_t kCurveD0[kCurve17Size] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0xC0, 0x88, 0x50, 0x18, 0xE0, 0xA8, 0x70, 0x38, 0x00, 0xC8, 0x90, 0x58, 0x20, 0xE8, 0xB0, 0x78, 0x40,
    0x90, 0xA0, 0xB0, 0xC0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x00, 0x10, 0x20, 0x30, 0x30, 0x40, 0x50, 0x60,
};
const uint8_t kCurveD1[kCurve17Size] = {
    0xE6, 0x69, 0xEC, 0x6F, 0xF3, 0x76, 0xF9, 0x7C, 0x00, 0x83, 0x06, 0x89, 0x0C, 0x90, 0x13, 0x96, 0x1A,
    0xC0, 0x88, 0x50, 0x18, 0xE0, 0xA8, 0x70, 0x38, 0x00, 0xC8, 0x90, 0x58, 0x20, 0xE8, 0xB0, 0x78, 0x40,
    0x9B, 0xAC, 0xBC, 0xCD, 0xCD, 0xDE, 0xEE, 0xFF, 0x00, 0x00, 0x11, 0x21, 0x32, 0x32, 0x43, 0x53, 0x64,
};
const uint8_t kCurveD2[kCurve17Size] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0xC0, 0xD3, 0xE6, 0x95, 0x44, 0xF3, 0xA2, 0x51, 0x00, 0xAF, 0x5E, 0x0D, 0xBC, 0x6B, 0x1A, 0x2D, 0x40,
    0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xD0, 0xE0, 0xF0, 0x00, 0x00, 0x10, 0x20, 0x20, 0x30, 0x40, 0x50, 0x60,
};
const uint8_t kCurveE0[kCurve11Size] = {
    0xC0, 0x00, 0x40, 0x80, 0xC0, 0x00, 0x40, 0x80, 0xC0, 0x00, 0x40,
    0xC0, 0x00, 0x40, 0x80, 0xC0, 0x00, 0x40, 0x80, 0xC0, 0x00, 0x40,
    0x99, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x11, 0x22, 0x33, 0x55, 0x66,
};
const uint8_t kCurveE1[kCurve11Size] = {
    0xC0, 0xE6, 0xEC, 0xF3, 0xF9, 0x00, 0x07, 0x0D, 0x14, 0x1A, 0x40,
    0xC0, 0xE6, 0xEC, 0xF3, 0xF9, 0x00, 0x07, 0x0D, 0x14, 0x1A, 0x40,
    0x99, 0xBB, 0xCC, 0xDD, 0xEE, 0x00, 0x11, 0x22, 0x33, 0x44, 0x66,
};

int StoredCurveValue(float p)
{
    // Comparisons first: they settle infinities and every value outside the
    // range, so the conversion below only ever sees -1600..1600.
    if (p != p)
        return 0;
    if (p > 1600.0f)
        return 1600;
    if (p < -1600.0f)
        return -1600;
    return static_cast<int>(p);
}

namespace {

constexpr int kMaxPoints = 17;

// Extends the end steps of a 13-point curve (points 2..14) to points 0, 1 and
// 15, 16.
constexpr float kEndStretch13 = 1.5714285f;
// Extends the last step of an 11-point break curve to its outer point.
constexpr float kEndStretch11 = 2.0952382f;

int Signed(uint8_t b) { return static_cast<int8_t>(b); }

// Truncates an index computed in floating point and limits it to
// first..last. The limits are applied to the float, so the conversion never
// sees a value it cannot represent; with integer limits of 0 or more this
// equals truncating first and clamping after.
int CurveIndex(float t, int first, int last)
{
    if (!(t > static_cast<float>(first)))
        return first;
    if (t >= static_cast<float>(last))
        return last;
    return static_cast<int>(t);
}

// The points of one curve while a builder runs, with a note of which points
// have been given a value.
class Points {
public:
    explicit Points(int count) : m_count(count) {}

    int Count() const { return m_count; }

    // An index outside the curve is ignored; the builders limit their indices
    // before they get here, so this is the last guard only.
    void Set(int k, float value)
    {
        if (k < 0 || k >= m_count)
            return;
        m_y[k] = value;
        m_assigned[k] = true;
    }

    float operator[](int k) const { return k >= 0 && k < m_count ? m_y[k] : 0.0f; }

    // Points a + 1 .. b - 1 on the line from point a to point b; both end
    // points keep their values. Nothing happens unless a < b.
    void Line(int a, int b)
    {
        if (a >= b)
            return;
        const float rise = m_y[b] - m_y[a];
        const float step = rise / static_cast<float>(b - a);
        for (int m = 1; m < b - a; ++m) {
            const float t = static_cast<float>(m) * step;
            Set(a + m, t + m_y[a]);
        }
    }

    // Points in first..last that nothing has reached get the line between
    // the nearest assigned points on either side, as those stand now. Both
    // ends must be assigned.
    void FillUnreached(int first, int last)
    {
        int a = first;
        for (int k = first + 1; k <= last; ++k) {
            if (!m_assigned[k])
                continue;
            if (k - a > 1)
                Line(a, k);
            a = k;
        }
    }

    // Writes the y value of every assigned point; x bytes and x nibbles keep
    // what the curve held.
    void Store(uint8_t* curve) const
    {
        for (int k = 0; k < m_count; ++k) {
            if (!m_assigned[k])
                continue;
            const int y = StoredCurveValue(m_y[k]);
            curve[k] = static_cast<uint8_t>(y & 0xFF);
            uint8_t& nibbles = curve[2 * m_count + k];
            nibbles = static_cast<uint8_t>((nibbles & 0xF0) | ((y >> 8) & 0x0F));
        }
    }

private:
    int m_count;
    float m_y[kMaxPoints] = {};
    bool m_assigned[kMaxPoints] = {};
};

// ---------------------------------------------------------------------------
// Exponential curve

// Positions of the inner points of the low side (points 1..7) and the high
// side (points 9..15), in percent of the side's travel, for exponentials 0,
// -100 and +100. Between these the position follows the quadratic in the
// exponential through the three.
struct ExpColumn {
    float e0, eMinus, ePlus;
};
constexpr ExpColumn kExpLow[7] = {
    {-87.5f, -59.5f, -99.0f}, {-75.0f, -35.0f, -97.0f}, {-62.5f, -20.0f, -94.0f},
    {-50.0f, -11.5f, -88.5f}, {-37.5f, -6.0f, -80.0f},  {-25.0f, -3.0f, -65.0f},
    {-12.5f, -1.0f, -40.5f},
};
constexpr ExpColumn kExpHigh[7] = {
    {12.5f, 1.0f, 40.5f}, {25.0f, 3.0f, 65.0f}, {37.5f, 6.0f, 80.0f}, {50.0f, 11.5f, 88.5f},
    {62.5f, 20.0f, 94.0f}, {75.0f, 35.0f, 97.0f}, {87.5f, 59.5f, 99.0f},
};

// The quadratic through (-100, col.eMinus), (0, col.e0), (100, col.ePlus) at
// e; the coefficients are computed the long way, as the transmitter does.
float ExpPosition(const ExpColumn& col, float e)
{
    const float d10 = col.eMinus - col.e0;
    const float d12 = col.eMinus - col.ePlus;
    const float a1 = d10 * -200.0f;
    const float a2 = d12 * -100.0f;
    const float a3 = a1 - a2;
    const float A = a3 / -2000000.0f;
    const float b1 = d10 / -100.0f;
    const float b2 = A * -100.0f;
    const float B = b1 - b2;
    const float c1 = A * -100.0f;
    const float c2 = c1 * -100.0f;
    const float c3 = col.eMinus - c2;
    const float c4 = B * -100.0f;
    const float C = c3 - c4;
    const float ee = e * e;
    const float g1 = A * ee;
    const float g2 = B * e;
    const float g3 = g1 + g2;
    return g3 + C;
}

// The two ends of a 13-point curve (points 2..14) extended by a stretched
// copy of the end steps to points 0, 1 and 15, 16.
void ExtendEnds13(Points& p)
{
    for (int m = 1; m <= 2; ++m) {
        const float d = p[3] - p[2];
        const float t1 = static_cast<float>(m) * d;
        const float t2 = t1 * kEndStretch13;
        p.Set(2 - m, p[2] - t2);
    }
    for (int m = 1; m <= 2; ++m) {
        const float d = p[14] - p[13];
        const float t1 = static_cast<float>(m) * d;
        const float t2 = t1 * kEndStretch13;
        p.Set(14 + m, t2 + p[14]);
    }
}

// Five values on the grid of a 17-point (first 0, last 16, scale 16) or
// 13-point (first 2, last 14, scale 12) curve.
void PlacePoints(Points& p, const uint8_t* x, const uint8_t* y, int first, int last, float scale)
{
    float v[5];
    for (int j = 0; j < 5; ++j)
        v[j] = 10.5f * static_cast<float>(Signed(y[j]));
    p.Set(first, v[0]);
    p.Set(last, v[4]);
    int prev = first;
    for (int j = 1; j < 5; ++j) {
        const float i1 = static_cast<float>(Signed(x[j])) * scale;
        const float i2 = i1 / 200.0f;
        const float i3 = i2 + 8.0f;
        const float i4 = i3 + 0.5f;
        const int i = CurveIndex(i4, first, last);
        p.Set(i, v[j]);
        p.Line(prev, i);
        prev = i;
    }
    p.FillUnreached(first, last);
}

} // namespace

void BuildExpCurve(uint8_t* curve, const uint8_t* a, const uint8_t* b)
{
    Points p(17);
    const float loRate = 10.5f * static_cast<float>(a[3]);
    const float lo = -loRate;
    const float hi = 10.5f * static_cast<float>(a[4]);
    const float mid = 10.5f * static_cast<float>(Signed(*b));
    const float eLow = static_cast<float>(Signed(a[5]));
    const float eHigh = static_cast<float>(Signed(a[6]));

    const float lowSpan = lo - mid;
    for (int k = 1; k <= 7; ++k) {
        const float g = ExpPosition(kExpLow[k - 1], eLow);
        const float t1 = -g;
        const float t2 = t1 * lowSpan;
        const float t3 = t2 / 100.0f;
        p.Set(k, t3 + mid);
    }
    const float highSpan = hi - mid;
    for (int k = 9; k <= 15; ++k) {
        const float g = ExpPosition(kExpHigh[k - 9], eHigh);
        const float t1 = highSpan * g;
        const float t2 = t1 / 100.0f;
        p.Set(k, t2 + mid);
    }
    p.Set(0, lo);
    p.Set(8, mid);
    p.Set(16, hi);
    p.Store(curve);
}

void BuildLinearCurve(uint8_t* curve, const uint8_t* a, const uint8_t* b)
{
    Points p(17);
    const float loRate = 10.5f * static_cast<float>(Signed(a[0]));
    const float lo = -loRate;
    const float hi = 10.5f * static_cast<float>(Signed(a[1]));
    const float mid = 10.5f * static_cast<float>(Signed(*b));

    const float lowRise = mid - lo;
    const float lowStep = lowRise * 0.125f;
    for (int k = 1; k <= 7; ++k) {
        const float t = static_cast<float>(k) * lowStep;
        p.Set(k, t + lo);
    }
    const float highRise = hi - mid;
    const float highStep = highRise * 0.125f;
    for (int k = 9; k <= 15; ++k) {
        const float t = static_cast<float>(k - 8) * highStep;
        p.Set(k, t + mid);
    }
    p.Set(0, lo);
    p.Set(8, mid);
    p.Set(16, hi);
    p.Store(curve);
}

void BuildTwoRateCurve(uint8_t* curve, int a, int b)
{
    Points p(17);
    p.Set(8, 0.0f);
    const float a1 = 10.0f * static_cast<float>(a);
    const float a2 = -a1;
    const float a3 = 0.0f - a2;
    const float a4 = a3 / 5.0f;
    const float lowStep = -a4;
    const float b1 = 10.0f * static_cast<float>(b);
    const float b2 = 0.0f - b1;
    const float highStep = b2 / -5.0f;
    for (int m = 1; m <= 8; ++m) {
        p.Set(8 - m, static_cast<float>(m) * lowStep);
        p.Set(8 + m, static_cast<float>(m) * highStep);
    }
    p.Store(curve);
}

void BuildPointCurve17(uint8_t* curve, const uint8_t* x, const uint8_t* y)
{
    Points p(17);
    PlacePoints(p, x, y, 0, 16, 16.0f);
    p.Store(curve);
}

void BuildPointCurve13(uint8_t* curve, const uint8_t* x, const uint8_t* y)
{
    Points p(17);
    PlacePoints(p, x, y, 2, 14, 12.0f);
    ExtendEnds13(p);
    p.Store(curve);
}

void BuildThirdsCurve(uint8_t* curve, const uint8_t* v)
{
    Points p(17);
    for (int j = 0; j < 5; ++j)
        p.Set(2 + 3 * j, 10.5f * static_cast<float>(Signed(v[j])));
    for (int a = 2; a < 14; a += 3) {
        const float rise = p[a + 3] - p[a];
        const float step = rise / 3.0f;
        for (int m = 1; m <= 2; ++m) {
            const float t = static_cast<float>(m) * step;
            p.Set(a + m, p[a] + t);
        }
    }
    const float firstRise = p[5] - p[2];
    const float firstStep = firstRise / 3.0f;
    const float firstEnd = firstStep * kEndStretch13;
    const float lastRise = p[14] - p[11];
    const float lastStep = lastRise / 3.0f;
    const float lastEnd = lastStep * kEndStretch13;
    for (int m = 1; m <= 2; ++m) {
        const float down = static_cast<float>(m) * firstEnd;
        p.Set(2 - m, p[2] - down);
        const float up = static_cast<float>(m) * lastEnd;
        p.Set(14 + m, p[14] + up);
    }
    p.Store(curve);
}

void BuildRecordCurve(uint8_t* curve, const uint8_t* r)
{
    std::memcpy(curve, kCurveD0, kCurve17Size);
    if (r[0] & 0x10) {
        BuildThirdsCurve(curve, r + 6);
        return;
    }
    Points p(17);
    const float c = 10.5f * static_cast<float>(Signed(r[11]));
    const float loRate = 10.5f * static_cast<float>(Signed(r[6]));
    const float lo = c - loRate;
    const float hiRate = 10.5f * static_cast<float>(Signed(r[7]));
    const float hi = c + hiRate;
    const float e1 = static_cast<float>(Signed(r[10])) * 12.0f;
    const float e2 = e1 / 200.0f;
    const float e3 = e2 + 8.0f;
    const float e4 = e3 + 0.5f;
    const int e = CurveIndex(e4, 2, 14);
    p.Set(e, c);
    p.Set(2, lo);
    p.Set(14, hi);
    if (e == 2 || e == 14) {
        // The centre at an end: one line from lo to hi, which takes that end.
        p.Line(2, 14);
    } else {
        p.Line(2, e);
        p.Line(e, 14);
    }
    ExtendEnds13(p);
    p.Store(curve);
}

void BuildModeCurve11(uint8_t* curve, const uint8_t* m)
{
    Points p(11);
    const int mode = m[0] >> 6;
    const float v = 16.0f * static_cast<float>(Signed(m[1]));
    const float minusV = -v;
    switch (mode) {
    case 0:
        p.Set(0, minusV);
        p.Set(5, 0.0f);
        p.Set(10, v);
        break;
    case 3:
        p.Set(0, minusV);
        p.Set(5, 0.0f);
        p.Set(10, minusV);
        break;
    case 1:
        p.Set(0, 0.0f);
        p.Set(10, minusV);
        break;
    default:
        p.Set(0, minusV);
        p.Set(10, 0.0f);
        break;
    }
    if (mode == 1 || mode == 2) {
        p.Line(0, 10);
    } else {
        p.Line(0, 5);
        p.Line(5, 10);
    }
    p.Store(curve);
}

void BuildTwoRateCurve11(uint8_t* curve, int a, int b)
{
    Points p(11);
    const float a1 = 16.0f * static_cast<float>(a);
    p.Set(0, -a1);
    p.Set(5, 0.0f);
    p.Set(10, 16.0f * static_cast<float>(b));
    p.Line(0, 5);
    p.Line(5, 10);
    p.Store(curve);
}

void BuildBreakCurve11(uint8_t* curve, const uint8_t* p, const uint8_t* q)
{
    Points pt(11);
    int v = (q[0] << 8) | q[1];
    if (v >= 0x8000)
        v -= 0x10000;
    const float n1 = static_cast<float>(v) / 1600.0f;
    const float n2 = n1 + 5.0f;
    const float n3 = n2 + 0.5f;
    const int n = CurveIndex(n3, 0, 10);
    const float loRate = 10.5f * static_cast<float>(Signed(p[0]));
    const float lo = -loRate;

    const int position = Signed(p[2]);
    const bool useBreak = position >= -100 && position <= 100;
    int b = 0;
    float breakValue = 0.0f;
    if (useBreak) {
        const float b1 = static_cast<float>(position) * 3.0f;
        const float b2 = b1 / 100.0f;
        const float b3 = b2 + 5.0f;
        const float b4 = b3 + 0.5f;
        // Positions -100..100 give points 2..8.
        b = CurveIndex(b4, 0, 10);
        const float rate = 10.5f * static_cast<float>(Signed(p[1]));
        breakValue = -rate;
    }

    // No step divides by zero: v <= 0 gives n <= 5 and v > 0 gives n >= 5,
    // and the break lies on points 2..8, so 9 - from and to - 1 are at
    // least 1. (A zero divisor would give a value that is not finite, which
    // the storing rule settles.)
    if (v <= 0) {
        for (int k = 0; k <= n; ++k)
            pt.Set(k, 0.0f);
        pt.Set(9, lo);
        int from = n;  // the point the last run starts from
        if (useBreak) {
            pt.Set(b, breakValue);
            pt.Line(n, b);
            from = b;
        }
        const float rise = pt[9] - pt[from];
        const float g = rise / static_cast<float>(9 - from);
        for (int h = 1; from + h <= 8; ++h) {
            const float t = g * static_cast<float>(h);
            pt.Set(from + h, pt[from] + t);
        }
        const float beyond = g * kEndStretch11;
        pt.Set(10, pt[9] + beyond);
    } else {
        for (int k = n; k <= 10; ++k)
            pt.Set(k, 0.0f);
        pt.Set(1, lo);
        const int to = useBreak ? b : n;  // the point the first run ends at
        if (useBreak)
            pt.Set(b, breakValue);
        const float rise = pt[to] - pt[1];
        const float g = rise / static_cast<float>(to - 1);
        for (int k = 2; k <= to - 1; ++k) {
            const float t = g * static_cast<float>(k - 1);
            pt.Set(k, pt[1] + t);
        }
        const float beyond = g * kEndStretch11;
        pt.Set(0, pt[1] - beyond);
        if (useBreak)
            pt.Line(b, n);
    }
    pt.Store(curve);
}
