#include "NotebookFile.h"

#include "CommandLine.h"
#include "ExchangeError.h"
#include "Notebook.h"
#include "StoreError.h"

#include <QFileInfo>

namespace NotebookFile {

QString existingPath()
{
    const QString path = Notebook::defaultPath();
    if (!QFileInfo::exists(path))
        throw ExchangeError(
            QStringLiteral("単語帳のファイル %1 がありません。tessimor-db init で作成できます").arg(path),
            QStringLiteral("there is no notebook at %1; 'tessimor-db init' creates one").arg(path));
    return path;
}

std::unique_ptr<Connection> open(Connection::Access access)
{
    return std::make_unique<Connection>(existingPath(), access);
}

int refuse(const StoreError& error)
{
    QString message = error.userMessage();
    message.replace(QStringLiteral("\n\n"), QStringLiteral(" ("));
    return ::refuse(message + QLatin1Char(')'));
}

int refuse(const ExchangeError& error, const QString& file)
{
    return ::refuse(file.isEmpty() ? error.message() : file + QStringLiteral(": ") + error.message());
}

} // namespace NotebookFile
