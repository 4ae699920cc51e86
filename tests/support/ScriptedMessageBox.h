#pragma once

#include "MessageBox.h"

#include <QList>
#include <QQueue>

// Answers questions from a queue the test fills, and records every box. A question with no queued
// answer is recorded as unexpected and answered No, so a test can never hang on a modal box.
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
