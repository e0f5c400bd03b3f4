#pragma once
// How the screen-saver machinery's command line selects a mode. Platform-free.
#include <cstdint>

enum class SaverMode { Configure, Preview, Run, ChangePassword, None };

struct ModeRequest {
    SaverMode mode = SaverMode::None;
    // Window handle value from the command line (0 when none was given).
    int32_t handle = 0;
};

// True when arg is "-" or "/" followed by letter. Lower-cases arg in place first (A-Z only).
bool MatchModeArg(char* arg, char letter);

// The mode for the C runtime's argument vector; only argv[1] and argv[2] are read.
ModeRequest DispatchCommandLine(int argc, char** argv);

// The C runtime's atol with a 32-bit long: white space, optional sign, digits up to the first non-digit;
// overflow wraps modulo 2^32.
int32_t AtolWin32(const char* text);
