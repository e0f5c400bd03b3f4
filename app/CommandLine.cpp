#include "app/CommandLine.h"

bool MatchModeArg(char* arg, char letter) {
    for (char* p = arg; *p != '\0'; ++p)
        if (*p >= 'A' && *p <= 'Z')
            *p = static_cast<char>(*p - 'A' + 'a');
    return (arg[0] == '-' || arg[0] == '/') && arg[1] == letter;
}

ModeRequest DispatchCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return {SaverMode::Configure, 0};
    char* first = argv[1];
    // A missing second argument reads as handle 0, which the caller treats as "no window".
    const char* second = argc > 2 ? argv[2] : "";
    if (MatchModeArg(first, 'c')) {
        // "/c:1234": the owner follows a colon in the same argument; "/c 1234" is top-level.
        int32_t owner = first[2] == ':' ? AtolWin32(first + 3) : 0;
        return {SaverMode::Configure, owner};
    }
    if (MatchModeArg(first, 'p'))
        return {SaverMode::Preview, AtolWin32(second)};
    if (MatchModeArg(first, 's'))
        return {SaverMode::Run, 0};
    if (MatchModeArg(first, 'a'))
        return {SaverMode::ChangePassword, AtolWin32(second)};
    return {SaverMode::None, 0};
}

int32_t AtolWin32(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    uint32_t total = 0;
    while (*p >= '0' && *p <= '9')
        total = total * 10u + static_cast<uint32_t>(*p++ - '0');
    return static_cast<int32_t>(negative ? 0u - total : total);
}
