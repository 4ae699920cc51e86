#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <optional>

// What the commands of tessimor-db share. A command takes its arguments, its own name first, and returns
// the exit status.
namespace Exit {
constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
// convert's refusals that the menu's launcher offers a way out of.
constexpr int kReplacements = 3;
constexpr int kNoWordTable = 4;
} // namespace Exit

// The context of the command's own texts in its translations: TessimorDb::tr("…").
class TessimorDb {
    Q_DECLARE_TR_FUNCTIONS(TessimorDb)
};

void print(std::FILE* stream, const QString& text);
// "tessimor-db: MESSAGE" on standard error; returns Exit::kRefused.
int refuse(const QString& message);
// The problem and where help is, on standard error; returns Exit::kUsage.
int usageError(const QString& command, const QString& problem);
// Parses a command's arguments, adding --help, and wants between least and most FILEs; the description is
// translated. Returns the exit status when the command ends here: with its help, or with a usage error.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& args, const char* description,
                         int least, int most);
// Where the notebook is; throws ExchangeError when there is no file there.
QString existingNotebook();
// Runs work; input it refuses ends it with its message (naming file, when given) and Exit::kRefused.
int refusing(const std::function<int()>& work, const QString& file = {});

int pathCommand(const QStringList& args);
int initCommand(const QStringList& args);
int exportCommand(const QStringList& args);
int importCommand(const QStringList& args);
int backupCommand(const QStringList& args);
int restoreCommand(const QStringList& args);
int checkCommand(const QStringList& args);
int convertCommand(const QStringList& args);
int upgradeCommand(const QStringList& args);
