#pragma once

#include <QObject>
#include <QStringList>

class SettingsStore;

// The files last opened or saved, newest first, each once, kept in the settings in
// section "RecentFiles" under the keys "RecentFile1" to "RecentFile8". What an
// earlier version or a hand-edited settings file left there is cleaned on reading:
// empty and relative entries, repeats and entries beyond the eighth are left out.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxCount = 8;

    explicit RecentFiles(SettingsStore &settings, QObject *parent = nullptr);

    QStringList files() const;
    // Puts the file first, once.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

signals:
    void changed();

private:
    // Whether two entries name the same file, as the file system compares names.
    static bool samePath(const QString &a, const QString &b);
    // Every entry stored, in key order, as written.
    QStringList storedEntries() const;
    void store(const QStringList &files);

    SettingsStore &m_settings;
};
