// The delay check at the end of a build: each delay pair that the PX600 can
// express by exchanging its current and alternative value is exchanged; a
// pair it cannot express raises the delay warning.
#include "model/ModelData.h"

namespace {

// The two delay records of each PX600 condition block (block offsets).
constexpr size_t kConditionBlocks = 640;
constexpr size_t kConditionBlockSize = 3056;
constexpr int kConditions = 8;
constexpr uint16_t kDelayRecords[] = {2797, 2840};

// Byte positions inside a 43-byte delay record.
constexpr int kSelect2 = 0;
constexpr int kSelect1 = 4;
constexpr int kRates = 5;   // R1..R8 at 5..12, R9 and R10 at 13 and 14
constexpr int kPairs = 28;  // four pairs (current, alternative) at 28..35

uint8_t Rate(const uint8_t* record, int r) { return record[kRates + r - 1]; }

void Swap(uint8_t* record, int first)
{
    const uint8_t t = record[first];
    record[first] = record[first + 1];
    record[first + 1] = t;
}

// A pair whose selection bits are all covered, each bit set or its rate 0,
// can be carried over by a swap.
bool RatesCovered(const uint8_t* record, uint8_t select, int firstBit, int firstRate, int count)
{
    for (int i = 0; i < count; ++i)
        if (!((select >> (firstBit + i)) & 1) && Rate(record, firstRate + i) != 0)
            return false;
    return true;
}

// Returns true when the record holds a delay that cannot be carried over.
bool CheckRecord(uint8_t* r)
{
    bool warn = false;
    for (int i = 0; i < 4; ++i)
        r[kPairs + 2 * i] &= 0x7F;
    const uint8_t s1 = r[kSelect1];
    const uint8_t s2 = r[kSelect2];

    if (r[28] != r[29] && (s1 & 0x0F) != 0) {
        if (RatesCovered(r, s1, 0, 1, 4))
            Swap(r, 28);
        else
            warn = true;
    }
    if (r[30] != r[31] && (s1 & 0xF0) != 0) {
        if (RatesCovered(r, s1, 4, 5, 4))
            Swap(r, 30);
        else
            warn = true;
    }
    if (r[32] != r[33] && (s2 & 0x0C) != 0) {
        if (RatesCovered(r, s2, 2, 9, 2))
            Swap(r, 32);
        else
            warn = true;
    }
    if (r[34] != r[35] && (s2 & 0x10) != 0)
        Swap(r, 34);
    return warn;
}

}  // namespace

void CModelDataPX600::CheckDelayRecords()
{
    bool warn = false;
    for (int n = 0; n < kConditions; ++n) {
        uint8_t* block = m_image + kConditionBlocks + kConditionBlockSize * n;
        for (uint16_t at : kDelayRecords)
            warn = CheckRecord(block + at) || warn;
    }
    m_delayWarning = warn ? 1 : 0;
}
