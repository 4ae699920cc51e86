#include "CommandLine.h"

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int refuse(const QString& message)
{
    print(stderr, QStringLiteral("tessimor-db: %1\n").arg(message));
    return Exit::kRefused;
}

int usageError(const QString& command, const QString& problem)
{
    print(stderr, QStringLiteral("tessimor-db: %1\n").arg(problem));
    print(stderr, command.isEmpty() ? QStringLiteral("Try 'tessimor-db --help'.\n")
                                    : QStringLiteral("Try 'tessimor-db %1 --help'.\n").arg(command));
    return Exit::kUsage;
}

CommandLine::CommandLine(QString command, QSet<QString> flags, QSet<QString> valued)
    : m_command(std::move(command))
    , m_knownFlags(std::move(flags))
    , m_knownValued(std::move(valued))
{}

int CommandLine::read(const QStringList& args, const char* help, int least, int most)
{
    if (!parse(args))
        return usageError(m_command, m_error);
    if (m_help) {
        std::fputs(help, stdout);
        return Exit::kOk;
    }
    return expectPositional(least, most);
}

int CommandLine::expectPositional(int least, int most) const
{
    if (m_positional.size() < least)
        return usageError(m_command, QStringLiteral("'%1' needs FILE").arg(m_command));
    if (m_positional.size() > most)
        return usageError(m_command, most == 0 ? QStringLiteral("'%1' takes no arguments").arg(m_command)
                                               : QStringLiteral("'%1' takes one FILE").arg(m_command));
    return kGoOn;
}

bool CommandLine::parse(const QStringList& args)
{
    bool options = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (options && arg == QLatin1String("--")) {
            options = false;
        } else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (!take(arg, args, &i))
                return false;
        } else {
            m_positional << arg;
        }
    }
    return true;
}

bool CommandLine::take(const QString& arg, const QStringList& args, int* index)
{
    if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
        m_help = true;
        return true;
    }
    const qsizetype equals = arg.indexOf(QLatin1Char('='));
    const QString name = arg.left(equals);
    if (m_knownFlags.contains(name) && equals < 0) {
        m_flags.insert(name);
        return true;
    }
    if (!m_knownValued.contains(name)) {
        m_error = QStringLiteral("'%1' does not know the option '%2'").arg(m_command, arg);
        return false;
    }
    if (equals >= 0) {
        m_values.insert(name, arg.mid(equals + 1));
        return true;
    }
    if (*index + 1 >= args.size()) {
        m_error = QStringLiteral("the option '%1' needs a value").arg(name);
        return false;
    }
    m_values.insert(name, args.at(++*index));
    return true;
}
