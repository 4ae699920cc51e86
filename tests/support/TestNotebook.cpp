#include "TestNotebook.h"

#include "Connection.h"
#include "Notebook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <stdexcept>

TestNotebook::TestNotebook(Schema schema)
{
    QDir().mkpath(QFileInfo(path()).path());
    if (schema == Schema::Full)
        Notebook::create(path());
}

TestNotebook::~TestNotebook() = default;

QString TestNotebook::path() const
{
    return Notebook::pathIn(m_dir.path());
}

void TestNotebook::becomeTheLearners() const
{
    setLearnersDataFolder(m_dir.path());
}

void setLearnersDataFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    // Windows keeps its variables in UTF-16; qputenv would pass the name through the system's code page.
    _wputenv_s(QString::fromLatin1(Notebook::kDataFolderVariable).toStdWString().c_str(),
               folder.toStdWString().c_str());
#else
    qputenv(Notebook::kDataFolderVariable, folder.toUtf8());
#endif
}

Connection& TestNotebook::connection() const
{
    if (!m_connection)
        m_connection = std::make_unique<Connection>(path(), Connection::Access::Create, LockPatience{0, {}});
    return *m_connection;
}

void TestNotebook::insert(const QString& upDay, const QString& english, const QString& japanese)
{
    connection().execute(QStringLiteral("insert into wordDB(UpDay,English,Japanese) values(?,?,?)"),
                         {upDay, english, japanese});
}

void TestNotebook::execute(const QString& sql)
{
    connection().execute(sql);
}

QStringList TestNotebook::rows(const QString& sql, const QVariantList& values) const
{
    QStringList result;
    for (auto query = connection().execute(sql, values); query->next();) {
        result << query->text(0);
        for (int i = 1; i < query->columnCount(); ++i)
            result.last() += '|' + query->text(i);
    }
    return result;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString writeAccessFile(const QString& to, const QStringList& rows)
{
    QProcess node;
    node.start("node",
               QStringList{NODE_DIR "/access.cjs", "write", to, ACCESS_FIXTURES "/emptyJet4.mdb"} + rows);
    node.waitForFinished(120000);
    return QString::fromUtf8(node.readAllStandardOutput() + node.readAllStandardError());
}
