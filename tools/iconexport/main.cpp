// Writes the program's icon as PNG files for desktop menus:
//   export-icon DIR   ->  DIR/hicolor/SIZExSIZE/apps/larkspur-theme-editor.png
#include "AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: export-icon DIR\n");
        return 2;
    }
    for (int size : {32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) ||
            !ApplicationIconImage(size).save(folder + QStringLiteral("/larkspur-theme-editor.png"))) {
            std::fprintf(stderr, "export-icon: cannot write into %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
