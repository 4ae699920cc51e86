#include "ScriptedMessageBox.h"

MessageBox::Answer ScriptedMessageBox::show(const Request& request)
{
    m_shown.append(request);
    if (request.buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        m_unexpected.append(request.text);
        return Answer::No;
    }
    return m_answers.dequeue();
}

QStringList ScriptedMessageBox::takeTexts()
{
    QStringList texts;
    for (const Request& request : takeRequests())
        texts << request.text;
    return texts;
}

QList<MessageBox::Request> ScriptedMessageBox::takeRequests()
{
    QList<Request> shown;
    shown.swap(m_shown);
    return shown;
}
