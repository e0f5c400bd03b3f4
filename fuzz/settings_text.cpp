// The settings store's readers of INI text on any bytes: a stored number or colour as its text, and the section
// that the bytes of a login-name buffer give.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A value is at most what the store's buffer holds, and ends with its NUL as the platform hands it over.
    const std::string text(reinterpret_cast<const char*>(data), std::min(size, kProfileIntBuffer - 1));
    const int32_t value = ProfileIntFromText(text.c_str(), 11);
    FUZZ_CHECK(text.c_str()[0] != '\0' || value == 11);
    // Whatever it reads as, the store writes back ("%d") and reads again as the same number.
    char written[16];
    std::snprintf(written, sizeof written, "%d", value);
    FUZZ_CHECK(ProfileIntFromText(written, 11) == value);

    // A name buffer of exactly the input's first bytes (up to GetUserNameA's 64), so a read past it shows.
    const size_t capacity = std::min<size_t>(size, 64);
    std::unique_ptr<char[]> name(new char[capacity]);
    std::copy(data, data + capacity, name.get());
    const std::string section = SectionFromUserName(name.get(), capacity, true);
    FUZZ_CHECK(!section.empty() && section.size() < 64 && section.find_first_of("\r\n") == std::string::npos);
    const size_t length = std::find(name.get(), name.get() + capacity, '\0') - name.get();
    FUZZ_CHECK(section == kFallbackSection || section == std::string(name.get(), length));
    FUZZ_CHECK(SectionFromUserName(name.get(), capacity, false) == kFallbackSection);
    return 0;
}
