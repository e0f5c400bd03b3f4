#pragma once
// Text in the system's ANSI code page, which may be double-byte: a lead byte and the byte after it form one
// character, and that second byte may be any value, a backslash or a dot included. Platform-free.

// Tells whether a byte opens a two-byte character in the text's code page.
using LeadBytePredicate = bool (*)(unsigned char byte);
