// Resource and control ids of the Windows program, shared by the resource
// script and the dialog code. The templates carry no texts: every caption and
// label is set from the string tables when its dialog starts.
#pragma once

// Icon, dialogs and the application manifest.
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_ARKLETON_DIALOG 102
#define IDD_DETAIL 131
#define IDD_SETTING 135

// Main dialog.
#define IDC_SOURCE_LOCATION 1000
#define IDC_BROWSE_SOURCE 1001
#define IDC_SOURCE_LIST 1002
#define IDC_TARGET_TRANSMITTER 1003
#define IDC_MODEL_NAME 1004
#define IDC_CONVERT 1005
#define IDC_SOURCE_TRANSMITTER 1006
#define IDC_TARGET_NOTICE 1007
#define IDC_TARGET_LOCATION 1008
#define IDC_BROWSE_TARGET 1009
#define IDC_TARGET_LIST 1010
#define IDC_SOURCE_LOCATION_LABEL 1011
#define IDC_SOURCE_NOTICE 1012
#define IDC_GROUP_FROM 1013
#define IDC_GROUP_TO 1014
#define IDC_TARGET_TRANSMITTER_LABEL 1015
#define IDC_MODEL_NAME_LABEL 1016
#define IDC_TARGET_LOCATION_LABEL 1017
#define IDC_DETAIL 1018
#define IDC_SOURCE_TRANSMITTER_LABEL 1019

// Detail dialog: condition name edits 1020..1026 and 1048, dual rate edits
// 1028..1032 and 1036, their labels 1037..1042, the hardware rows' labels and
// lists (see DetailDlg.cpp), the marks beside the condition names and the
// outcome of each hardware row.
#define IDC_CONDITION_RESET 1027
#define IDC_DUAL_RATE_RESET 1034
#define IDC_CONDITION_SELECTOR 1046
#define IDC_CONDITION_SELECTOR_LABEL 1047
#define IDC_CONDITION_DEFAULT 1049
#define IDC_HARDWARE_FROM_HEADING 1144  // 1144..1146, one per column
#define IDC_HARDWARE_TO_HEADING 1147    // 1147..1149
#define IDC_HARDWARE_OUTCOME 1150       // 1150..1179 for rows 0..29
#define IDC_CONDITION_MARK 1180         // 1180..1187 for conditions 0..7
#define IDC_CONDITION_GROUP 1188
#define IDC_DUAL_RATE_GROUP 1189
#define IDC_HARDWARE_GROUP 1190
#define IDC_CONDITION_LABEL 1191        // 1191..1198 for conditions 0..7

// Setting dialog.
#define IDC_LANGUAGE_GROUP 1073
#define IDC_LANGUAGE 1074

// About dialog; the version line is made at run time with id 0xFFFF.
#define IDC_ABOUT_NAME 1080
#define IDC_ABOUT_NOTICE 1081
#define IDC_ABOUT_ICON 1082
#define IDC_VERSION 0xFFFF

// Several models in one run: the names, the progress and the summary.
#define IDD_BATCH_NAMES 141
#define IDD_BATCH_PROGRESS 142
#define IDD_BATCH_SUMMARY 143
#define IDC_BATCH_INTRO 1310
#define IDC_BATCH_LIST 1311
#define IDC_BATCH_PROGRESS_TEXT 1312
#define IDC_BATCH_PROGRESS_BAR 1313
#define IDC_BATCH_COUNTS 1314
#define IDC_BATCH_WARNING 1315
#define IDC_BATCH_REPORT 1316

// The conversion report box: its text and buttons.
#define IDD_REPORT 140
#define IDC_REPORT_MESSAGE 1300
#define IDC_REPORT_TEXT 1301
#define IDC_REPORT_SAVE 1302
#define IDC_REPORT_COPY 1303
#define IDC_REPORT_ICON 1304
