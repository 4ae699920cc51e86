// GetKeyValue through the advapi32 backend under Wine (cross-compiled with mingw-w64, hence free of Qt).
#include "GetKeyValue.h"
#include "WindowsRegistry.h"

#include <windows.h>

#include <cstdio>

const std::string kZero(1, '\0'), kLongest(1023, 'x');

const struct Case {
    const char* name;
    DWORD type; // REG_NONE: none, read from a missing key
    std::string data;
    bool read;
    std::string text; // KeyVal afterwards, "unchanged" before; "<error>" when the reader throws
} kCases[] = {
    {"string without a zero", REG_SZ, "ABC", true, "ABC"},
    {"number", REG_DWORD, "\x78\x56\x34\x12", true, "305419896"},
    {"expandable string", REG_EXPAND_SZ, "%SystemRoot%" + kZero, true, "unchanged"},
    {"1024 bytes", REG_SZ, kLongest + kZero, true, kLongest},
    {"over 1024 bytes", REG_SZ, kLongest + "x" + kZero, false, ""},
    {"size 0", REG_SZ, "", false, "<error>"},
    {"missing key", REG_NONE, "", false, ""},
};

int main()
{
    WindowsRegistry registry;
    int failed = 0;
    // Wine adds a zero to a string when the byte after it is one: an X follows the data.
    for (const Case& test : kCases) {
        const std::string key = std::string("SOFTWARE\\Tessimor\\") + (test.type ? "Test" : "Missing");
        std::string KeyVal = "unchanged";
        bool read = false;
        try {
            if (!test.type ||
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), test.name, test.type,
                                (test.data + 'X').data(), DWORD(test.data.size())) == ERROR_SUCCESS)
                read = GetKeyValue(registry, Registry::kLocalMachine, key, test.name, KeyVal);
        } catch (const RegistryError&) {
            KeyVal = "<error>";
        }
        const bool passed = read == test.read && KeyVal == test.text;
        failed += passed ? 0 : 1;
        std::printf("%s: %s\n", passed ? "PASS" : "FAIL!", test.name);
    }
    return failed;
}
