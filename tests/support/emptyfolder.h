#pragma once

#include <QDir>
#include <QTest>

// Empties a test's folder for the next test. Windows may keep a deleted file's name
// for a moment after its last handle closed (the folder is then "not empty"): try
// again for up to a second before giving up.
inline bool emptyFolder(const QString &path)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (QDir(path).removeRecursively() && QDir().mkpath(path))
            return true;
        QTest::qWait(20);
    }
    return false;
}
