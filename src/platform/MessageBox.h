#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through here, so tests can answer and inspect them.
class MessageBox {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Question };
    enum class Answer { Ok, Yes, No };

    struct Request {
        QString text;
        QString caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        Answer defaultAnswer = Answer::Ok;
    };

    virtual ~MessageBox() = default;
    virtual Answer show(const Request& request) = 0;

    static QString caption() { return QStringLiteral("Tessimor"); }
    // OK only, no icon.
    void information(const QString& text);
    // Yes and No, the question icon, No the default; true for Yes.
    bool question(const QString& text);
};

// The real, modal boxes.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr)
        : m_parent(parent)
    {}
    Answer show(const Request& request) override;

private:
    QWidget* m_parent;
};
