#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class Connection;

// Where the tests make their temporary folders: named as a learner called 田中 may have them, so every path
// they use holds characters beyond ASCII.
inline QString learnersTemporaryFolder()
{
    return QDir::tempPath() + QStringLiteral("/田中-XXXXXX");
}

// A notebook file of the test's own in a temporary folder, read and written through a connection of its
// own with no busy timeout, so any lock the program leaves behind makes these writes fail at once.
class TestNotebook {
public:
    // Full: the schema tessimor-db init makes; None: no file until the test makes one.
    enum class Schema { Full, None };
    explicit TestNotebook(Schema schema = Schema::Full);
    ~TestNotebook();

    QString path() const;
    // Makes this the notebook the programs open, as a learner's data folder would.
    void becomeTheLearners() const;

    void insert(const QString& upDay, const QString& english, const QString& japanese);
    void execute(const QString& sql);
    // Every row as "UpDay|English|Japanese", in rowid order.
    QStringList rows(const QString& sql = "select UpDay, English, Japanese from wordDB order by rowid",
                     const QVariantList& values = {}) const;

private:
    // Opened by the first statement, which makes the file when there is none.
    Connection& connection() const;

    QTemporaryDir m_dir{learnersTemporaryFolder()};
    mutable std::unique_ptr<Connection> m_connection;
};

void setLearnersDataFolder(const QString& folder);
// A file's bytes, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// Writes UpDay's type and rows to an Access file with access.cjs; says nothing when mdb-reader reads them
// back.
QString writeAccessFile(const QString& to, const QStringList& rows);
