#include "Notebook.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {
constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

const char kUsageText[] = "Usage: tessimor-db COMMAND\n"
                          "\n"
                          "The companion command of the Tessimor vocabulary notebook.\n"
                          "\n"
                          "Commands:\n"
                          "  path    print where the notebook's file is\n"
                          "  init    create the notebook's file with an empty word table;\n"
                          "          refuses to touch a file that already exists\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help   show this help\n";

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int usageError(const QString& problem)
{
    print(stderr, QStringLiteral("tessimor-db: %1\n").arg(problem));
    std::fputs("Try 'tessimor-db --help'.\n", stderr);
    return kUsage;
}

int init()
{
    const QString path = Notebook::defaultPath();
    try {
        Notebook::create(path);
    } catch (const StoreError& error) {
        print(stderr, QStringLiteral("tessimor-db: 単語帳を作成できません (cannot create the notebook): %1\n")
                          .arg(error.engineText()));
        return kRefused;
    }
    print(stdout, QStringLiteral("created %1\n").arg(path));
    return kOk;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("a command is needed"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("-h") || command == QLatin1String("--help")) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    if (!args.isEmpty())
        return usageError(QStringLiteral("'%1' takes no arguments").arg(command));
    if (command == QLatin1String("path")) {
        print(stdout, Notebook::defaultPath() + QLatin1Char('\n'));
        return kOk;
    }
    if (command == QLatin1String("init"))
        return init();
    return usageError(QStringLiteral("unknown command '%1'").arg(command));
}
