// Renders the window icon as PNG at the sizes a desktop's icon theme asks for. The icon is pixel art, so
// it is enlarged pixel for pixel rather than smoothed.
// Usage: render-icon SOURCE SIZE OUTPUT.png
#include <QCoreApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int size = args.size() == 4 ? args[2].toInt(&ok) : 0;
    if (!ok || size <= 0) {
        std::fputs("Usage: render-icon SOURCE SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    const QImage source(args[1]);
    if (source.isNull()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QImage icon = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!icon.save(args[3], "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
