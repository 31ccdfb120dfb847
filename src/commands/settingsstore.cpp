#include "settingsstore.h"

#include <QSettings>

namespace {

// Organisation and application: the user's settings file is Kestrel/Kestrel.
const QString SettingsName = QStringLiteral("Kestrel");

} // namespace

QString QtSettingsStore::read(const QString &section, const QString &key,
                              const QString &defaultValue) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsName, SettingsName);
    if (settings.status() != QSettings::NoError)
        return defaultValue;
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtSettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsName, SettingsName);
    const QString name = section + QLatin1Char('/') + key;
    // Rewriting an unchanged value would still rewrite the whole file.
    const QVariant stored = settings.value(name);
    if (stored.isValid() && stored.toString() == value)
        return;
    settings.setValue(name, value);
}
