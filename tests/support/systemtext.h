#pragma once

#include <QDir>
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

// A program's text with the test's folder written as "@", whether the program showed
// its path with the system's separators or with slashes.
inline QString folderAsMark(QString text, const QString &folder)
{
    const QString prefix = folder + QLatin1Char('/');
    text.replace(prefix, QStringLiteral("@"));
    text.replace(QDir::toNativeSeparators(prefix), QStringLiteral("@"));
    return text;
}
