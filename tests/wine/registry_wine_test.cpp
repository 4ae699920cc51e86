// Reads values that the runner script wrote into a Wine prefix, through the advapi32 backend, and checks
// what GetKeyValue makes of each. Free of Qt: built with the mingw-w64 cross compiler.
#include "GetKeyValue.h"
#include "WindowsRegistry.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {
const std::string kKey = "SOFTWARE\\Tessimor\\RegistryTest";
constexpr Registry::Key HKLM = Registry::kLocalMachine;

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what, const std::string& detail = {}) {
    if (ok) {
        ++passed;
        std::printf("PASS   : %s\n", what.c_str());
    } else {
        ++failed;
        std::printf("FAIL!  : %s %s\n", what.c_str(), detail.c_str());
    }
}

// Reads a value with a marker in KeyVal beforehand, so a value left unchanged shows.
void expect(WindowsRegistry& registry, const std::string& name, bool ok, const std::string& value,
            const std::string& what, const std::string& key = kKey) {
    std::string got = "unchanged";
    const bool read = GetKeyValue(registry, HKLM, key, name, got);
    check(read == ok && got == value, what,
          "(returned " + std::string(read ? "true" : "false") + ", KeyVal \"" + got + "\" of " +
              std::to_string(got.size()) + " bytes)");
}

// The registry's own tools always store a string's terminating zero, so this one is written here. The
// byte after the text must not be zero either, or the registry adds the zero it takes as forgotten.
bool writeWithoutZero() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    const BYTE text[] = {'A', 'B', 'C', 'D'};
    const DWORD length = 3;
    DWORD type = 0;
    DWORD size = 0;
    const bool written =
        RegSetValueExA(key, "WithoutZero", 0, REG_SZ, text, length) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "WithoutZero", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ && size == length;
    RegCloseKey(key);
    return written;
}
} // namespace

int main() {
    WindowsRegistry registry;

    check(writeWithoutZero(), "a REG_SZ without its terminating zero can be stored");

    expect(registry, "WithZero", true, "C:\\Program Files\\Tessimor\\tool.exe",
           "REG_SZ stored with its terminating zero comes back without it");
    expect(registry, "WithoutZero", true, "ABC", "REG_SZ stored without a terminating zero comes back whole");
    expect(registry, "Number", true, "305419896", "REG_DWORD comes back as its decimal number");
    expect(registry, "Small", true, "5", "REG_DWORD with zero high bytes keeps them");
    expect(registry, "Expandable", true, "unchanged", "REG_EXPAND_SZ is read but leaves KeyVal unchanged");
    expect(registry, "Longest", true, std::string(1023, 'x'), "REG_SZ of 1024 bytes with its zero is read");
    expect(registry, "TooLong", false, "", "REG_SZ over 1024 bytes is not read and empties KeyVal");
    expect(registry, "NoSuchValue", false, "", "a missing value empties KeyVal");
    expect(registry, "WithZero", false, "", "a missing key empties KeyVal", "SOFTWARE\\Tessimor\\NoSuchKey");

    bool raised = false;
    try {
        std::string got;
        GetKeyValue(registry, HKLM, kKey, "Empty", got);
    } catch (const RegistryError&) {
        raised = true;
    }
    check(raised, "a REG_SZ of size 0 raises the reader's error");

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
