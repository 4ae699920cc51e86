#include "FileSearch.h"

#include <QFileInfo>

bool QtFileSearch::exists(const QString& path) const
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}
