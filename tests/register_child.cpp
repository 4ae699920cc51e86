// Registers numbered pairs through the real window until killed, printing each registration once the
// window has confirmed it.
#include "FormDriver.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    FormDriver ui(QString::fromLocal8Bit(argv[1]));
    const int first = QByteArray(argv[2]).toInt();
    const int count = QByteArray(argv[3]).toInt();
    for (int i = first; i < first + count; ++i) {
        ui.clock.moment = ui.clock.moment.addSecs(1);
        ui.text("Text1")->setText(QStringLiteral("word%1").arg(i));
        ui.text("Text2")->setText(QStringLiteral("単語%1").arg(i));
        ui.click("Command1");
        if (ui.messages.takeTexts() != QStringList{"登録しました"})
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
