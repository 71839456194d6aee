// The delay check at the end of a build: each delay pair that the PX600 can
// express by exchanging its current and alternative value is exchanged; a
// pair it cannot express raises the delay warning.
#include <utility>

#include "model/ModelData.h"

namespace {

using namespace px600::delay;

// A delay pair counts when one of `bits` selection bits from firstBit is set;
// it can be carried over by a swap when each of those bits is set or its rate
// (R firstRate on, `rates` of them) is 0. The last pair is always swapped.
struct PairRule {
    uint8_t select;
    uint8_t firstBit;
    uint8_t bits;
    uint8_t firstRate;
    uint8_t rates;
};
constexpr PairRule kPairRules[] = {
    {kSelect1, 0, 4, 1, 4},
    {kSelect1, 4, 4, 5, 4},
    {kSelect2, 2, 2, 9, 2},
    {kSelect2, 4, 1, 0, 0},
};

bool RatesCovered(const uint8_t* record, uint8_t select, const PairRule& rule)
{
    for (int i = 0; i < rule.rates; ++i)
        if (!((select >> (rule.firstBit + i)) & 1) && record[kRates + rule.firstRate + i - 1] != 0)
            return false;
    return true;
}

// Returns true when the record holds a delay that cannot be carried over.
bool CheckRecord(uint8_t* r)
{
    bool warn = false;
    for (int i = 0; i < 4; ++i)
        r[kPairs + 2 * i] &= 0x7F;
    for (int i = 0; i < 4; ++i) {
        const PairRule& rule = kPairRules[i];
        uint8_t* pair = r + kPairs + 2 * i;
        const uint8_t select = r[rule.select];
        if (pair[0] == pair[1] || (select & (((1u << rule.bits) - 1) << rule.firstBit)) == 0)
            continue;
        if (RatesCovered(r, select, rule))
            std::swap(pair[0], pair[1]);
        else
            warn = true;
    }
    return warn;
}

}  // namespace

void CModelDataPX600::CheckDelayRecords()
{
    bool warn = false;
    for (int n = 0; n < px600::kConditions; ++n)
        for (int k = 0; k < px600::kDelayRecords.count; ++k)
            warn = CheckRecord(m_image + px600::kConditionBlock.At(n) + px600::kDelayRecords.At(k)) || warn;
    m_delayWarning = warn ? 1 : 0;
}
