#pragma once

#include "MessageBox.h"

#include <QList>
#include <QQueue>

#include <utility>

// Message boxes answered at once, every box recorded: questions from a queue filled beforehand, OK for the
// rest. A question with no queued answer is answered No and recorded, so nothing waits on a modal box.
class ScriptedMessageBox : public MessageBox {
public:
    Answer show(const Request& request) override
    {
        m_shown.append(request);
        if (request.buttons == Buttons::Ok)
            return Answer::Ok;
        if (!m_answers.isEmpty())
            return m_answers.dequeue();
        m_unexpected.append(request.text);
        return Answer::No;
    }

    void answerNext(Answer answer) { m_answers.enqueue(answer); }
    // The boxes shown since the last call, oldest first.
    QList<Request> takeRequests() { return std::exchange(m_shown, {}); }
    QStringList takeTexts()
    {
        QStringList texts;
        for (const Request& request : takeRequests())
            texts << request.text;
        return texts;
    }
    QStringList unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    QQueue<Answer> m_answers;
    QList<Request> m_shown;
    QStringList m_unexpected;
};
