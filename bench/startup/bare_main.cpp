// The smallest Qt Widgets program with a window of the editor's size: the floor
// the editor's start-up is measured against. With --caption the window also shows
// one line of text, which adds the toolkit's first use of the system's fonts.
#include "firstpaint.h"

#include <QLabel>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(792, 535 + 22);
    if (argc > 1 && std::strcmp(argv[1], "--caption") == 0)
        (new QLabel(QStringLiteral("Kestrel File Editor"), &window))->move(8, 8);
    FirstPaintProbe probe(&window);
    window.show();
    return app.exec();
}
