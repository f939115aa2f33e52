#pragma once

#include <QString>

class QFileDevice;

// Why a step on a file failed, in the words a teacher reads: Japanese, and what to do where
// there is something to do ("ディスクがいっぱいです…"). Every message built from a system error
// number goes through here, never the system's own text (English on most machines).
[[nodiscard]] QString teacherReason(int errorNumber);

// The same for a file that could not be read: a missing permission is to read, not to write.
[[nodiscard]] QString readingReason(int errorNumber);

// The same for a failed operation of a QFile, from its error kind (its errorString() is the
// system's English).
[[nodiscard]] QString fileDeviceReason(const QFileDevice &file);
