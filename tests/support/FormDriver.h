#pragma once

#include "DataGrid.h"
#include "Fakes.h"
#include "Form1.h"
#include "ScriptedMessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

// The real main window on a notebook, its seams in the caller's hands, driven as a user drives it.
struct FormDriver {
    // Another program's lock is waited on for a second, not the window's half minute.
    explicit FormDriver(const QString& path)
        : form(std::make_unique<Form1>(path, messages, exit, clock, 1000))
    {}

    template <typename T> T* find(const char* name) const { return form->findChild<T*>(QLatin1String(name)); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QLineEdit* text(const char* name) const { return find<QLineEdit>(name); }
    DataGrid* grid(const char* name) const { return find<DataGrid>(name); }
    QString count() const { return find<QLabel>("Label3")->text(); }
    void click(const char* name) const { button(name)->click(); }
    void type(const QString& english, const QString& japanese) const;
    void search(const QString& text) const;

    // The rows of the word list as shown, each row's cells joined by "|".
    QStringList list() const;
    // Selects rows of the list as the user would; the current row is the first of them unless given.
    void selectRows(const QList<int>& rows, int current = -1) const;
    // Fails the test on a message not yet taken, a question not asked, or an ended program.
    void expectQuiet();

    ScriptedMessageBox messages;
    RecordingExit exit;
    FixedClock clock;
    std::unique_ptr<Form1> form;
};
