#pragma once
// Where the settings file lives: beside the module. Platform-free.
#include <string>

#include "fw/MultiByteText.h"

// The settings file for a module path: everything after the last '.' of the file name becomes "ini"; a file
// name without any '.' gets ".ini" appended, so the file still sits beside the module. A dot in a folder name
// never counts, and the path is read in whole characters of its code page (a trail byte is never taken for
// a separator or a dot).
std::string SettingsPathFromModule(const std::string& modulePath, LeadBytePredicate isLeadByte);
