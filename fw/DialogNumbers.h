#pragma once
// How the dialog framework reads an edit as a number. Platform-free.
#include <cstdint>

// At most this many characters of an edit are read when it is parsed as an integer.
constexpr int kDialogIntMaxChars = 31;

// Parses a dialog edit's text as a signed 32-bit integer: blanks and tabs around an optional sign and
// digits. Fails on an empty text, other characters, or a zero whose first non-blank character is not '0'.
// Only the first kDialogIntMaxChars characters count. A number outside the signed 32-bit range fails too: it is
// never wrapped into range.
bool ParseDialogInt(const char* text, int& value);
