#pragma once

#include "BenchExit.h"
#include "Clock.h"
#include "ScriptedMessageBox.h"

#include <QObject>
#include <QString>

#include <memory>

class Form1;
class PagedResult;
class QTableView;

// The real main window on a notebook, shown offscreen and driven the way a user would drive it:
// buttons, text boxes, a click in the list, keys. Every paint is a real one into the window's image.
class FormDriver : public QObject {
    Q_OBJECT
public:
    // Builds the window, shows it and paints its first frame; throws when the program asked to end.
    explicit FormDriver(const QString& notebook);
    ~FormDriver() override;

    void click(const char* button);
    void setText(const char* box, const QString& text);
    QString text(const char* box) const;
    // The count label.
    QString count() const;
    QTableView* list() const;
    // What the list shows, read a page at a time; its reads throw where the list's would leave blanks.
    PagedResult* listResult() const;
    void clickRow(int row);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Makes the row current and scrolls so that it is the last one in view.
    void showRowAtBottom(int row);
    // What the event loop does after a command: layouts, delayed updates, and the paint of whatever
    // changed, for real, into the window's image. Throws when the program asked to end.
    void paint();
    // How often the list has been painted, so a figure that should include painting it can be checked to.
    int listPaints() const { return m_listPaints; }
    // Milliseconds spent in paint() so far, so a figure can be split into the handler and the frame.
    double paintMs() const { return m_paintMs; }

    ScriptedMessageBox& messages() { return m_messages; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScriptedMessageBox m_messages;
    BenchExit m_exit;
    SystemClock m_clock;
    std::unique_ptr<Form1> m_form;
    int m_listPaints = 0;
    double m_paintMs = 0;
};
