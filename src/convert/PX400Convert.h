// Block conversions from a PX400 model image into a PX600 model image.
// Every function writes only its own target block and reads fixed offsets of
// the source, which is always a full 196608-byte image (or a full block of it).
#pragma once

#include <cstdint>

// One 3056-byte condition block: copies, curve resampling onto the PX600
// grid, flag masks and the model-type dependent tail (heli = 1 for a
// helicopter). Every byte of the target block is written.
void ConvertPX400ConditionBlock(uint8_t* target, const uint8_t* source, int heli);

// One point curve record of points (17 or 11) points, resampled onto the
// fixed grid of the PX600. The two end points are carried over as they are.
void ResampleCurve(uint8_t* target, const uint8_t* source, int points);

// Index of the source point nearest to position x (a tie goes to the lower
// point; beyond the last point, the last point).
int FindNearestPoint(const uint8_t* source, int points, int x);

// One 578-byte curve settings block from a 12222-byte condition control block.
void ConvertPX400CurveSettingsBlock(uint8_t* target, const uint8_t* source, int heli);

// One 12-byte curve setting record from the head of a source curve record;
// the target record holds its template on entry.
void ConvertCurveSettingRecord(uint8_t* target, const uint8_t* source);

// The 2940-byte model-wide block from the whole source image.
void ConvertPX400ModelBlock(uint8_t* target, const uint8_t* sourceImage, int heli);

// Point values of a point curve record (signed 12-bit X and Y).
int CurvePointX(const uint8_t* record, int points, int index);
int CurvePointY(const uint8_t* record, int points, int index);
