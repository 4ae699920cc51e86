#include "GetKeyValue.h"

#include <algorithm>
#include <vector>

namespace {
// Closes the key on every way out, the error of an empty value included. A handle still zero after a
// failed open is passed on like any other; the registry refuses it harmlessly.
class KeyCloser {
public:
    KeyCloser(Registry& registry, const Registry::Key& key)
        : m_registry(registry)
        , m_key(key)
    {}
    ~KeyCloser() { m_registry.closeKey(m_key); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    Registry& m_registry;
    const Registry::Key& m_key;
};

std::uint32_t littleEndian(const std::vector<unsigned char>& bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}
} // namespace

bool GetKeyValue(Registry& registry, Registry::Key KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal)
{
    Registry::Key hKey = 0;
    bool result = false;
    KeyCloser closer(registry, hKey);

    if (registry.openKey(KeyRoot, KeyName, 0, Registry::kKeyRead, hKey) != Registry::kSuccess) {
        KeyVal.clear();
        return result;
    }

    std::vector<unsigned char> tmpVal(kKeyValueBuffer, 0);
    std::uint32_t KeyValSize = kKeyValueBuffer;
    std::uint32_t KeyValType = 0;
    if (registry.queryValue(hKey, SubKeyRef, KeyValType, tmpVal.data(), KeyValSize) != Registry::kSuccess) {
        KeyVal.clear();
        return result;
    }

    if (KeyValSize == 0)
        throw RegistryError("the value '" + SubKeyRef + "' is empty");
    // A backend never reports more than it wrote; the clamp keeps a faulty one inside the buffer.
    const std::size_t size = std::min<std::size_t>(KeyValSize, tmpVal.size());
    std::string kept(tmpVal.begin(), tmpVal.begin() + std::ptrdiff_t(size));
    if (kept.back() == '\0')
        kept.pop_back();

    switch (KeyValType) {
    case Registry::kString:
        KeyVal = kept;
        break;
    case Registry::kDword:
        KeyVal = std::to_string(littleEndian(tmpVal));
        break;
    default:
        break;
    }
    result = true;
    return result;
}
