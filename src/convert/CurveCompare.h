// The curves of a conversion side by side: every point curve of the PX600
// image that the conversion resampled (from a PX400) or built from rates,
// exponentials, offsets or points (from a PX200), with the curve the source
// model describes, as points, and how far the two lie apart. Data only; the
// report and the front ends draw and word it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/ModelData.h"
#include "model/PX600Layout.h"

// One point of a curve: input and output in curve units (1600 = 100 % of
// travel). Source points of a PX200 curve keep the exact value its settings
// give (rates beyond 100 % give values past 1600).
struct CurvePoint {
    double x = 0;
    double y = 0;
    bool operator==(const CurvePoint&) const = default;
};

// Units per percent of travel.
constexpr double kCurveUnitsPerPercent = 16.0;
// A curve whose largest difference exceeds this many percent changed shape.
constexpr double kCurveChangeLimit = 2.0;

// Where a curve lies and what became of it.
struct CurveComparison {
    int condition = 0;               // 0..7
    std::u16string conditionName;    // as the PX600 image holds it, without trailing blanks
    const px600::Record* record = nullptr;  // channel curve, dual rate, curve record or tail
    int index = 0;                   // which of the records (of the tail's curves, in order)
    uint32_t blockOffset = 0;        // the curve's first byte in its condition block
    int points = 17;                 // 17 or 11
    std::vector<CurvePoint> source;  // as the source model describes the curve
    std::vector<CurvePoint> target;  // as the PX600 image holds it
    double largestDifference = 0;    // percent of travel, over the input range
    double atInput = 0;              // where it is largest (curve units)

    bool Changed() const { return largestDifference > kCurveChangeLimit; }
};

// The points of a point curve record of n points (17 or 11), X and Y read as
// signed 12-bit values.
std::vector<CurvePoint> DecodePointCurve(const uint8_t* record, int points);

// The largest |a(x) - b(x)| in percent of travel over -1600..1600, a and b
// read as piecewise-linear functions of x (points in order of x, the end
// values held beyond the ends; where two points share an x, the function
// jumps there and both sides count). at, when given, gets the x.
double LargestCurveDifference(std::span<const CurvePoint> a, std::span<const CurvePoint> b, double* at = nullptr);

// Every curve of the conversion of source into target (a PX400 or PX200 model
// and the PX600 image converted from it), in condition order and then in
// block order. A PX200 curve that a builder left at its default, or that is
// built from settings read here as no plain curve (record curves, thirds,
// 13-point, mode and break curves), is not listed.
std::vector<CurveComparison> CompareCurves(CModelDataBase& source, CModelDataPX600& target);
