#include "app/CurveReport.h"

#include <cmath>
#include <cstdio>

#include "app/ConversionReport.h"
#include "app/Strings.h"

namespace {

constexpr unsigned IDS_CURVES_CHANNEL = 1802;
constexpr unsigned IDS_CURVES_DUAL_RATE = 1803;
constexpr unsigned IDS_CURVES_RECORD = 1804;
constexpr unsigned IDS_CURVES_AT_OFFSET = 1805;
constexpr unsigned IDS_CURVES_LINE = 1806;
constexpr unsigned IDS_CURVES_DECIMAL = 1807;
constexpr unsigned IDS_CURVES_CHANGED = 1808;
constexpr unsigned IDS_CURVES_UNCHANGED = 1809;
constexpr unsigned IDS_CURVES_AT_INPUT = 1820;

}  // namespace

std::u16string PercentText(double percent, int decimals)
{
    char buffer[32];
    // Rounded half away from zero; a value that rounds to 0 shows no sign.
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(percent * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    std::u16string text(buffer, buffer + std::char_traits<char>::length(buffer));
    const std::u16string separator = LoadString(IDS_CURVES_DECIMAL);
    if (const size_t dot = text.find(u'.'); dot != std::u16string::npos && !separator.empty())
        text.replace(dot, 1, separator);
    return text;
}

std::u16string CurveConditionText(const CurveComparison& curve)
{
    return ConditionPlaceText(curve.condition, curve.conditionName);
}

std::u16string CurveRecordText(const CurveComparison& curve)
{
    const long long number = curve.index + 1;
    if (curve.record == &px600::kChannelCurves)
        return FormatString(IDS_CURVES_CHANNEL, {number});
    if (curve.record == &px600::kDualRates)
        return FormatString(IDS_CURVES_DUAL_RATE, {number});
    if (curve.record == &px600::kCurveRecords)
        return FormatString(IDS_CURVES_RECORD, {number});
    return FormatString(IDS_CURVES_AT_OFFSET, {RecordName(*curve.record), number});
}

std::u16string CurveDifferenceText(const CurveComparison& curve)
{
    return FormatString(IDS_CURVES_LARGEST, {PercentText(curve.largestDifference, 2)}) + u"\n" +
           FormatString(IDS_CURVES_AT_INPUT, {PercentText(curve.atInput / kCurveUnitsPerPercent)});
}

std::u16string CurveLine(const CurveComparison& curve)
{
    return FormatString(IDS_CURVES_LINE, {CurveConditionText(curve), CurveRecordText(curve),
                                          PercentText(curve.largestDifference, 2),
                                          PercentText(curve.atInput / kCurveUnitsPerPercent)});
}

std::u16string CurvesUnchangedText(int count)
{
    return FormatString(IDS_CURVES_UNCHANGED, {static_cast<long long>(count), PercentText(kCurveChangeLimit, 0)});
}

std::u16string CurveReportText(const std::vector<CurveComparison>& curves)
{
    const std::u16string limit = PercentText(kCurveChangeLimit, 0);
    std::u16string text;
    long long unchanged = 0;
    for (const CurveComparison& curve : curves) {
        if (!curve.Changed()) {
            ++unchanged;
            continue;
        }
        if (text.empty())
            text = FormatString(IDS_CURVES_CHANGED, {limit}) + u"\n";
        text += u"  " + CurveLine(curve) + u"\n";
    }
    if (text.empty())
        text = FormatString(IDS_CURVES_NONE_CHANGED, {limit}) + u"\n";
    if (unchanged > 0)
        text += CurvesUnchangedText(static_cast<int>(unchanged)) + u"\n";
    return text;
}
