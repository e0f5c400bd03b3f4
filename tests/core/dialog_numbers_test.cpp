#include <gtest/gtest.h>

#include "fw/DialogNumbers.h"

namespace {
bool Parses(const char* text, int expected) {
    int v = -12345;
    return ParseDialogInt(text, v) && v == expected;
}
bool Fails(const char* text) {
    int v = 0;
    return !ParseDialogInt(text, v);
}
} // namespace

TEST(DialogInt, AcceptsBlanksSignAndDigits) {
    EXPECT_TRUE(Parses("15", 15));
    EXPECT_TRUE(Parses(" \t15\t ", 15));
    EXPECT_TRUE(Parses("+7", 7));
    EXPECT_TRUE(Parses("-7", -7));
    EXPECT_TRUE(Parses("0", 0));
    EXPECT_TRUE(Parses("  000", 0));
    EXPECT_TRUE(Parses("100", 100));
    EXPECT_TRUE(Parses("90", 90));
    EXPECT_TRUE(Parses("2147483647", 2147483647));
    EXPECT_TRUE(Parses("-2147483648", INT32_MIN));
}

TEST(DialogInt, RejectsEmptyTextOtherCharactersSignedZeroAndOverflow) {
    // Past the 32-bit range nothing is wrapped back into it: 4294967306 would otherwise read as 10.
    for (const char* bad : {"", "   ", "abc", "12a", "1 2", "+", "-", "-0", "+0", "0x10", "1.5", "2147483648",
                            "-2147483649", "4294967306", "99999999999999999999999"})
        EXPECT_TRUE(Fails(bad)) << "'" << bad << "'";
}

TEST(DialogInt, ReadsOnlyTheFirst31Characters) {
    // 31 blanks push the digit out of what is read: nothing is left but blanks.
    std::string hidden(31, ' ');
    hidden += "5";
    EXPECT_TRUE(Fails(hidden.c_str()));
    // Junk after the 31st character is never seen.
    std::string junkAfter = std::string(29, ' ') + "42" + "xyz";
    EXPECT_TRUE(Parses(junkAfter.c_str(), 42));
}
