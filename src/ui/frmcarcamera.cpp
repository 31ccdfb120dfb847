#include "frmcarcamera.h"

frmCarCamera::frmCarCamera(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmCarCamera"));
    setWindowTitle(QStringLiteral("Kestrel File Editor"));
    resize(792, 535);
}
