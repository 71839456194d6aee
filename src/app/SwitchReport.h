// A printable line for each field the switch pass changed, so that a pilot can
// see which controls were reassigned or set to none.
#pragma once

#include <string>

#include "model/ModelData.h"

// One line in the current language: where the field lies (model settings or
// condition 1..8 with its block offset), what kind of field it is, and its
// bytes before and after as control names with the raw values.
std::u16string DescribeSwitchChange(const CModelDataPX600::SwitchChange& change);

// The whole report of one conversion for a pilot: first one line per source
// control that the conversion set to none, moved to another control or gave
// other switch positions, with the number of fields, in the order the
// controls first appear (fields without a control before and after are
// left out of the summary); then the field-by-field lines of DescribeSwitchChange.
// Empty when nothing changed.
std::u16string SwitchReportText(const CModelDataPX600::SwitchChange* changes, size_t count);
