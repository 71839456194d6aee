// The two conversions into a PX600 model: the build of the source's kind
// (which ends with the delay check), then the switch pass and the checksum.
#pragma once

class CModelDataBase;
class CModelDataPX600;

// Each returns 1.
int ConvertFromPX400(CModelDataPX600& target, CModelDataBase& source);
int ConvertFromPX200(CModelDataPX600& target, CModelDataBase& source);

// The build steps alone (everything before the switch pass and the checksum).
int BuildFromPX400(CModelDataPX600& target, CModelDataBase& source);
int BuildFromPX200(CModelDataPX600& target, CModelDataBase& source);
