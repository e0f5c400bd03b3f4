#include "settings/ProfileSection.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// Bytes the platform's reader skips around names: control bytes and the blank. Never a byte of a double-byte
// character.
bool IsBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// One line of the text: [begin, content) without its line break, [begin, end) with it.
struct Line {
    size_t begin, content, end;
};

// A line ends at CR LF, LF or a lone CR, as the platform's reader ends it.
Line LineAt(const std::string& text, size_t begin) {
    const size_t content = std::min(text.find_first_of("\r\n", begin), text.size());
    size_t end = content;
    if (end < text.size())
        end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    return {begin, content, end};
}

// [from, to) without the blank bytes at either end.
std::pair<size_t, size_t> Trim(const std::string& text, size_t from, size_t to) {
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
    return {from, to};
}

// The section name of a header line ("[name]", the name up to the first ']' in whole characters, without blanks);
// false for any other line.
bool HeaderName(const std::string& text, const Line& line, LeadBytePredicate isLeadByte, std::string& name) {
    const size_t open = Trim(text, line.begin, line.content).first;
    if (open >= line.content || text[open] != '[')
        return false;
    for (size_t i = open + 1; i < line.content; i += CharacterLength(text, i, isLeadByte))
        if (text[i] == ']') {
            const auto span = Trim(text, open + 1, i);
            name = text.substr(span.first, span.second - span.first);
            return true;
        }
    return false;
}

// The key of a line: the text before its first '=' (the whole line when it has none), without blanks.
std::pair<size_t, size_t> KeySpan(const std::string& text, const Line& line) {
    const size_t equals = text.find('=', line.begin);
    return Trim(text, line.begin, equals < line.content ? equals : line.content);
}

bool SameKey(const std::string& text, std::pair<size_t, size_t> span, const std::string& key) {
    if (span.second - span.first != key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        char a = text[span.first + i], b = key[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

// text with line inserted at position at, a line break put before it when the text there ends without one.
std::string InsertLine(const std::string& text, size_t at, const std::string& line) {
    const bool needsBreak = at > 0 && text[at - 1] != '\n' && text[at - 1] != '\r';
    return text.substr(0, at) + (needsBreak ? "\r\n" : "") + line + "\r\n" + text.substr(at);
}

} // namespace

std::string SetProfileKey(const std::string& text, const std::string& section, const std::string& key,
                          const std::string& value, const ProfileNames& names) {
    bool inSection = false, found = false;
    size_t lastFilled = 0; // end of the section's last line that is not blank
    for (size_t at = 0; at < text.size();) {
        const Line line = LineAt(text, at);
        at = line.end;
        std::string name;
        if (HeaderName(text, line, names.isLeadByte, name)) {
            if (inSection)
                break; // the next section: only the first of that name is ever read
            inSection = found = names.sameName(name, section);
            lastFilled = line.end;
            continue;
        }
        if (!inSection)
            continue;
        const auto span = KeySpan(text, line);
        if (SameKey(text, span, key)) // the stored spelling of the key is kept
            return text.substr(0, line.begin) + text.substr(span.first, span.second - span.first) + "=" + value +
                   text.substr(line.content);
        if (Trim(text, line.begin, line.content).first < line.content)
            lastFilled = line.end;
    }
    if (!found)
        return InsertLine(text, text.size(), "[" + section + "]\r\n" + key + "=" + value);
    return InsertLine(text, lastFilled, key + "=" + value);
}

bool WriteSettingsSection(std::string& text, const std::string& section, const SaverSettings& s,
                          const ProfileNames& names) {
    if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF')))
        return false;
    if (s.PictureFile.find_first_of("\r\n") != std::string::npos)
        return false;
    const auto number = [](int32_t v) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d", static_cast<int>(v));
        return std::string(digits);
    };
    const std::pair<const char*, std::string> keys[] = {
        {"Speed", number(s.Speed)},
        {"SpiralTime", number(s.SpiralTime)},
        {"PictureTime", number(s.PictureTime)},
        {"PictureFile", s.PictureFile},
        {"FrontColor", number(static_cast<int32_t>(s.FrontColor))},
        {"BackColor", number(static_cast<int32_t>(s.BackColor))},
    };
    std::string result = text;
    for (const auto& k : keys)
        result = SetProfileKey(result, section, k.first, k.second, names);
    text = std::move(result);
    return true;
}
