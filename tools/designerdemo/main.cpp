// Opens the shape designer on its usual database, to try it by hand before the main window
// exists. A database path given as the only argument is used instead. The program last
// exported for the palette is printed when the designer closes.
#include "app/designer/shapedesigner.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velkor"));
    const QStringList arguments = QApplication::arguments();
    const QString path =
        arguments.size() > 1 ? arguments.at(1) : designer::ShapeDesigner::DefaultDatabasePath();
    designer::ShapeDesigner designerWindow(path);
    designerWindow.exec();
    const QByteArray program = designerWindow.customPaletteProgram();
    if (!program.isEmpty()) {
        std::printf("palette program: %d bytes\n", static_cast<int>(program.size()));
    }
    return 0;
}
