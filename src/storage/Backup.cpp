#include "Backup.h"

#include <QFileInfo>

QString backupPathFor(const QString &path)
{
    const QFileInfo info(path);
    const bool dataFile = info.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
    return info.dir().filePath((dataFile ? info.completeBaseName() : info.fileName()) + QStringLiteral(".bak"));
}

BackupResult backUpBeforeFirstChangeOfDay(const QString &path, const QByteArray &bytesBefore, const QDate &today)
{
    const QString backupPath = backupPathFor(path);
    const QFileInfo backup(backupPath);
    // A link's date is its target's: a link never counts as today's backup.
    if (!backup.isSymLink() && backup.isFile() && backup.lastModified().date() == today)
        return {true, false, {}};
    SaveOptions options;
    options.permissionsFrom = path;
    options.followLink = false;
    const SaveResult saved = writeFileSafely(backupPath, bytesBefore, options);
    return {saved.ok, saved.ok, saved.error};
}

QString keepBothName(const QDir &folder, const QString &fileName, const QDateTime &now)
{
    const QFileInfo info(fileName);
    const QString stem = QStringLiteral("%1 (ことばんで保存 %2").arg(info.completeBaseName(), now.toString(QStringLiteral("yyyy-MM-dd HHmm")));
    const QString suffix = QStringLiteral(").") + info.suffix();
    QString name = stem + suffix;
    for (int n = 2; QFileInfo::exists(folder.filePath(name)) || QFileInfo(folder.filePath(name)).isSymLink(); ++n)
        name = stem + QStringLiteral(" %1").arg(n) + suffix;
    return name;
}
