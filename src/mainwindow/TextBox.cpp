#include "TextBox.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {
// Length, in UTF-16 units, of the first `count` characters of `text`.
qsizetype prefixLength(const QString& text, int count)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            return text.size();
        end = next;
    }
    return end;
}
} // namespace

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::tidy);
}

void TextBox::setMaxCharacters(int count)
{
    m_maxCharacters = count;
    tidy();
}

void TextBox::tidy()
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\t]"));
    QString tidied = text();
    tidied.replace(breaks, QStringLiteral(" "));
    if (m_maxCharacters > 0)
        tidied.truncate(prefixLength(tidied, m_maxCharacters));
    if (tidied == text())
        return;
    // The cursor stays after what was before it, however much the tidying shortened that.
    QString before = text().left(cursorPosition());
    before.replace(breaks, QStringLiteral(" "));
    const int cursor = int(qMin(before.size(), tidied.size()));
    setText(tidied);
    setCursorPosition(cursor);
}

void TextBox::setInputMethodOff()
{
    m_inputMethodOff = true;
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && m_inputMethodOff)
        return false;
    return QLineEdit::inputMethodQuery(query);
}
