// PX200 curve builders: turn the PX200's curve parameters (rates,
// exponentials, offsets, five points) into PX600 point curves.
//
// A 17-point curve is 51 bytes: y low bytes 0..16, x low bytes 17..33, then
// per point one byte with the x high nibble (upper) and the y high nibble
// (lower). An 11-point curve is 33 bytes laid out the same way. Values are
// 12-bit two's complement in -1600..1600.
//
// Every builder writes y values only (x stays as the curve's default put it),
// computes in single precision step by step in the order written, and stores
// each point by the one storing rule: above 1600 stores 1600, below -1600
// stores -1600, not a number stores 0, everything else is truncated toward
// zero. No builder writes outside its curve, whatever the PX200 bytes hold.
//
// Arguments named as pointers are addresses inside the PX200 image; the
// builders read the bytes they need from there (signed or unsigned as the
// curve requires). Arguments named as ints are values already read (the
// callers negate some of them).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kCurve17Size = 51;
constexpr size_t kCurve11Size = 33;

// The one storing rule as a value: 1600 above 1600, -1600 below -1600, 0 for
// not a number, else p truncated toward zero.
int StoredCurveValue(float p);

// The default curves, as their exact bytes.
extern const uint8_t kCurveD0[kCurve17Size];  // x -1600..1600 step 200, y 0
extern const uint8_t kCurveD1[kCurve17Size];  // x as D0, y -1050..1050
extern const uint8_t kCurveD2[kCurve17Size];  // x closer near the centre, y 0
extern const uint8_t kCurveE0[kCurve11Size];  // x = y = -1600..1600 step 320
extern const uint8_t kCurveE1[kCurve11Size];  // x = y on a centre-weighted grid

// Exponential curve from a 7-byte rate entry a (a[3], a[4] rates, a[5], a[6]
// exponentials) and the offset byte at b.
void BuildExpCurve(uint8_t* curve, const uint8_t* a, const uint8_t* b);

// Straight lines from the two rate bytes a[0], a[1] through the offset at b.
void BuildLinearCurve(uint8_t* curve, const uint8_t* a, const uint8_t* b);

// Two straight lines through 0: point 0 = -16a, point 16 = 16b. a and b are
// any ints (callers pass negated bytes, 128 included).
void BuildTwoRateCurve(uint8_t* curve, int a, int b);

// Five points (positions x[0..4], values y[0..4]) on the 17-point grid.
// Positions beyond -100..100 act like the nearer end. Points that no segment
// reaches (positions out of order or repeated) are put on the line between
// the nearest assigned points once all segments are drawn.
void BuildPointCurve17(uint8_t* curve, const uint8_t* x, const uint8_t* y);

// Five points on points 2..14, the ends extended; positions and unreached
// points as for BuildPointCurve17 (the fill comes before the extension).
void BuildPointCurve13(uint8_t* curve, const uint8_t* x, const uint8_t* y);

// Five values v[0..4] at points 2, 5, 8, 11, 14, filled in thirds.
void BuildThirdsCurve(uint8_t* curve, const uint8_t* v);

// From a 12-byte PX200 curve record r; the curve is first reset to D0 (x
// included). A centre position beyond -100..100 acts like the nearer end.
void BuildRecordCurve(uint8_t* curve, const uint8_t* r);

// 11-point curves.
void BuildModeCurve11(uint8_t* curve, const uint8_t* m);
void BuildTwoRateCurve11(uint8_t* curve, int a, int b);
// From the 3-byte entry p and the big-endian signed 16-bit value at q; a value
// beyond -8000..8000 puts the zero index at the nearer end.
void BuildBreakCurve11(uint8_t* curve, const uint8_t* p, const uint8_t* q);
