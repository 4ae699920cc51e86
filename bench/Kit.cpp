#include "Kit.h"

#include "Notebook.h"
#include "PagedResult.h"
#include "Statements.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <sqlite3.h>

#include <array>
#include <cstdio>

Raw::Raw(const QString& path, int busyMs)
{
    const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (code != SQLITE_OK) {
        const QString message = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code));
        sqlite3_close(m_db);
        throw std::runtime_error(QStringLiteral("cannot open %1: %2").arg(path, message).toStdString());
    }
    sqlite3_busy_timeout(m_db, busyMs);
}

Raw::~Raw()
{
    sqlite3_close(m_db);
}

Raw::Statement Raw::prepare(const QString& sql, const QVariantList& values)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    int code = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &prepared, nullptr);
    Statement statement(prepared, sqlite3_finalize);
    for (int i = 0; code == SQLITE_OK && i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            code = sqlite3_bind_int64(prepared, i + 1, value.toLongLong());
        } else {
            const QByteArray text = value.toString().toUtf8();
            code = sqlite3_bind_text(prepared, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
    if (code != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db));
    return statement;
}

bool Raw::step(const Statement& statement)
{
    const int code = sqlite3_step(statement.get());
    if (code != SQLITE_ROW && code != SQLITE_DONE)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db));
    return code == SQLITE_ROW;
}

int Raw::read(const QString& sql, const QVariantList& values, int maxRows)
{
    const Statement statement = prepare(sql, values);
    int rows = 0;
    qint64 bytes = 0;
    for (sqlite3_stmt* s = statement.get(); rows < maxRows && step(statement); ++rows) {
        for (int column = 0; column < sqlite3_column_count(s); ++column) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
            bytes += QByteArray(text, sqlite3_column_bytes(s, column)).size();
        }
    }
    // Uses the texts, so the compiler cannot drop the reads.
    return bytes < 0 ? -1 : rows;
}

qint64 Raw::number(const QString& sql, const QVariantList& values)
{
    const Statement statement = prepare(sql, values);
    require(step(statement), QStringLiteral("no row from: ") + sql);
    return sqlite3_column_int64(statement.get(), 0);
}

QStringList Raw::firstRow(const QString& sql, const QVariantList& values)
{
    const Statement statement = prepare(sql, values);
    QStringList row;
    const int columns = step(statement) ? sqlite3_column_count(statement.get()) : 0;
    for (int column = 0; column < columns; ++column)
        row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), column)));
    return row;
}

namespace {
// Days since 1970/01/01 to the stored time of the proleptic Gregorian calendar.
QByteArray upDay(qint64 seconds)
{
    qint64 days = seconds / 86400 + 719468;
    const qint64 era = days / 146097, dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const int year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const qint64 second = seconds % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, int(second / 3600),
                  int(second / 60 % 60), int(second % 60));
    return QByteArray(text);
}
} // namespace

void Raw::fill(int size)
{
    // Only for this connection: the notebook is written once and thrown away if the program dies.
    read(QStringLiteral("pragma synchronous = off"));
    read(QStringLiteral("pragma cache_size = -262144"));
    read(QStringLiteral("begin"));
    const Statement statement = prepare(Statements::kInsert, {});
    sqlite3_stmt* insert = statement.get();
    Words words(20240401), times(19700101);
    // UpDay runs from 2010/01/01 over about fifteen years, oldest row first, as a notebook grows.
    const qint64 firstSecond = qint64(14610) * 86400, step = qint64(15) * 365 * 86400 / size;
    for (int row = 0; row < size; ++row) {
        const QByteArray fields[] = {upDay(firstSecond + row * step + qint64(times.below(quint64(step)))),
                                     words.english(), words.japanese()};
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text(insert, i + 1, fields[i].constData(), int(fields[i].size()), SQLITE_TRANSIENT);
        this->step(statement);
        sqlite3_reset(insert);
    }
    read(QStringLiteral("commit"));
}

namespace {
// Letter frequencies of English text, per mille, a to z.
constexpr std::array<int, 26> kLetterWeights = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8, 40, 24,
                                                67, 75, 19, 1,  60,  63, 91, 28, 10, 24, 2, 20, 1};
const char kKanji[] = "日本語学生先年月時間人大小山川水火木金土上下中左右前後東西南北長高新古早明"
                      "白黒赤青言話読書見聞食飲行来出入立休走歩買売教習知思考作使持待言葉意味単語";

std::vector<QByteArray> charactersOf(const QString& text)
{
    std::vector<QByteArray> characters;
    for (QChar c : text)
        characters.push_back(QString(c).toUtf8());
    return characters;
}

QString range(char16_t first, char16_t last)
{
    QString text;
    for (char16_t c = first; c <= last; ++c)
        text += QChar(c);
    return text;
}
} // namespace

Words::Words(quint64 seed)
    : m_state(seed)
    , m_kana(charactersOf(range(u'\u3042', u'\u3093')))
    , m_katakana(charactersOf(range(u'\u30A2', u'\u30F3')))
    , m_kanji(charactersOf(QString::fromUtf8(kKanji)))
{}

quint64 Words::below(quint64 bound)
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return (z ^ (z >> 31)) % bound;
}

QByteArray Words::english()
{
    const int length = 3 + int(below(10));
    QByteArray word;
    for (int i = 0; i < length; ++i) {
        int pick = int(below(1003)), letter = 0; // the weights' total
        while (pick >= kLetterWeights[size_t(letter)])
            pick -= kLetterWeights[size_t(letter++)];
        word.append(char('a' + letter));
    }
    return word;
}

QByteArray Words::japanese()
{
    const int length = 1 + int(below(6));
    QByteArray meaning;
    for (int i = 0; i < length; ++i) {
        const quint64 kind = below(10);
        const std::vector<QByteArray>& pool = kind < 4 ? m_kana : kind < 6 ? m_katakana : m_kanji;
        meaning += pool[below(pool.size())];
    }
    return meaning;
}

namespace {
// A digest of the schema Notebook::create makes, so a change to it makes new notebooks.
QString schemaTag()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("schema.mdb"));
    Notebook::create(path);
    Raw db(path);
    const QString schema = db.firstRow(QStringLiteral(
        "select group_concat(sql, ';') from (select sql from sqlite_master order by type, name)"))[0];
    const QString journal = db.firstRow(QStringLiteral("pragma journal_mode")).value(0);
    return QString::fromLatin1(
        QCryptographicHash::hash((schema + ';' + journal).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(10));
}

// The kept notebook of `size` pairs, made when missing; never written to.
QString cachedNotebook(const QString& cache, int size)
{
    require(QDir().mkpath(cache), QStringLiteral("cannot create ") + cache);
    const QString path =
        QStringLiteral("%1/words-%2-g%3-%4.mdb").arg(cache).arg(size).arg(Words::kVersion).arg(schemaTag());
    if (QFile::exists(path))
        return path;
    const QDir dir(cache);
    for (const QString& name : dir.entryList({QStringLiteral("words-%1-*.mdb*").arg(size)}, QDir::Files))
        QFile::remove(dir.filePath(name));
    std::fprintf(stderr, "Making a notebook of %d pairs...\n", size);
    const QString partial = path + QStringLiteral(".partial");
    const double ms = milliseconds([&] {
        Notebook::create(partial);
        Raw(partial).fill(size);
    });
    require(QFile::rename(partial, path), QStringLiteral("cannot rename ") + partial);
    std::fprintf(stderr, "  done in %.1f s\n", ms / 1000.0);
    return path;
}
} // namespace

QString workingCopy(const QString& cache, int size, const QString& purpose)
{
    const QString source = cachedNotebook(cache, size);
    const QString copy = QStringLiteral("%1/%2-%3.mdb").arg(cache, purpose).arg(size);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(copy + QLatin1String(suffix));
    require(QFile::copy(source, copy), QStringLiteral("cannot copy ") + source);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

std::unique_ptr<FormDriver> openWindow(const QString& notebook, QObject* watch)
{
    auto form = std::make_unique<FormDriver>(notebook);
    require(!form->ended(), QStringLiteral("the program ended at start-up: ") +
                                form->messages.takeTexts().join(QLatin1Char(' ')));
    if (watch)
        form->grid("DataGrid1")->viewport()->installEventFilter(watch);
    form->form->show();
    return form;
}

void showRowAtBottom(FormDriver& form, int row)
{
    DataGrid* list = form.grid("DataGrid1");
    const QModelIndex index = list->model()->index(row, 0);
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(index, QAbstractItemView::PositionAtBottom);
}

QStringList takeMessages(FormDriver& form, const QStringList& allowed)
{
    const QStringList shown = form.messages.takeTexts();
    for (const QString& text : shown)
        require(allowed.contains(text), QStringLiteral("a message box said: ") + text.simplified());
    require(form.messages.unexpected().isEmpty(), QStringLiteral("a question came with no answer: ") +
                                                      form.messages.unexpected().join(QLatin1Char(' ')));
    require(form.messages.pendingAnswers() == 0,
            QStringLiteral("an answer was left for a question never asked"));
    require(!form.ended(), QStringLiteral("the program asked to end"));
    return shown;
}

void expectMessages(FormDriver& form, const QStringList& texts)
{
    const QStringList shown = takeMessages(form, texts);
    require(shown == texts, QStringLiteral("the message boxes were [%1], expected [%2]")
                                .arg(shown.join(QStringLiteral(" | ")), texts.join(QStringLiteral(" | "))));
}

qint64 shownCount(const FormDriver& form)
{
    const QString label = form.count();
    bool ok = false;
    const qint64 count = label.endsWith(QStringLiteral("件")) ? label.chopped(1).toLongLong(&ok) : 0;
    require(ok, QStringLiteral("the count label shows \"%1\", not a count").arg(label));
    return count;
}

double milliseconds(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

namespace {
// The value of the first "key: value" line of a /proc file.
QString procField(const char* file, const char* key)
{
    QFile proc{QString::fromLatin1(file)};
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (const QByteArray& line : proc.readAll().split('\n')) {
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    }
    return {};
}

QString processor()
{
    const QString model = procField("/proc/cpuinfo", "model name");
    return model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model;
}
} // namespace

double residentMb()
{
    return procField("/proc/self/status", "VmRSS").section(QLatin1Char(' '), 0, 0).toDouble() * 1024.0 / 1e6;
}

QString machine()
{
    return QStringLiteral("%1, %2 cores, %3 %4, Qt %5, SQLite %6")
        .arg(processor())
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::kernelType(), QSysInfo::kernelVersion(), QString::fromLatin1(qVersion()),
             QString::fromLatin1(sqlite3_libversion()));
}

QJsonObject machineJson()
{
    return {{"processor", processor()},
            {"cores", QThread::idealThreadCount()},
            {"kernel", QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
            {"os", QSysInfo::prettyProductName()},
            {"qt", QString::fromLatin1(qVersion())},
            {"sqlite", QString::fromLatin1(sqlite3_libversion())}};
}
