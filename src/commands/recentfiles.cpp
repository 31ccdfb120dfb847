#include "recentfiles.h"

#include "settingsstore.h"

#include <QDir>

#include <algorithm>

namespace {

const QString RecentSection = QStringLiteral("RecentFiles");
// No stored value can be this: settings hold no NUL character.
const QString Absent(1, QChar(0));
// Keys are read until one is absent, at most this many.
constexpr int MostKeysRead = 100;

QString recentKey(int index)
{
    return QStringLiteral("RecentFile%1").arg(index + 1);
}

QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

RecentFiles::RecentFiles(SettingsStore &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
}

bool RecentFiles::samePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    return cleanPath(a).compare(cleanPath(b), sensitivity) == 0;
}

QStringList RecentFiles::storedEntries() const
{
    QStringList entries;
    for (int i = 0; i < MostKeysRead; ++i) {
        const QString entry = m_settings.read(RecentSection, recentKey(i), Absent);
        if (entry == Absent)
            break;
        entries << entry;
    }
    return entries;
}

QStringList RecentFiles::files() const
{
    QStringList files;
    for (const QString &entry : storedEntries()) {
        if (files.size() == MaxCount)
            break;
        if (entry.trimmed().isEmpty() || !QDir::isAbsolutePath(entry))
            continue;
        const QString path = cleanPath(entry);
        const bool repeated = std::any_of(files.cbegin(), files.cend(),
                                          [&](const QString &f) { return samePath(f, path); });
        if (!repeated)
            files << path;
    }
    return files;
}

void RecentFiles::add(const QString &path)
{
    QStringList list = files();
    list.removeIf([&](const QString &f) { return samePath(f, path); });
    list.prepend(cleanPath(path));
    store(list.mid(0, MaxCount));
}

void RecentFiles::remove(const QString &path)
{
    QStringList list = files();
    if (list.removeIf([&](const QString &f) { return samePath(f, path); }) > 0)
        store(list);
}

void RecentFiles::clear()
{
    store({});
}

// The list in the first keys; every key after it that still holds something is emptied.
void RecentFiles::store(const QStringList &files)
{
    const QStringList before = storedEntries();
    for (int i = 0; i < files.size(); ++i)
        m_settings.write(RecentSection, recentKey(i), files[i]);
    for (int i = int(files.size()); i < before.size(); ++i) {
        if (!before[i].isEmpty())
            m_settings.write(RecentSection, recentKey(i), QString());
    }
    emit changed();
}
