#include "ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <sys/stat.h>
#endif

bool replaceFile(const QString& from, const QString& to)
{
#ifdef _WIN32
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    return MoveFileExW(reinterpret_cast<const wchar_t*>(source.utf16()),
                       reinterpret_cast<const wchar_t*>(target.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

bool sameFile(const QString& one, const QString& other)
{
    if (!QFileInfo::exists(one) || !QFileInfo::exists(other))
        return false;
#ifdef _WIN32
    return QFileInfo(one).canonicalFilePath().compare(QFileInfo(other).canonicalFilePath(),
                                                      Qt::CaseInsensitive) == 0;
#else
    struct stat first {};
    struct stat second {};
    if (stat(QFile::encodeName(one).constData(), &first) != 0 ||
        stat(QFile::encodeName(other).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
}
