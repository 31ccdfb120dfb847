#pragma once

#include <QString>

// Text as a program writes it to its standard streams: lines end as the system's
// console programs end them, with CR LF on Windows.
inline QString systemLines(QString text)
{
#ifdef Q_OS_WIN
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
#endif
    return text;
}
