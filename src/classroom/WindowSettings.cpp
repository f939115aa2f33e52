#include "WindowSettings.h"

#include <QDir>
#include <QSettings>

namespace {

QString settingsPath(const QString &workingFolder)
{
    return QDir(workingFolder).filePath(QStringLiteral("KotobanClassWindow.ini"));
}

} // namespace

int storedSetting(const QString &workingFolder, const QString &key, int fallback)
{
    bool ok = false;
    const int value = QSettings(settingsPath(workingFolder), QSettings::IniFormat).value(key).toInt(&ok);
    return ok ? value : fallback;
}

void storeSetting(const QString &workingFolder, const QString &key, int value)
{
    QSettings(settingsPath(workingFolder), QSettings::IniFormat).setValue(key, value);
}
