#pragma once

// What both platforms' safe saving and reading share.

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Why a file over maxBytes is refused.
[[nodiscard]] QString tooLargeReason(qint64 maxBytes);

// Reads an open file whose size was expectedSize into bytes through readSome (which reads
// up to its count into its buffer and returns how many, 0 at the end, or -1 having set
// the reason). The file may grow while it is read: never more than maxBytes + 1 are taken,
// and a file that grows past maxBytes is refused. Returns why it failed, or nothing.
using ReadSome = std::function<qint64(char *buffer, qint64 count, QString &why)>;
[[nodiscard]] std::optional<QString> readBounded(QByteArray &bytes, qint64 expectedSize, qint64 maxBytes,
                                                 const ReadSome &readSome);
