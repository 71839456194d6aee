// String-table ids of the dialogs' own texts, shared by both front ends so
// that each dialog takes every text from the same entry on every system.
#pragma once

namespace main_texts {
enum : unsigned {
    IDS_BROWSE_TITLE = 102,
    IDS_DETAIL_SINGLE = 1721,
    IDS_REPORT_BUTTON = 1779,
    IDS_GROUP_FROM = 2001,
    IDS_SOURCE_TRANSMITTER = 2002,
    IDS_SOURCE_LOCATION = 2003,
    IDS_BROWSE_SOURCE = 2004,
    IDS_GROUP_TO = 2005,
    IDS_TARGET_TRANSMITTER = 2006,
    IDS_TARGET_LOCATION = 2007,
    IDS_BROWSE_TARGET = 2008,
    IDS_MODEL_NAME = 2009,
    IDS_DETAIL = 2010,
    IDS_CONVERT = 2011,
};
}  // namespace main_texts

namespace detail_texts {
enum : unsigned {
    IDS_DETAIL_CAPTION = 2100,
    IDS_CONDITION_GROUP = 2101,
    IDS_CONDITION_LABEL = 2102,  // 2102..2109
    IDS_CONDITION_RESET_BUTTON = 2110,
    IDS_CONDITION_DEFAULT_BUTTON = 2111,
    IDS_DUAL_RATE_GROUP = 2112,
    IDS_SELECTOR_LABEL = 2113,
    IDS_DUAL_RATE_LABEL = 2114,  // 2114..2119
    IDS_DUAL_RATE_RESET = 2120,
    IDS_HARDWARE_GROUP = 2121,
    IDS_CONVERT_FROM = 2122,
    IDS_CONVERT_TO = 2123,
    IDS_OK = 2125,
    IDS_CANCEL = 2126,
};
}  // namespace detail_texts

namespace batch_texts {
enum : unsigned {
    IDS_HARDWARE_WARNING = 705,
    IDS_STORED = 1702,
    IDS_REFUSED = 1703,
    IDS_NOT_CONVERTED = 1704,
    IDS_NAMES_CAPTION = 1706,
    IDS_NAMES_INTRO = 1707,
    IDS_SOURCE_MODEL = 1708,
    IDS_NEW_NAME = 1709,
    IDS_CHECK = 1710,
    IDS_PROGRESS = 1711,
    IDS_SUMMARY_CAPTION = 1712,
    IDS_SUMMARY_COUNTS = 1713,
    IDS_RESULT = 1714,
    IDS_MUST_CHECK = 1715,
    IDS_MESSAGES = 1716,
    IDS_REPORT_BUTTON = 1717,
    IDS_CLOSE = 1720,
    IDS_REPORT_TITLE = 1773,
    IDS_CONVERT = 2011,
    IDS_CANCEL = 2126,
};
}  // namespace batch_texts
