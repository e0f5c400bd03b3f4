#pragma once
// The system's ANSI code page, as the multi-byte text walkers ask about it.
#include <windows.h>

inline bool IsAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
