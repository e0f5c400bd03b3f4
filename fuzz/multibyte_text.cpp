// The multi-byte text walker on any bytes, read with the lead bytes of code page 932 (Japanese) and of 1252
// (none): every position it returns lies inside the text and on a character boundary, and what it cuts off is
// whole characters.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "fw/MultiByteText.h"
#include "settings/SettingsPath.h"

namespace {

bool Cp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool Cp1252LeadByte(unsigned char) {
    return false;
}

// Where each character of text starts, and the end: a lead byte with a byte after it opens a two-byte one.
std::vector<bool> Boundaries(const std::string& text, LeadBytePredicate isLeadByte) {
    std::vector<bool> boundary(text.size() + 1, false);
    for (size_t i = 0; i < text.size();
         i += isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1)
        boundary[i] = true;
    boundary[text.size()] = true;
    return boundary;
}

void CheckWalker(const std::string& text, LeadBytePredicate isLeadByte) {
    const std::vector<bool> boundary = Boundaries(text, isLeadByte);
    for (size_t i = 0; i < text.size(); ++i)
        if (boundary[i])
            FUZZ_CHECK(boundary[i + CharacterLength(text, i, isLeadByte)]);
    for (const char* chars : {"\\", ".", "\\/:"}) {
        const size_t at = FindLastCharacterOf(text, chars, isLeadByte);
        if (at == std::string::npos)
            continue;
        FUZZ_CHECK(at < text.size() && boundary[at] && boundary[at + 1]);
        FUZZ_CHECK(text[at] != '\0' && std::string(chars).find(text[at]) != std::string::npos);
    }
    // Only whole backslash characters are cut off the end, and all of them.
    const std::string trimmed = TrimTrailingBackslashes(text, isLeadByte);
    FUZZ_CHECK(boundary[trimmed.size()] && text.compare(0, trimmed.size(), trimmed) == 0);
    FUZZ_CHECK(text.find_first_not_of('\\', trimmed.size()) == std::string::npos);
    FUZZ_CHECK(trimmed.empty() || trimmed.back() != '\\' || !boundary[trimmed.size() - 1]);
    // The settings file beside a module of this path: the path up to a dot of its file name, then "ini".
    const std::string settings = SettingsPathFromModule(text, isLeadByte);
    const size_t stem = settings.size() - 3;
    FUZZ_CHECK(settings.compare(stem, 3, "ini") == 0 && text.compare(0, stem - 1, settings, 0, stem - 1) == 0);
    FUZZ_CHECK(boundary[stem - 1] && settings[stem - 1] == '.');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckWalker(text, &Cp932LeadByte);
    CheckWalker(text, &Cp1252LeadByte);
    return 0;
}
