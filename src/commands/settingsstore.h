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

// The store the application uses: QSettings, application "Kestrel".
class QtSettingsStore : public SettingsStore
{
public:
    QString read(const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &section, const QString &key, const QString &value) override;
};
