// The editor as the application starts it, reporting its first paint.
#include "firstpaint.h"
#include "frmcarcamera.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    frmCarCamera window;
    FirstPaintProbe probe(&window);
    window.show();
    return app.exec();
}
