#pragma once
// Turning the settings file's text into values: stored numbers and colours, and the section a login name gives.
// Platform-free, so that any bytes a hand-edited file or an odd login name holds can be tried on it natively.
#include <cstddef>
#include <cstdint>
#include <string>

// Buffer for a stored number's text. The platform's own integer read looks at no more than a value's first 29
// characters (measured); reading the text into a buffer of the same size keeps every file reading as it did.
constexpr size_t kProfileIntBuffer = 30;

// The number a stored value's text stands for, read as the platform's private-profile integer read does: leading
// bytes from 0x01 to the blank skipped, an optional sign, then "0x", "0o" or "0b" for base 16, 8 or 2 (otherwise base
// 10), then digits up to the first that is not one, wrapping modulo 2^32. Empty text gives fallback; text
// without digits gives 0.
int32_t ProfileIntFromText(const char* text, int32_t fallback);

// The section for the login name GetUserNameA left in a buffer of capacity bytes (read: whether the call
// succeeded). kFallbackSection when there is no name, when it does not end inside the buffer, or when it holds
// a line break: written as a section header, such a name could never be found again.
std::string SectionFromUserName(const char* name, size_t capacity, bool read);
