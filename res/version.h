#pragma once
// The saver's version: the one place it is written down. The version resource spells it out from these
// numbers, and the setup reads them from here for its pages and the uninstall entry.
#define WHORLIX_VERSION_MAJOR 1
#define WHORLIX_VERSION_MINOR 10
#define WHORLIX_VERSION_PATCH 7
#define WHORLIX_VERSION_BUILD 18

#define WHORLIX_STRINGIZE_(...) #__VA_ARGS__
#define WHORLIX_STRINGIZE(...) WHORLIX_STRINGIZE_(__VA_ARGS__)
// "1, 10, 7, 18" and "1.10", as the version resource shows them.
#define WHORLIX_FILE_VERSION_TEXT                                                                              \
    WHORLIX_STRINGIZE(WHORLIX_VERSION_MAJOR, WHORLIX_VERSION_MINOR, WHORLIX_VERSION_PATCH, WHORLIX_VERSION_BUILD)
#define WHORLIX_PRODUCT_VERSION_TEXT WHORLIX_STRINGIZE(WHORLIX_VERSION_MAJOR.WHORLIX_VERSION_MINOR)
