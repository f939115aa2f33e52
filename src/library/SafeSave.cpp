#include "SafeSave.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QStringList removeLeftoverTemporaries(const QString &folder)
{
    static const QRegularExpression name(QStringLiteral("^\\..+") + QRegularExpression::escape(QString::fromUtf16(TemporaryInfix))
                                         + QStringLiteral("[A-Za-z0-9]{6}$"));
    const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
    QStringList removed;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (info.isSymLink() || !info.isFile() || !name.match(info.fileName()).hasMatch() || info.lastModified() > old)
            continue;
        if (QFile::remove(info.filePath()))
            removed += info.fileName();
    }
    return removed;
}

std::optional<QByteArray> currentBytes(const QString &path)
{
    // Twice the largest file that is read: a larger one is certainly not ours.
    ReadResult read = readRegularFile(path, 2 * 16 * 1024 * 1024);
    if (read.state != ReadResult::State::Read)
        return std::nullopt;
    return std::move(read.bytes);
}
