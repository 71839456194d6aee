// String-table ids that several parts of the program share. Ids that only one
// module uses are named in that module.
#pragma once

// "No error" and the TINYFS engine's error texts: 200 + error code.
constexpr unsigned IDS_FILE_ERROR_BASE = 200;
// Transmitter names as the combo boxes show them, 1001 + transmitter type.
constexpr unsigned IDS_TX_COMBO_BASE = 1001;
// Model type texts: 1101 + model type, and "UNKNOWN".
constexpr unsigned IDS_MODEL_TYPE_UNKNOWN = 1100;
constexpr unsigned IDS_MODEL_TYPE_BASE = 1101;
// Title of the main dialog, the caption of its message boxes.
constexpr unsigned IDS_MAIN_CAPTION = 2000;
