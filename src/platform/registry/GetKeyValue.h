#pragma once

#include "Registry.h"

#include <cstdint>
#include <string>

// Size of the buffer a value is read into; larger values are not read.
constexpr std::uint32_t kKeyValueBuffer = 1024;

// Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` into `KeyVal` as text: a string as
// stored, without its terminating zero; a DWORD as its decimal number; any other type leaves `KeyVal` as it
// was. Returns false, with `KeyVal` emptied, when the key cannot be opened or the value cannot be read.
// Throws RegistryError for a value of size 0.
bool GetKeyValue(Registry& registry, Registry::Key KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal);
