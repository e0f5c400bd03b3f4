#pragma once
// What a link label opens. Platform-free.
#include <string>

// The target a link label hands to the shell: a caption without any ':' is a mail address.
std::string LinkTargetFromCaption(const std::string& caption);
