#include "Backup.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

QString backupPathFor(const QString &dataPath)
{
    const QFileInfo info(dataPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".bak"));
}

BackupResult backUpBeforeFirstChangeOfDay(const QString &dataPath, const QByteArray &bytesAsRead, const QDate &today)
{
    const QString backupPath = backupPathFor(dataPath);
    const QFileInfo backup(backupPath);
    // A link's date is its target's: a link never counts as today's backup.
    if (!backup.isSymLink() && backup.isFile() && backup.lastModified().date() == today)
        return {true, false, {}};
    SaveOptions options;
    options.permissionsFrom = dataPath;
    options.followLink = false;
    const SaveResult saved = writeFileSafely(backupPath, bytesAsRead, options);
    return {saved.ok, saved.ok, saved.error};
}
