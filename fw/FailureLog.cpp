#include "fw/FailureLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {
// A copy: no caller's string has to outlive the threads that log.
char g_prefix[64] = "";
} // namespace

void SetFailureLogPrefix(const char* prefix) {
    std::snprintf(g_prefix, sizeof g_prefix, "%s: ", prefix);
}

void LogFailure(const char* format, ...) {
    char line[512];
    const int used = std::snprintf(line, sizeof line - 1, "%s", g_prefix);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line + used, sizeof line - 1 - used, format, args);
    va_end(args);
    std::strcat(line, "\n");
    ::OutputDebugStringA(line);
}

const char* CaughtExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}
