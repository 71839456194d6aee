// The Detail dialog's control ids that both front ends give their controls
// (Qt object names, Win32 dialog item ids): the condition name edits of
// conditions 0..7, the dual rate edits and their labels of dual rates 0..5,
// and the label and list of each hardware row 0..29.
#pragma once

#include "model/ConvertHW.h"
#include "model/Names.h"

inline constexpr int kConditionEditIds[CONDITION_COUNT] = {1020, 1021, 1022, 1023, 1024, 1025, 1026, 1048};
inline constexpr int kDualRateEditIds[DUAL_RATE_COUNT] = {1028, 1029, 1030, 1031, 1032, 1036};
inline constexpr int kDualRateLabelIds[DUAL_RATE_COUNT] = {1037, 1038, 1039, 1040, 1041, 1042};
inline constexpr int kHardwareLabelIds[HW_ROWS] = {1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1112,
                                                   1119, 1118, 1096, 1098, 1100, 1102, 1104, 1106, 1108, 1110,
                                                   1141, 1140, 1123, 1125, 1127, 1129, 1131, 1133, 1135, 1137};
inline constexpr int kHardwareComboIds[HW_ROWS] = {1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1097,
                                                   1099, 1101, 1103, 1105, 1107, 1109, 1111, 1113, 1120, 1121,
                                                   1124, 1126, 1128, 1130, 1132, 1134, 1136, 1138, 1142, 1143};
