#pragma once
// The program's one log: failures absorbed where nothing may cross (a window or dialog procedure, a thread's start
// routine) or that nobody else would hear of. One line each to the debugger's output (OutputDebugStringA), after
// the prefix the application names itself with: the framework knows no product.

// Sets the prefix of every line; called once at start-up, before any window or thread exists.
void SetFailureLogPrefix(const char* prefix);

// Logs "<prefix>: " and the printf-style text as one line.
void LogFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Inside a catch block only: what the exception being handled says (what(), or "unknown exception").
const char* CaughtExceptionText();
