#pragma once

#include "ResultGrid.h"

#include <QString>

// The main window as the store's operations see it: the three grids, the text boxes, the count label,
// the Delete button, a message box and the end of the program.
class WordView {
public:
    virtual ~WordView() = default;

    virtual ResultGrid& DataGrid1() = 0;
    virtual ResultGrid& DataGrid2() = 0;
    virtual ResultGrid& DataGrid3() = 0;

    virtual QString text1() const = 0;
    virtual QString text2() const = 0;
    virtual QString text3() const = 0;
    virtual void setText1(const QString& text) = 0;
    virtual void setText2(const QString& text) = 0;
    virtual void setText3(const QString& text) = 0;
    virtual void setLabel3(const QString& caption) = 0;
    virtual void setCommand2Enabled(bool enabled) = 0;

    // A modal message with an OK button, no icon and the program's caption.
    virtual void showMessage(const QString& text) = 0;
    // Ends the program with a failure status once the current event is done.
    virtual void endProgram() = 0;
};
