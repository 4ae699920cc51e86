#pragma once

#include <QStringList>

#include <memory>

class MemoryRegistry;
class Registry;

// Where the registry names the system-information program: its path, or the folder that holds it.
namespace SysInfoKeys {
inline constexpr char kPath[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char kPathValue[] = "PATH";
inline constexpr char kLocation[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr char kLocationValue[] = "MSINFO";
} // namespace SysInfoKeys

// The registry the about dialog reads on this system.
class HostRegistry {
public:
    // Windows: the system registry. Linux: a hive whose system-information path names the first program
    // of candidates() found on PATH, or nothing. Elsewhere: an empty hive.
    static std::unique_ptr<Registry> open();

    // A hive naming the first candidate found in the folders, searched in order; empty when none is.
    static std::unique_ptr<MemoryRegistry> fromFolders(const QStringList& folders);

    // Programs that show the machine's hardware and system, most thorough first.
    static QStringList candidates();
};
