#pragma once

#include <QLineEdit>

// A one-line text box whose limit counts characters as the learner sees them (a kanji, an emoji or a
// letter with its accent is one), and which turns pasted line breaks and tabs into spaces, so that what
// is stored is what the box showed.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    void setMaxCharacters(int count);

    // Keeps the input method out of the box; the attribute alone does not, as the line edit answers the
    // input method's question itself.
    void setInputMethodOff();
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void tidy();

    int m_maxCharacters = 0;
    bool m_inputMethodOff = false;
};
