// The smallest Qt Widgets program with a window of the editor's size: the floor
// the editor's start-up is measured against.
#include "firstpaint.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(792, 535 + 22);
    FirstPaintProbe probe(&window);
    window.show();
    return app.exec();
}
