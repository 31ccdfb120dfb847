#include "frmcarcamera.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    frmCarCamera window;
    window.show();
    return app.exec();
}
