// Preloaded into the real program by startup_test and install_test: closes each window (message box or main
// window) as soon as it shows, printing what it was, so that no run waits on a user and the program ends with
// its window.
#include <QApplication>

namespace {
struct Hook : QObject {
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show &&
            (object->inherits("QDialog") || object->inherits("QMainWindow"))) {
            qWarning("shown: %s %s", object->metaObject()->className(),
                     qPrintable(object->property("text").toString()));
            QMetaObject::invokeMethod(object, "close", Qt::QueuedConnection);
        }
        return false;
    }
};
// Also loaded, through the launcher's environment, into tessimor-db, which has no QApplication.
void install()
{
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new Hook(app));
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(install)
