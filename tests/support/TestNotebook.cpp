#include "TestNotebook.h"

#include "Notebook.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <stdexcept>

namespace {
QSqlQuery run(const QString& connection, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.prepare(sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}
} // namespace

TestNotebook::TestNotebook(Schema schema)
    : m_path(m_dir.filePath(QStringLiteral("word.mdb")))
    , m_connection(QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::Id128))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    if (schema == Schema::Full) {
        Notebook::create(m_path);
        db.open();
    }
}

TestNotebook::~TestNotebook()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void TestNotebook::insert(const QString& upDay, const QString& english, const QString& japanese)
{
    run(m_connection, QStringLiteral("insert into wordDB(UpDay,English,Japanese) values(?,?,?)"),
        {upDay, english, japanese});
}

void TestNotebook::fill(int rows)
{
    const QDateTime first(QDate(2020, 1, 1), QTime(0, 0));
    execute(QStringLiteral("begin"));
    for (int i = 0; i < rows; ++i)
        insert(first.addSecs(60 * i).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
               QStringLiteral("word%1").arg(i), QStringLiteral("語%1").arg(i));
    execute(QStringLiteral("commit"));
}

void TestNotebook::execute(const QString& sql)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        db.open();
    run(m_connection, sql);
}

QStringList TestNotebook::rows(const QString& sql, const QVariantList& values) const
{
    QStringList result;
    for (QSqlQuery query = run(m_connection, sql, values); query.next();) {
        result << query.value(0).toString();
        for (int i = 1; i < query.record().count(); ++i)
            result.last() += '|' + query.value(i).toString();
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
