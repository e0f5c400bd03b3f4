#pragma once
// Platform-free rules of the dialog framework: integer parsing of edits and dialog placement.
#include <cstdint>

// At most this many characters of an edit are read when it is parsed as an integer.
constexpr int kDialogIntMaxChars = 31;

// Parses a dialog edit's text as a signed 32-bit integer: blanks and tabs around an optional sign and
// digits. Fails on an empty text, other characters, or a zero whose first non-blank character is not '0'.
// Only the first kDialogIntMaxChars characters count. A number outside the signed 32-bit range fails too: it is
// never wrapped into range.
bool ParseDialogInt(const char* text, int& value);

struct FwRect {
    long left, top, right, bottom;
};
struct FwPoint {
    long x, y;
};

// Top-left of a window of the size of `window` centred over `over`, then moved to lie inside `work`.
FwPoint CenterInside(const FwRect& window, const FwRect& over, const FwRect& work);
