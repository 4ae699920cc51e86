#pragma once

#include "FileSearch.h"
#include "MemoryRegistry.h"
#include "ProgramLauncher.h"

#include <QSet>
#include <QStringList>

#include <string>
#include <vector>

// An in-memory hive that records every key the reader tries to open, with the access asked for, and
// counts the handles not yet closed.
class RecordingRegistry : public Registry {
public:
    std::int32_t openKey(Key root, const std::string& path, std::uint32_t options, std::uint32_t access,
                         Key& opened) override
    {
        attempts.push_back(path);
        accesses.push_back(access);
        const std::int32_t status = hive.openKey(root, path, options, access, opened);
        if (status == kSuccess)
            ++openHandles;
        return status;
    }
    std::int32_t queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                            std::uint32_t& size) override
    {
        return hive.queryValue(key, name, type, data, size);
    }
    std::int32_t closeKey(Key key) override
    {
        const std::int32_t status = hive.closeKey(key);
        if (status == kSuccess)
            --openHandles;
        return status;
    }

    MemoryRegistry hive;
    std::vector<std::string> attempts;
    std::vector<std::uint32_t> accesses;
    int openHandles = 0;
};

// The files that exist as far as a test is concerned.
class FakeFiles : public FileSearch {
public:
    bool exists(const QString& path) const override { return files.contains(path); }
    QSet<QString> files;
};

// Records every start; only a program among the fake files starts.
class RecordingLauncher : public ProgramLauncher {
public:
    explicit RecordingLauncher(const FakeFiles& disk)
        : m_disk(disk)
    {}
    bool start(const QString& path) override
    {
        attempts << path;
        if (!m_disk.exists(path))
            return false;
        started << path;
        return true;
    }
    QStringList attempts;
    QStringList started;

private:
    const FakeFiles& m_disk;
};
