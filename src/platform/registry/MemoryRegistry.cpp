#include "MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace {
std::string folded(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c); });
    return name;
}

bool isRoot(Registry::Key key)
{
    // The predefined keys HKEY_CLASSES_ROOT to HKEY_CURRENT_CONFIG, sign-extended.
    return key >= Registry::Key(std::int32_t(0x80000000u)) && key <= Registry::Key(std::int32_t(0x80000005u));
}
} // namespace

void MemoryRegistry::setValue(Key root, const std::string& path, const std::string& name, std::uint32_t type,
                              std::vector<unsigned char> data)
{
    m_keys[{root, folded(path)}][folded(name)] = Value{type, std::move(data)};
}

void MemoryRegistry::setString(Key root, const std::string& path, const std::string& name,
                               const std::string& text)
{
    std::vector<unsigned char> data(text.begin(), text.end());
    data.push_back(0);
    setValue(root, path, name, kString, std::move(data));
}

std::int32_t MemoryRegistry::openKey(Key root, const std::string& path, std::uint32_t, std::uint32_t access,
                                     Key& opened)
{
    if (!isRoot(root))
        return kInvalidHandle;
    if ((access & ~kKeyRead) != 0)
        return kAccessDenied;
    const KeyName name{root, folded(path)};
    if (m_keys.find(name) == m_keys.end())
        return kFileNotFound;
    opened = m_nextHandle++;
    m_open[opened] = name;
    return kSuccess;
}

std::int32_t MemoryRegistry::queryValue(Key key, const std::string& name, std::uint32_t& type,
                                        unsigned char* data, std::uint32_t& size)
{
    const auto open = m_open.find(key);
    if (open == m_open.end())
        return kInvalidHandle;
    const Values& values = m_keys.at(open->second);
    const auto value = values.find(folded(name));
    if (value == values.end())
        return kFileNotFound;
    const std::vector<unsigned char>& bytes = value->second.data;
    type = value->second.type;
    const std::uint32_t capacity = size;
    size = std::uint32_t(bytes.size());
    if (data == nullptr)
        return kSuccess;
    if (bytes.size() > capacity)
        return kMoreData;
    if (!bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    return kSuccess;
}

std::int32_t MemoryRegistry::closeKey(Key key)
{
    return m_open.erase(key) == 1 ? kSuccess : kInvalidHandle;
}
