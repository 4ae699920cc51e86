#include "MessageBox.h"

#include <QMessageBox>

void MessageBox::information(const QString& text)
{
    show({text, caption(), Buttons::Ok, Icon::None, Answer::Ok});
}

bool MessageBox::question(const QString& text)
{
    return show({text, caption(), Buttons::YesNo, Icon::Question, Answer::No}) == Answer::Yes;
}

MessageBox::Answer QtMessageBox::show(const Request& request)
{
    QMessageBox box(request.icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                    request.caption, request.text, QMessageBox::NoButton, m_parent);
    if (request.buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return request.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
}
