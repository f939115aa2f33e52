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
    if (const QString copy = handInCopyRefusal(*bytes); read.ok && !copy.isEmpty())
        read = {false, ClassBook(), copy};
    if (!read.ok)
        return {false, QStringLiteral("「%1」を開けません。%2").arg(fileName(path), read.error)};
    m_timer.stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_book = read.book;
    m_openedBytes = bytes;
    m_lastBytes = bytes;
    m_backupDone = false;
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
    m_openedBytes = currentBytes(m_path);
    m_lastBytes = m_openedBytes;
    m_backupDone = false;
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
        return {m_state != State::Failed, m_error};
    const std::optional<QByteArray> onDisk = currentBytes(m_path);
    if (onDisk && onDisk != m_lastBytes) {
        setState(State::Conflict, QStringLiteral("「%1」がほかのプログラムか、もう一つのことばんで書きかえられています。")
                                      .arg(fileName(m_path)));
        return {false, m_error};
    }
    return write();
}

SaveResult ClassStore::write()
{
    if (!m_backupDone && m_openedBytes) {
        const QString backup = backupPath();
        // As a data file's backup: the class file's permissions, never through a link.
        SaveOptions options;
        options.permissionsFrom = m_path;
        options.followLink = false;
        const SaveResult saved = writeFileSafely(backup, *m_openedBytes, options);
        if (!saved.ok) {
            setState(State::Failed,
                     QStringLiteral("予備の「%1」を作れないので保存していません（%2）。").arg(fileName(backup), saved.error));
            return {false, m_error};
        }
        m_backupDone = true;
    }
    const QByteArray bytes = classFileBytes(m_book);
    const SaveResult saved = writeFileSafely(m_path, bytes);
    if (!saved.ok) {
        setState(State::Failed, QStringLiteral("「%1」に保存できません（%2）。").arg(fileName(m_path), saved.error));
        return {false, m_error};
    }
    m_lastBytes = bytes;
    m_dirty = false;
    setState(State::Saved);
    return {};
}

SaveResult ClassStore::overwriteOther()
{
    if (m_state != State::Conflict)
        return saveNow();
    m_lastBytes = currentBytes(m_path);
    m_state = State::Pending;
    m_dirty = true;
    return saveNow();
}

ClassStore::KeptBoth ClassStore::keepBoth()
{
    const QFileInfo info(m_path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString beside = info.dir().filePath(
        QStringLiteral("%1（この画面の内容 %2）.%3").arg(info.completeBaseName(), stamp, classFileSuffix()));
    const SaveResult saved = writeFileSafely(beside, classFileBytes(m_book));
    if (!saved.ok)
        return {false, QString(), QStringLiteral("「%1」に保存できません（%2）。").arg(fileName(beside), saved.error)};
    const QString path = m_path;
    const SaveResult reopened = open(path);
    if (!reopened.ok) {
        // The other program's file cannot be read: stay with this class under the new name.
        m_path = beside;
        m_lastBytes = currentBytes(beside);
        m_openedBytes.reset();
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
