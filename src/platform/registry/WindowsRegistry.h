#pragma once

#include "Registry.h"

// The system registry, through advapi32 with ANSI strings.
class WindowsRegistry : public Registry {
public:
    std::int32_t openKey(Key root, const std::string& path, std::uint32_t options, std::uint32_t access,
                         Key& opened) override;
    std::int32_t queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                            std::uint32_t& size) override;
    std::int32_t closeKey(Key key) override;
};
