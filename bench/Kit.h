#pragma once

#include "FormDriver.h"
#include "PagedResult.h"
#include "Statements.h"
#include "UpDay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <climits>
#include <cstdio>
#include <stdexcept>

struct sqlite3;

// What the one program was asked to do: measure, soak, or be the soak's writer.
struct Options {
    std::vector<int> sizes;
    bool soak = false;
    int runs = 5, operations = 10000, pairs = 100000;
    quint64 seed = 1;
    // "out" and "cache"; "child": the notebook of the process that measures one size alone, so its memory
    // figure is its own; "writer" and "progress": the notebook the soak's second process writes to, and
    // the file it reports its progress in.
    QMap<QString, QString> paths;
};

int runBenchmark(const Options& options);
int measureChild(const Options& options);
int runSoak(const Options& options);
int runWriter(const Options& options);

inline const QString kRegistered = QStringLiteral("登録しました");
inline const QString kDuplicate = QStringLiteral("データが重複しています");
inline const QString kDeleteQuestion = QStringLiteral("選択中のレコードを削除しますか");
inline const QString kNoHit = QStringLiteral("該当するデータがありません");

// A failed check stops the run with a sentence saying what went wrong.
inline void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

// A connection of the program's own through SQLite's C API: it fills notebooks, times the store's
// statements with nothing of the toolkit in between, and checks the file. Each call prepares afresh, as
// the store does.
class Raw {
public:
    explicit Raw(const QString& path, int busyMs = 1000);
    ~Raw();
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    // Runs the statement, reading at most maxRows rows with every column as text, as a grid shows them;
    // returns the rows read, and the first row's texts in `first`.
    int read(const QString& sql, const QVariantList& values = {}, int maxRows = INT_MAX,
             QStringList* first = nullptr);
    QStringList firstRow(const QString& sql, const QVariantList& values = {})
    {
        QStringList row;
        read(sql, values, 1, &row);
        return row;
    }
    qint64 number(const QString& sql, const QVariantList& values = {})
    {
        return firstRow(sql, values).value(0).toLongLong();
    }
    // Deterministic pairs, oldest first, UpDay spread over fifteen years from 2010.
    void fill(int size);

private:
    sqlite3* m_db = nullptr;
};

// Made-up words from SplitMix64 and arithmetic of its own, the same on every machine, so a notebook of
// 10 000 pairs holds the first 10 000 of the one of 1 000 000.
class Words {
public:
    // Bump whenever the output changes, so cached notebooks are made anew.
    static constexpr int kVersion = 1;
    explicit Words(quint64 seed);
    quint64 below(quint64 bound);
    // 3 to 12 lowercase letters drawn with English letter frequencies, so some texts are common.
    QByteArray english();
    // 1 to 6 characters of hiragana, katakana and kanji.
    QByteArray japanese();

private:
    quint64 m_state;
    std::vector<QByteArray> m_pools[3];
};

// A fresh, writable copy of the cached notebook of `size` pairs (made first when missing), named after
// `purpose` so the benchmark and the soak do not replace each other's copies.
QString workingCopy(const QString& cache, int size, const QString& purpose);

// The window on the notebook, shown offscreen (the next settle paints its first frame); `watch` sees the
// list's events from the first. Throws when the program asked to end.
std::unique_ptr<FormDriver> openWindow(const QString& notebook, QObject* watch = nullptr);
// Makes the row current and scrolls so that it is the last one in view.
void showRowAtBottom(FormDriver& form, int row);
// The texts of the boxes shown since last asked; throws on any outside `allowed`, a question left
// unanswered, an answer left over, or an ended program.
QStringList takeMessages(FormDriver& form, const QStringList& allowed);
void expectMessages(FormDriver& form, const QStringList& texts);
// The number the count label shows.
qint64 shownCount(const FormDriver& form);

double milliseconds(const std::function<void()>& action);
// VmRSS of this process in MB (10^6 bytes).
double residentMb();
QJsonObject machineJson();
QString machine();
