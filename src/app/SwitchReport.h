// A printable line for each field the switch pass changed, with its offset
// and bytes: the detail behind a finding of the conversion report.
#pragma once

#include <string>

#include "model/ModelData.h"

// One line in the current language: where the field lies (model settings or
// condition 1..8 with its block offset), what kind of field it is, and its
// bytes before and after as control names with the raw values.
std::u16string DescribeSwitchChange(const CModelDataPX600::SwitchChange& change);

