#pragma once

#include "MessageBox.h"

#include <QList>
#include <QQueue>

// Message boxes answered at once, for tests and the benchmark: questions from a queue filled beforehand,
// OK for the rest, every box recorded. A question with no queued answer is recorded as unexpected and
// answered No, so nothing can ever wait on a modal box.
class ScriptedMessageBox : public MessageBox {
public:
    Answer show(const Request& request) override;

    void answerNext(Answer answer) { m_answers.enqueue(answer); }
    // The texts of the boxes shown since the last call, oldest first.
    QStringList takeTexts();
    QList<Request> takeRequests();
    QStringList unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    QQueue<Answer> m_answers;
    QList<Request> m_shown;
    QStringList m_unexpected;
};
