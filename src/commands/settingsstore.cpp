#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

// Organisation and application: the user's settings file is Kestrel/Kestrel.
const QString SettingsName = QStringLiteral("Kestrel");
const QString PortableFileName = QStringLiteral("Kestrel.ini");

std::unique_ptr<QSettings> openSettings(const QString &iniFile)
{
    if (iniFile.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           SettingsName, SettingsName);
    return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

} // namespace

QtSettingsStore QtSettingsStore::forProgramFolder(const QString &programFolder)
{
    const QFileInfo portable(QDir(programFolder).filePath(PortableFileName));
    return portable.isFile() ? QtSettingsStore(portable.absoluteFilePath()) : QtSettingsStore();
}

QString QtSettingsStore::read(const QString &section, const QString &key,
                              const QString &defaultValue) const
{
    const auto settings = openSettings(m_iniFile);
    if (settings->status() != QSettings::NoError)
        return defaultValue;
    const QVariant value = settings->value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtSettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const auto settings = openSettings(m_iniFile);
    const QString name = section + QLatin1Char('/') + key;
    // Rewriting an unchanged value would still rewrite the whole file.
    const QVariant stored = settings->value(name);
    if (stored.isValid() && stored.toString() == value)
        return;
    settings->setValue(name, value);
}
