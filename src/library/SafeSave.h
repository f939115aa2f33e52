#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct SaveResult {
    bool ok = true;
    QString error;
};

// Replaces the file with bytes only once they are completely on disk: a crash, a full
// disk or a failed write leaves the old file as it was.
[[nodiscard]] SaveResult writeFileSafely(const QString &path, const QByteArray &bytes);

// The file's current bytes; nothing when it does not exist or cannot be read.
[[nodiscard]] std::optional<QByteArray> currentBytes(const QString &path);
