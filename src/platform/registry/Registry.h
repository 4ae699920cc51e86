#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// The three registry calls the about dialog needs, with the return codes, sizes and types of the Windows
// API, so one reader works against the real registry and against an in-memory hive alike.
class Registry {
public:
    // A key handle. Predefined roots are 32-bit values that Windows sign-extends on 64-bit builds.
    using Key = std::intptr_t;

    static constexpr Key kLocalMachine = static_cast<Key>(static_cast<std::int32_t>(0x80000002u));
    // Query value, enumerate sub-keys, notify, read control: nothing that writes.
    static constexpr std::uint32_t kKeyRead = 0x20019;

    static constexpr std::int32_t kSuccess = 0;
    static constexpr std::int32_t kFileNotFound = 2;
    static constexpr std::int32_t kAccessDenied = 5;
    static constexpr std::int32_t kInvalidHandle = 6;
    static constexpr std::int32_t kMoreData = 234;

    static constexpr std::uint32_t kString = 1;
    static constexpr std::uint32_t kDword = 4;

    virtual ~Registry() = default;

    // Opens the sub-key `path` under `root`; on success `opened` receives its handle.
    virtual std::int32_t openKey(Key root, const std::string& path, std::uint32_t options,
                                 std::uint32_t access, Key& opened) = 0;
    // Reads the value `name` of an open key into `data`, whose capacity `size` gives in bytes. On success
    // `type` and `size` receive the value's type and the bytes written; a value larger than the capacity
    // gives kMoreData with the size it needs. Strings come in the ANSI code page.
    virtual std::int32_t queryValue(Key key, const std::string& name, std::uint32_t& type,
                                    unsigned char* data, std::uint32_t& size) = 0;
    virtual std::int32_t closeKey(Key key) = 0;
};

// A run-time failure inside the value reader, for callers that trap every failure in one place.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
