// The curves of a conversion in words: where each curve lies, how far its
// PX600 form lies from the source's, and the summary the command line prints.
#pragma once

#include <string>
#include <vector>

#include "convert/CurveCompare.h"

constexpr unsigned IDS_CURVES_TITLE = 1800;
constexpr unsigned IDS_CURVES_SOURCE = 1810;
constexpr unsigned IDS_CURVES_TARGET = 1811;
constexpr unsigned IDS_CURVES_INPUT = 1812;
constexpr unsigned IDS_CURVES_OUTPUT = 1813;
constexpr unsigned IDS_CURVES_SHOW_UNCHANGED = 1814;
constexpr unsigned IDS_CURVES_NONE_CHANGED = 1816;
constexpr unsigned IDS_CURVES_LARGEST = 1818;
constexpr unsigned IDS_CURVES_FINDINGS = 1821;  // the report window's page of findings

// A value in percent with the given decimals, in the current language's way
// of writing numbers ("2.5", "2,5").
std::u16string PercentText(double percent, int decimals = 1);

// "Condition 2 (THERMAL)": the condition, numbered from 1, with its name
// when it has one.
std::u16string CurveConditionText(const CurveComparison& curve);
// "Channel curve 3", "Dual rate 1", "Curve 4", "Curve at offset 2465".
std::u16string CurveRecordText(const CurveComparison& curve);
// "Largest difference: 3.41 % of travel", a line break, "at input 6.3 %".
std::u16string CurveDifferenceText(const CurveComparison& curve);
// One line: where the curve lies and its largest difference.
std::u16string CurveLine(const CurveComparison& curve);

// "12 curve(s) carried over unchanged (no difference above 2 % of travel)."
std::u16string CurvesUnchangedText(int count);

// The curves the conversion changed beyond the limit, one line each, and a
// line counting the others.
std::u16string CurveReportText(const std::vector<CurveComparison>& curves);
