#pragma once

#include "JournalWatch.h"
#include "Operation.h"
#include "RawSqlite.h"
#include "ResidentWatch.h"
#include "SoakFigures.h"
#include "SoakOptions.h"
#include "WordGenerator.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class FormDriver;
class ListCheck;
class WriterProcess;

// Mixed operations through the real window on a large notebook while a second process writes to it now
// and then. Every operation is checked as it happens (the messages shown, the list against its count and
// the file, every cell in view), the journal after each, memory every few hundred, and the file at the
// end. A check the writer may have upset is made again on a list loaded afresh, never simply waived.
class Soak {
public:
    explicit Soak(const SoakOptions& options);
    ~Soak();

    // Runs it all; the figures carry every failed check.
    SoakFigures run();

private:
    // The list the window shows, as the soak last loaded it.
    struct Shown {
        const char* button = "Command3";
        // The searched text, when Search made the list.
        QString search;
        // Where the writer stood just before it was loaded.
        quint64 since = 0;
    };

    void start();
    void runOperations();
    void operate(Operation operation);
    void finish();

    void registerPair();
    void deletePair();
    void showList(const char* button);
    void search();
    void jump();
    void toEnd();
    void pageDown();

    // Runs an action that ends in the whole table listed by `button`, then checks that list.
    void wholeTableAfter(const char* button, const std::function<void()>& action);
    // Scrolls the list, then checks every cell that comes into view.
    void scrolled(const std::function<void()>& scroll);
    // Repeats the check on the list loaded afresh (`again`) while it finds a problem the writer may have
    // caused; fails on one it cannot have.
    void settle(const std::function<void()>& again, const std::function<QString()>& problem);
    void reload();
    QString wholeTableProblem();
    QString searchProblem(bool* hit);
    int rowToDelete();
    QString searchText();

    void press(const char* button);
    quint64 writerMark() const;
    // The texts of the boxes shown since last asked; fails on any outside `allowed` or a question left
    // unanswered.
    QStringList takeMessages(const QStringList& allowed);
    void expectMessages(const QStringList& texts);
    int rows() const;

    SoakOptions m_options;
    QString m_notebook;
    WordGenerator m_random;
    RawSqlite m_raw;
    JournalWatch m_journal;
    ResidentWatch m_memory;
    std::unique_ptr<FormDriver> m_form;
    std::unique_ptr<ListCheck> m_check;
    std::unique_ptr<WriterProcess> m_writer;
    Shown m_shown;
    // Runs from the first operation.
    QElapsedTimer m_clock;
    int m_serial = 0;
    SoakFigures m_figures;
};
