#pragma once

#include "MessageBox.h"

#include <QQueue>
#include <QStringList>

// Answers at once, as if the human were infinitely quick: questions from a queue the benchmark fills,
// OK for the rest. Records every text so a run can be checked to have done what it was meant to.
class AnsweringMessageBox : public MessageBox {
public:
    Answer show(const Request& request) override;

    void answerNext(Answer answer) { m_answers.enqueue(answer); }
    // The texts shown since the last call, oldest first.
    QStringList takeTexts();
    // Questions that came with no answer queued (answered No).
    QStringList unexpected() const { return m_unexpected; }

private:
    QQueue<Answer> m_answers;
    QStringList m_shown;
    QStringList m_unexpected;
};
