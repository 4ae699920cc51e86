#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

// A notebook file of the test's own in a temporary folder, read and written through a connection of its
// own with no busy timeout, so any lock the program leaves behind makes these writes fail at once.
class TestNotebook {
public:
    // Full: the schema tessimor-db init makes; None: no file until the test makes one.
    enum class Schema { Full, None };
    explicit TestNotebook(Schema schema = Schema::Full);
    ~TestNotebook();

    QString path() const { return m_path; }

    void insert(const QString& upDay, const QString& english, const QString& japanese);
    // Pairs "word<i>" and "語<i>" in one transaction, each a minute newer than the one before.
    void fill(int rows);
    void execute(const QString& sql);
    // Every row as "UpDay|English|Japanese", in rowid order.
    QStringList rows(const QString& sql = "select UpDay, English, Japanese from wordDB order by rowid",
                     const QVariantList& values = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_connection;
};

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
