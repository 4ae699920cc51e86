#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdio>

// What every command of tessimor-db shares: exit statuses, messages on the standard streams, and the
// reading of a command's options.
namespace Exit {
constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
} // namespace Exit

void print(std::FILE* stream, const QString& text);
// "tessimor-db: MESSAGE" on standard error; returns Exit::kRefused.
int refuse(const QString& message);
// The problem and a pointer to the command's help on standard error; returns Exit::kUsage.
int usageError(const QString& command, const QString& problem);

// Options of one command: flags, options with a value ("--format csv" or "--format=csv"), "-h"/"--help",
// and positional arguments ("--" ends the options).
class CommandLine {
public:
    CommandLine(QString command, QSet<QString> flags, QSet<QString> valued);

    static constexpr int kGoOn = -1;
    // Reads the arguments and answers --help (with help), unknown or incomplete options and a count of
    // positional arguments outside [least, most] itself: returns kGoOn when the command should go on,
    // otherwise the exit status.
    int read(const QStringList& args, const char* help, int least, int most);

    QString command() const { return m_command; }
    bool has(const QString& option) const { return m_flags.contains(option) || m_values.contains(option); }
    QString value(const QString& option) const { return m_values.value(option); }
    QStringList positional() const { return m_positional; }

private:
    bool parse(const QStringList& args);
    int expectPositional(int least, int most) const;
    bool take(const QString& arg, const QStringList& args, int* index);

    QString m_command;
    QSet<QString> m_knownFlags;
    QSet<QString> m_knownValued;
    QSet<QString> m_flags;
    QMap<QString, QString> m_values;
    QStringList m_positional;
    bool m_help = false;
    QString m_error;
};
