// The command-line parser on any bytes as the ANSI command line, split into arguments at blanks and tabs as
// the C runtime splits one without quotes (a NUL byte ends its argument, as it would end the line).
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "app/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args = {"whorlix.scr"};
    for (size_t at = line.find_first_not_of(" \t"); at != std::string::npos; at = line.find_first_not_of(" \t", at)) {
        const size_t end = line.find_first_of(" \t", at);
        args.push_back(line.substr(at, end - at));
        at = end == std::string::npos ? line.size() : end;
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    const int argc = static_cast<int>(args.size());

    const ModeRequest request = DispatchCommandLine(argc, argv.data());
    // Matching lower-cases the first argument in place; reading the line again must not change the answer.
    const ModeRequest again = DispatchCommandLine(argc, argv.data());
    FUZZ_CHECK(again.mode == request.mode && again.handle == request.handle);
    FUZZ_CHECK(request.handle == 0 || request.mode == SaverMode::Configure || request.mode == SaverMode::Preview ||
               request.mode == SaverMode::ChangePassword);

    // The handle conversion against the C library's own, wherever that does not saturate: both read white space,
    // a sign and decimal digits alike, and a 32-bit long keeps the low 32 bits.
    errno = 0;
    const long long wide = std::strtoll(line.c_str(), nullptr, 10);
    if (errno != ERANGE)
        FUZZ_CHECK(AtolWin32(line.c_str()) == static_cast<int32_t>(static_cast<uint32_t>(wide)));
    return 0;
}
