#include "SaveLock.h"

#include "Reasons.h"
#include "SafeSave.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>

QString lockPathFor(const QString &path)
{
    // A file reached through a link is locked where it is written: beside its target.
    const QFileInfo link(path);
    const QString canonical = link.isSymLink() ? link.canonicalFilePath() : QString();
    const QFileInfo target(canonical.isEmpty() ? link.absoluteFilePath() : canonical);
    return target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".kotoban-lock"));
}

SaveLock::SaveLock(const QString &path, int waitMilliseconds) : m_lock(lockPathFor(path))
{
    m_lock.setStaleLockTime(StaleLockAge);
    errno = 0;
    if (m_lock.tryLock(waitMilliseconds))
        return;
    const int error = errno;
    if (m_lock.error() != QLockFile::LockFailedError) {
        m_error = teacherReason(error != 0 ? error : EIO);
        return;
    }
    // A lock older than any save that could not be taken over: the folder's system cannot
    // lock files (a share mounted without locking), so only the teacher can clear it.
    const QFileInfo lockFile(lockPathFor(path));
    if (lockFile.lastModified().msecsTo(QDateTime::currentDateTime()) > StaleLockAge) {
        m_error = QStringLiteral("前に止まったことばんの印「%1」が残っています。ほかのパソコンでこの学級を開いて"
                                 "いなければ、同じフォルダーにあるそのファイルを消してください")
                      .arg(lockFile.fileName());
        return;
    }
    qint64 pid = 0;
    QString host;
    QString program;
    if (m_lock.getLockInfo(&pid, &host, &program) && !host.isEmpty() && host != QSysInfo::machineHostName())
        m_error = QStringLiteral("コンピューター「%1」のことばんが保存しているところです。少し待ってください").arg(host);
    else
        m_error = QStringLiteral("もう一つのことばんが保存しているところです。少し待ってください");
}

CheckedReplace replaceIfUnchanged(const QString &path, const std::optional<QByteArray> &expected,
                                  const QByteArray &bytes, int lockWait)
{
    const SaveLock lock(path, lockWait);
    if (!lock.isHeld())
        return {CheckedReplace::Outcome::Failed, lock.error(), {}};
    const ReadResult now = readCurrent(path);
    if (changedOnDisk(now, expected))
        return {CheckedReplace::Outcome::Changed, now.error, {}};
    const SaveResult saved = writeFileSafely(path, bytes);
    if (!saved.ok)
        return {CheckedReplace::Outcome::Failed, saved.error, {}};
    return {CheckedReplace::Outcome::Written, {}, saved.warning};
}
