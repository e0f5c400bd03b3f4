#pragma once
// One section of the settings file's text changed as the platform's profile writes change it, every byte outside
// what changes left as it stands (other users' sections, comments, blank lines, hand edits). Platform-free.
#include <string>

#include "fw/MultiByteText.h"
#include "settings/SaverSettings.h"

// Whether two section names name the same section: the platform compares them without regard to case, in its own
// case rules for the code page, so the comparison is handed in.
using SameNamePredicate = bool (*)(const std::string& a, const std::string& b);

// How the text's names are read: the code page's lead bytes (a trail byte may equal ']') and the section comparison.
struct ProfileNames {
    LeadBytePredicate isLeadByte;
    SameNamePredicate sameName;
};

// text with key set to value in the first section named section, as the reader finds it: the key's first line
// rewritten where it stands, or a line added after the section's last line that is not blank; a missing section is
// added at the end of the text. Added lines end in CR LF, and a last line without a line break gets one first.
std::string SetProfileKey(const std::string& text, const std::string& section, const std::string& key,
                          const std::string& value, const ProfileNames& names);

// text with the six settings written into section, key by key in their order. False, with text untouched, when a
// value holds a line break (it would become lines of its own) or the text is UTF-16, which this byte-wise rewrite
// would garble.
bool WriteSettingsSection(std::string& text, const std::string& section, const SaverSettings& s,
                          const ProfileNames& names);
