#pragma once

#include "RawSqlite.h"
#include "SizeResult.h"

#include <QString>

#include <functional>
#include <memory>

class FormDriver;

// Every command on one notebook: the real window driven through its controls, and raw SQLite running
// the same statements on a connection of its own. Each figure is the median of the given number of
// runs after one unmeasured warm-up run. Each run is checked to have done what it should (the count
// shown, the messages, the rows), and a failed check stops the benchmark rather than report a figure
// for something else.
class SizeBench {
public:
    SizeBench(const QString& notebook, int size, int runs);
    ~SizeBench();

    SizeResult run();

private:
    using Action = std::function<void()>;
    struct Step {
        Action setup = {};
        Action action = {};
        Action check = {};
        // Whether the action changes what the list shows, so its figure must include painting it.
        bool paintsList = true;
    };

    // The action's times; with `painting`, also the part of each spent in the event loop's painting.
    Samples measure(const Step& step, Samples* painting);
    void record(const char* id, const QString& label, const Step& window, const Step& raw);

    void measureStartUp();
    void measureLists();
    void measureRegister();
    void measureDelete();
    void measureSearch(const char* id, const QString& label, const QString& text);
    void measureScrolling();

    // Steps that recur: a button (or key) followed by the next frame, and a list read as the store
    // reads it (first page, then the total count).
    void press(const char* button);
    void rawList(const char* list);
    QVariantList newPair();

    void expectMessages(const QStringList& texts);
    void expectCount(qint64 count);
    void expectRows(qint64 rows);

    QString m_notebook;
    int m_size;
    int m_runs;
    RawSqlite m_raw;
    std::unique_ptr<FormDriver> m_form;
    SizeResult m_result;
    int m_serial = 0;
};
