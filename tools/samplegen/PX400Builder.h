// Composes PX400 model images (196608 bytes, little-endian) field by field,
// for the bundled sample models and for test fixtures.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/SystemTime.h"

namespace samples {

struct CurvePoint {
    int x;
    int y;
};

// Writes a point curve record of points (17 or 11) points: low bytes of Y,
// low bytes of X, then one nibble byte per point (X high, Y high). Values are
// stored as 12-bit two's complement.
void WriteCurveRecord(uint8_t* record, int points, std::initializer_list<CurvePoint> curve);
void WriteCurveRecord(uint8_t* record, int points, const std::vector<CurvePoint>& curve);
// Reads one point back (signed 12-bit).
CurvePoint ReadCurvePoint(const uint8_t* record, int points, int index);

// The head of a source curve record of a condition control block.
struct CurveSetting {
    uint8_t type = 1;
    uint16_t p1 = 0, p2 = 0;  // record offsets 20, 22
    uint16_t q1 = 0, q2 = 0;  // 6, 8
    uint16_t r1 = 0, r2 = 0;  // 10, 24
    uint8_t flag = 0;         // byte 32
};

// One delay record of a condition block (43 bytes at 2797 or 2840).
struct DelayRecord {
    uint8_t select2 = 0;       // byte 0
    uint8_t select1 = 0;       // byte 4
    uint8_t rates[10] = {};    // R1..R10 at 5..14
    uint8_t pairs[8] = {};     // four (current, alternative) pairs at 28..35
};

struct Timer {
    int32_t milliseconds = 0;
    uint8_t enabled = 0;       // the zero/non-zero byte
    uint8_t mode = 0;          // bits 0..1
    uint8_t flagA = 0;         // 7645 / 7647 bit 0
    uint8_t flagB = 0;         // 7644 / 7646 bit 0
    uint8_t settings[12] = {};
};

class PX400Builder {
public:
    static constexpr size_t kImageSize = 196608;
    static constexpr uint32_t kConditionBlock = 106508;  // + 3056 * n
    static constexpr uint32_t kControlBlock = 8732;      // + 12222 * n
    static constexpr uint32_t kSettingsBlock = 8188;     // 543 bytes, PX600 64..606

    // A cleared image with the transmitter name "PX400   ".
    PX400Builder();

    std::vector<uint8_t>& Image() { return m_image; }
    const std::vector<uint8_t>& Image() const { return m_image; }
    uint8_t* Data() { return m_image.data(); }

    void SetModelName(std::u16string_view name);
    // Model type code 0..3 (AIRPLANE, HELICOPTER, GLIDER, MOTOR GLIDER).
    void SetModelType(uint16_t modelType);
    void SetDate(const SYSTEMTIME& date);
    void SetVersion(uint32_t first, uint32_t second, uint8_t third, uint8_t fourth);

    uint8_t* ConditionBlock(int condition);
    uint8_t* ControlBlock(int condition);

    void SetConditionName(int condition, std::u16string_view name);
    void SetDualRateName(int condition, int rate, std::u16string_view name);

    // A point curve at a condition block offset.
    void SetCurve(int condition, int blockOffset, int points, std::initializer_list<CurvePoint> curve);
    void SetCurve(int condition, int blockOffset, int points, const std::vector<CurvePoint>& curve);
    // A curve whose points sit at the given X positions on the straight line
    // through (x0, y0) and (x1, y1) (Y truncated toward zero).
    void SetLineCurve(int condition, int blockOffset, int points, const std::vector<int>& xs,
                      double x0, double y0, double x1, double y1);

    // The head of a curve record at a control block offset.
    void SetCurveSetting(int condition, int controlOffset, const CurveSetting& setting);

    // A one-byte switch field and a switch range record in a condition block.
    void SetSwitch(int condition, int blockOffset, uint8_t code);
    void SetSwitchRange(int condition, int blockOffset, uint8_t control, int8_t first, int8_t second);
    // A byte of the model settings block, addressed by its PX600 offset
    // (64..606), where the model-wide switch fields lie.
    void SetSettingsByte(int px600Offset, uint8_t value);
    void SetSettingsRange(int px600Offset, uint8_t control, int8_t first, int8_t second);

    // record 0 at block offset 2797, record 1 at 2840.
    void SetDelayRecord(int condition, int record, const DelayRecord& delay);

    void SetTimer(int timer, const Timer& t);
    void SetTotalTime(uint16_t hours, uint8_t minutes, uint8_t seconds);
    // Value h (0..15) of group m (0..7) of the value table at 7260.
    void SetTableValue(int group, int index, uint16_t value);
    // In-use bytes of a condition control block (combined flag bits).
    void SetControlByte(int condition, int controlOffset, uint8_t value);
    // Marks every in-use byte of every condition as in use.
    void SetAllInUse();

    void SetByte(uint32_t offset, uint8_t value);
    void SetLE16(uint32_t offset, uint16_t value);
    void SetLE32(uint32_t offset, uint32_t value);

private:
    void PutText(uint32_t offset, std::u16string_view text, size_t maxUnits);

    std::vector<uint8_t> m_image;
};

}  // namespace samples
