#pragma once

#include <QString>

// The per-user persisted settings: strings by section and key under the
// application name "Kestrel". A missing or unreadable value reads as its default;
// a failed write is ignored.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;
};

// The store the application uses: QSettings, application "Kestrel". By default the
// user's settings (the registry on Windows, a file in the user's configuration folder
// elsewhere); given a file, that INI file, with the same sections, keys and values.
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore() = default;
    explicit QtSettingsStore(const QString &iniFile) : m_iniFile(iniFile) {}

    // The store of a program in programFolder: a portable copy (a folder unpacked from
    // the zip, on a USB stick) keeps its settings in the file "Kestrel.ini" beside the
    // program where that file exists; otherwise the user's settings.
    static QtSettingsStore forProgramFolder(const QString &programFolder);

    // The INI file in use, or empty for the user's settings.
    QString iniFile() const { return m_iniFile; }

    QString read(const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &section, const QString &key, const QString &value) override;

private:
    QString m_iniFile;
};
