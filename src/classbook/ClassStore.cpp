#include "ClassStore.h"

#include "Backup.h"
#include "ClassFile.h"
#include "HandIns.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int DefaultDelay = 800;
const char LastClassFile[] = "KotobanLastClass.txt";

QString fileName(const QString &path) { return QFileInfo(path).fileName(); }

QString cannotRead(const QString &path, const ReadResult &read)
{
    const QString why = read.state == ReadResult::State::Missing ? QStringLiteral("ファイルがありません") : read.error;
    return QStringLiteral("「%1」を読めません（%2）。").arg(fileName(path), why);
}

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
    const ReadResult bytes = readCurrent(path);
    if (bytes.state != ReadResult::State::Read)
        return {false, cannotRead(path, bytes)};
    ClassFileRead read = readClassFile(bytes.bytes);
    if (const QString copy = handInCopyRefusal(bytes.bytes); read.ok && !copy.isEmpty())
        read = {false, ClassBook(), copy};
    if (!read.ok)
        return {false, QStringLiteral("「%1」を開けません。%2").arg(fileName(path), read.error)};
    m_timer.stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_book = read.book;
    m_lastBytes = bytes.bytes;
    m_dirty = false;
    m_wroteChanges = false;
    setState(State::Saved);
    Q_EMIT bookReplaced();
    return {};
}

SaveResult ClassStore::create(const QString &path, const ClassBook &book)
{
    // A file already there (the teacher agreed to replace it) is ours to replace: its
    // bytes go into the day's backup at the first write. One that cannot be read cannot
    // be kept so: it is left alone.
    const ReadResult existing = readCurrent(path);
    if (existing.state == ReadResult::State::Refused)
        return {false, QStringLiteral("「%1」を読めないので、新しい学級で置きかえません（%2）。").arg(fileName(path), existing.error)};
    m_timer.stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_book = book;
    m_lastBytes.reset();
    if (existing.state == ReadResult::State::Read)
        m_lastBytes = existing.bytes;
    m_dirty = true;
    m_wroteChanges = false;
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
    return write();
}

SaveResult ClassStore::saveForClosing()
{
    // What this window wrote may have been replaced since by another window: then its class
    // is nowhere on disk, and closing must ask as a save does.
    if (isOpen() && !m_dirty && m_wroteChanges && m_state == State::Saved) {
        const ReadResult now = readCurrent(m_path);
        if (now.state != ReadResult::State::Read || now.bytes != m_lastBytes)
            m_dirty = true;
    }
    return saveNow();
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
    const CheckedReplace saved = replaceIfUnchanged(m_path, m_lastBytes, bytes, m_lockWait);
    switch (saved.outcome) {
    case CheckedReplace::Outcome::Changed:
        setState(State::Conflict,
                 saved.error.isEmpty()
                     ? QStringLiteral("「%1」がほかのプログラムか、もう一つのことばんで書きかえられています。").arg(fileName(m_path))
                     : QStringLiteral("「%1」が読めなくなっています（%2）。").arg(fileName(m_path), saved.error));
        return {false, m_error};
    case CheckedReplace::Outcome::Failed:
        setState(State::Failed, QStringLiteral("「%1」に保存できません（%2）。").arg(fileName(m_path), saved.error));
        return {false, m_error};
    case CheckedReplace::Outcome::Written:
        break;
    }
    // In place, even when the folder could not be synced: these are the file's bytes now.
    m_lastBytes = bytes;
    m_dirty = false;
    m_wroteChanges = true;
    setState(State::Saved, saved.warning);
    return SaveResult::savedWithWarning(saved.warning);
}

SaveResult ClassStore::overwriteOther()
{
    if (m_state != State::Conflict)
        return saveNow();
    // The teacher chose this window's class over what is there now; a file that cannot be
    // read is not replaced, whatever she chose (keeping both still saves her class).
    const ReadResult now = readCurrent(m_path);
    if (now.state == ReadResult::State::Refused)
        return {false, QStringLiteral("「%1」は読めないので上書きしません（%2）。").arg(fileName(m_path), now.error)};
    m_lastBytes.reset();
    if (now.state == ReadResult::State::Read)
        m_lastBytes = now.bytes;
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
        m_lastBytes = classFileBytes(m_book);
        m_dirty = false;
        m_wroteChanges = true;
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
