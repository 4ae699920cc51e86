#include "AnsweringMessageBox.h"

MessageBox::Answer AnsweringMessageBox::show(const Request& request)
{
    m_shown.append(request.text);
    if (request.buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        m_unexpected.append(request.text);
        return Answer::No;
    }
    return m_answers.dequeue();
}

QStringList AnsweringMessageBox::takeTexts()
{
    QStringList shown;
    shown.swap(m_shown);
    return shown;
}
