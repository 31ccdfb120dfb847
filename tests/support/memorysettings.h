#pragma once

#include "settingsstore.h"

#include <QMap>

// Settings kept in memory, so that tests never touch the user's.
class MemorySettings : public SettingsStore
{
public:
    QMap<QString, QString> values; // "Section/Key" -> value
    QStringList writes;            // "Section/Key" in the order written

    QString read(const QString &section, const QString &key,
                 const QString &defaultValue) const override
    {
        return values.value(section + QLatin1Char('/') + key, defaultValue);
    }
    void write(const QString &section, const QString &key, const QString &value) override
    {
        values.insert(section + QLatin1Char('/') + key, value);
        writes.append(section + QLatin1Char('/') + key);
    }
    QString get(const QString &section, const QString &key) const
    {
        return values.value(section + QLatin1Char('/') + key);
    }
};
