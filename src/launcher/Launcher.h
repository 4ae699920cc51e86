#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class MessageBox;

// What the menu entry runs before the window: an Access notebook of the old design converted, a missing
// notebook made, the day's backup kept, then the window started. Every dead end on the way is said in a
// message box and, where there is one, offers the way out; the learner never sees standard error.
class Launcher {
    Q_DECLARE_TR_FUNCTIONS(Launcher)

public:
    // Starts the window without waiting for it; false when it could not be started.
    using StartWindow = std::function<bool()>;

    // tessimorDb converts, in a process of its own so that the Access library can neither crash nor hang
    // the launcher; one still running past convertLimit is killed.
    Launcher(MessageBox& messages, const QString& notebook, const QString& tessimorDb,
             StartWindow startWindow, std::chrono::milliseconds convertLimit = std::chrono::minutes(5));

    // Where the old design kept the notebook (C:\word.mdb on Windows): brought over, and left as it was,
    // when the notebook is not there yet.
    void setFormerNotebook(const QString& path) { m_former = path; }

    // The exit status: 0 once the window has started.
    int run(const QDate& today);

private:
    struct Convert;
    struct Backup {
        QString path;
        QDate day;
    };

    bool bringOver();
    Convert runConvert(bool acceptReplacements) const;
    bool convert(bool acceptReplacements);
    bool notebookThere();
    bool backUp(const QDate& today);
    bool restore(const QString& folder);
    std::optional<Backup> newestSoundBackup(const QString& folder) const;
    QString convertLimitText() const;

    MessageBox& m_messages;
    QString m_notebook;
    QString m_former;
    QString m_tessimorDb;
    StartWindow m_startWindow;
    std::chrono::milliseconds m_convertLimit;
};
