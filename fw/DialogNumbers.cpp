#include "fw/DialogNumbers.h"

#include <cstring>

bool ParseDialogInt(const char* text, int& value) {
    char buffer[kDialogIntMaxChars + 1] = {};
    std::strncpy(buffer, text, kDialogIntMaxChars);
    const char* p = buffer;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char first = *p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // A number past the 32-bit range has no value here: it is refused as not an integer rather than wrapped
    // into range (4294967306 would otherwise pass for 10). The magnitude stops growing once it is too large.
    const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    uint64_t magnitude = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    while (*p >= '0' && *p <= '9') {
        if (!tooLarge)
            magnitude = magnitude * 10u + static_cast<uint64_t>(*p - '0');
        tooLarge = tooLarge || magnitude > limit;
        anyDigit = true;
        ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!anyDigit || tooLarge || *p != '\0')
        return false;
    const int32_t result =
        static_cast<int32_t>(negative ? 0 - static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    if (result == 0 && first != '0')
        return false;
    value = result;
    return true;
}
