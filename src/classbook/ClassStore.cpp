#include "ClassStore.h"

#include "Backup.h"
#include "ClassFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int DefaultDelay = 800;
const char LastClassFile[] = "KotobanLastClass.txt";

QString fileName(const QString &path) { return QFileInfo(path).fileName(); }

} // namespace

ClassStore::ClassStore(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(DefaultDelay);
    connect(&m_timer, &QTimer::timeout, this, [this]() { (void)saveNow(); });
}

QString ClassStore::backupPath() const { return backupPathFor(m_path); }

SaveResult ClassStore::open(const QString &path)
{
    const std::optional<QByteArray> bytes = currentBytes(path);
    if (!bytes) {
        QFile file(path);
        const QString why = QFileInfo(path).isDir() ? QStringLiteral("フォルダーです")
                            : file.open(QIODevice::ReadOnly) ? QString()
                                                              : file.errorString();
        return {false, QStringLiteral("「%1」を読めません（%2）。").arg(fileName(path), why)};
    }
    ClassFileRead read = readClassFile(*bytes);
    if (!read.ok)
        return {false, QStringLiteral("「%1」を開けません。%2").arg(fileName(path), read.error)};
    m_timer.stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_book = read.book;
    m_lastBytes = bytes;
    m_dirty = false;
    setState(State::Saved);
    Q_EMIT bookReplaced();
    return {};
}

SaveResult ClassStore::create(const QString &path, const ClassBook &book)
{
    m_timer.stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_book = book;
    // A file already there (the teacher agreed to replace it) is ours to replace: its
    // bytes go into the day's backup at the first write.
    m_lastBytes = currentBytes(m_path);
    m_dirty = true;
    Q_EMIT bookReplaced();
    return saveNow();
}

void ClassStore::changed()
{
    m_dirty = true;
    if (m_state == State::Conflict)
        return;
    if (!m_timer.isActive())
        m_timer.start();
    setState(State::Pending);
}

SaveResult ClassStore::saveNow()
{
    m_timer.stop();
    if (!isOpen())
        return {};
    if (m_state == State::Conflict)
        return {false, m_error};
    if (!m_dirty)
        return {m_state != State::Failed, m_state == State::Failed ? m_error : QString()};
    const ReadResult onDisk = readCurrent(m_path);
    if (changedOnDisk(onDisk, m_lastBytes)) {
        const QString why = onDisk.state == ReadResult::State::Refused
            ? QStringLiteral("「%1」が読めなくなっています（%2）。").arg(fileName(m_path), onDisk.error)
            : QStringLiteral("「%1」がほかのプログラムか、もう一つのことばんで書きかえられています。").arg(fileName(m_path));
        setState(State::Conflict, why);
        return {false, m_error};
    }
    return write();
}

SaveResult ClassStore::write()
{
    if (m_lastBytes) {
        const BackupResult backup = backUpBeforeFirstChangeOfDay(m_path, *m_lastBytes);
        if (!backup.ok) {
            setState(State::Failed, QStringLiteral("予備の「%1」を作れないので保存していません（%2）。")
                                        .arg(fileName(backupPath()), backup.error));
            return {false, m_error};
        }
    }
    const QByteArray bytes = classFileBytes(m_book);
    const SaveResult saved = writeFileSafely(m_path, bytes);
    if (!saved.ok) {
        setState(State::Failed, QStringLiteral("「%1」に保存できません（%2）。").arg(fileName(m_path), saved.error));
        return {false, m_error};
    }
    // In place, even when the folder could not be synced: these are the file's bytes now.
    m_lastBytes = bytes;
    m_dirty = false;
    setState(State::Saved, saved.warning);
    return saved;
}

SaveResult ClassStore::overwriteOther()
{
    if (m_state != State::Conflict)
        return saveNow();
    // The teacher chose this window's class over whatever is there, readable or not.
    m_dirty = true;
    setState(State::Pending);
    return write();
}

ClassStore::KeptBoth ClassStore::keepBoth()
{
    const QFileInfo info(m_path);
    const QString beside = info.dir().filePath(keepBothName(info.dir(), info.fileName(), QDateTime::currentDateTime()));
    const SaveResult saved = writeFileSafely(beside, classFileBytes(m_book));
    if (!saved.ok)
        return {false, QString(), QStringLiteral("「%1」に保存できません（%2）。").arg(fileName(beside), saved.error)};
    const QString path = m_path;
    const SaveResult reopened = open(path);
    if (!reopened.ok) {
        // The other program's file cannot be read: stay with this class under the new name.
        m_path = beside;
        m_lastBytes = currentBytes(beside);
        m_dirty = false;
        setState(State::Saved);
        Q_EMIT bookReplaced();
        return {true, beside, reopened.error};
    }
    return {true, beside, QString()};
}

void ClassStore::setState(State state, const QString &error)
{
    const bool differs = state != m_state || error != m_error;
    m_state = state;
    m_error = error;
    if (differs)
        Q_EMIT stateChanged(state);
}

QString lastClassPath(const QString &workingFolder)
{
    const std::optional<QByteArray> bytes = currentBytes(QDir(workingFolder).filePath(QLatin1String(LastClassFile)));
    if (!bytes)
        return {};
    const QString remembered = QString::fromUtf8(*bytes).trimmed();
    if (remembered.isEmpty())
        return {};
    return QDir(workingFolder).absoluteFilePath(remembered);
}

void rememberLastClass(const QString &workingFolder, const QString &classPath)
{
    const QDir folder(workingFolder);
    QString stored = folder.relativeFilePath(classPath);
    if (stored.startsWith(QStringLiteral("..")))
        stored = QFileInfo(classPath).absoluteFilePath();
    const QString file = folder.filePath(QLatin1String(LastClassFile));
    const QByteArray bytes = stored.toUtf8() + '\n';
    if (currentBytes(file) != bytes) // reopening the same class writes nothing
        (void)writeFileSafely(file, bytes);
}
