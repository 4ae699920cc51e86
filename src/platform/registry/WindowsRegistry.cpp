#include "WindowsRegistry.h"

#include <windows.h>

namespace {
HKEY handle(Registry::Key key)
{
    return reinterpret_cast<HKEY>(key);
}
} // namespace

std::int32_t WindowsRegistry::openKey(Key root, const std::string& path, std::uint32_t options,
                                      std::uint32_t access, Key& opened)
{
    HKEY result = nullptr;
    const LONG status = RegOpenKeyExA(handle(root), path.c_str(), options, access, &result);
    if (status == ERROR_SUCCESS)
        opened = reinterpret_cast<Key>(result);
    return status;
}

std::int32_t WindowsRegistry::queryValue(Key key, const std::string& name, std::uint32_t& type,
                                         unsigned char* data, std::uint32_t& size)
{
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG status = RegQueryValueExA(handle(key), name.c_str(), nullptr, &valueType, data, &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

std::int32_t WindowsRegistry::closeKey(Key key)
{
    return RegCloseKey(handle(key));
}
