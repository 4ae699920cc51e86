#pragma once

#include <QString>

// Whether a path names an ordinary file: one that exists and is neither hidden nor a folder.
class FileSearch {
public:
    virtual ~FileSearch() = default;
    virtual bool exists(const QString& path) const = 0;
};

class QtFileSearch : public FileSearch {
public:
    bool exists(const QString& path) const override;
};
