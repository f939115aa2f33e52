#pragma once

#include <QString>

// What the class window remembers between runs (a panel's width), in KotobanClassWindow.ini
// in the working folder, beside the name of the class used last.
[[nodiscard]] int storedSetting(const QString &workingFolder, const QString &key, int fallback);
void storeSetting(const QString &workingFolder, const QString &key, int value);
