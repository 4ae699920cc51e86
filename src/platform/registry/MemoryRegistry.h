#pragma once

#include "Registry.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// A hive held in memory, for systems without a registry and for tests. Its owner fills it before handing
// it out; through Registry it only reads, and it refuses to open a key with any right to write, as
// HKEY_LOCAL_MACHINE does for a standard user. Names of keys and values are matched without regard to
// ASCII case, as in the registry.
class MemoryRegistry : public Registry {
public:
    void setValue(Key root, const std::string& path, const std::string& name, std::uint32_t type,
                  std::vector<unsigned char> data);
    // A REG_SZ value stored with its terminating zero, as the registry's own tools store text.
    void setString(Key root, const std::string& path, const std::string& name, const std::string& text);

    std::int32_t openKey(Key root, const std::string& path, std::uint32_t options, std::uint32_t access,
                         Key& opened) override;
    std::int32_t queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                            std::uint32_t& size) override;
    std::int32_t closeKey(Key key) override;

private:
    struct Value {
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
    };
    using Values = std::map<std::string, Value>;
    using KeyName = std::pair<Key, std::string>;

    std::map<KeyName, Values> m_keys;
    std::map<Key, KeyName> m_open;
    Key m_nextHandle = 1;
};
