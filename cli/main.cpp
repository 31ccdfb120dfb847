// kestrel-cam: the editor's camera files on the command line.

#include "kestrelcam.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kestrelcam::runKestrelCam(application.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
