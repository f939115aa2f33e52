#include "Journal.h"

#include "Reasons.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const char *operationName(JournalEntry::Operation operation)
{
    switch (operation) {
    case JournalEntry::Operation::Correct:
        return "correct";
    case JournalEntry::Operation::Delete:
        return "delete";
    case JournalEntry::Operation::Saved:
        return "saved";
    case JournalEntry::Operation::Add:
        break;
    }
    return "add";
}

// An unset field is null, so that the entry gives back exactly what was typed.
QJsonArray toJson(const std::array<QString, 4> &fields)
{
    QJsonArray array;
    for (const QString &field : fields)
        array.append(field.isNull() ? QJsonValue() : QJsonValue(field));
    return array;
}

bool fromJson(const QJsonValue &value, std::array<QString, 4> &fields)
{
    const QJsonArray array = value.toArray();
    if (array.size() != 4)
        return false;
    for (int f = 0; f < 4; ++f) {
        if (!array[f].isNull() && !array[f].isString())
            return false;
        fields[f] = array[f].isNull() ? QString() : (array[f].toString() + QStringLiteral(""));
    }
    return true;
}

QByteArray lineOf(const JournalEntry &entry)
{
    QJsonObject object;
    object.insert(QStringLiteral("category"), entry.category);
    object.insert(QStringLiteral("operation"), QString::fromLatin1(operationName(entry.operation)));
    object.insert(QStringLiteral("record"), entry.record);
    if (entry.operation != JournalEntry::Operation::Saved)
        object.insert(QStringLiteral("fields"), toJson(entry.fields));
    if (entry.operation == JournalEntry::Operation::Correct)
        object.insert(QStringLiteral("previous"), toJson(entry.previous));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<JournalEntry> entryOf(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    JournalEntry entry;
    entry.category = object.value(QStringLiteral("category")).toInt(-1);
    entry.record = object.value(QStringLiteral("record")).toInt(0);
    const QString operation = object.value(QStringLiteral("operation")).toString();
    if (operation == QLatin1String("add"))
        entry.operation = JournalEntry::Operation::Add;
    else if (operation == QLatin1String("correct"))
        entry.operation = JournalEntry::Operation::Correct;
    else if (operation == QLatin1String("delete"))
        entry.operation = JournalEntry::Operation::Delete;
    else if (operation == QLatin1String("saved"))
        entry.operation = JournalEntry::Operation::Saved;
    else
        return std::nullopt;
    if (entry.category < 0 || entry.category > 2)
        return std::nullopt;
    if (entry.operation == JournalEntry::Operation::Saved)
        return entry;
    if (entry.record < 1 || !fromJson(object.value(QStringLiteral("fields")), entry.fields))
        return std::nullopt;
    if (entry.operation == JournalEntry::Operation::Correct && !fromJson(object.value(QStringLiteral("previous")), entry.previous))
        return std::nullopt;
    return entry;
}

bool sameFields(const Example &example, const std::array<QString, 4> &fields)
{
    for (int f = 0; f < 4; ++f)
        if (example.field[f] != fields[f])
            return false;
    return true;
}

// Whether a running program holds the journal (on systems without file locks: never).
bool isHeld(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return true; // not ours to read
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace

bool JournalEntry::operator==(const JournalEntry &other) const
{
    return category == other.category && operation == other.operation && record == other.record
           && fields == other.fields && previous == other.previous;
}

Journal::Journal(const QString &folder)
    : m_stem(QDir(folder).filePath(QStringLiteral("Kotoban-%1-%2")
                                       .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                       .arg(QCoreApplication::applicationPid()))),
      m_path(m_stem + QStringLiteral(".journal"))
{
}

Journal::~Journal() = default;

SaveResult Journal::open()
{
#ifdef Q_OS_UNIX
    // A name of its own (never another run's journal, nor through a link planted under
    // its name), locked while this run lives.
    int fd = -1;
    for (int n = 1; fd < 0 && n < 100; ++n) {
        m_path = n == 1 ? m_stem + QStringLiteral(".journal") : QStringLiteral("%1-%2.journal").arg(m_stem).arg(n);
        fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return {false, teacherReason(errno)};
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    if (!m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {false, fileDeviceReason(m_file)};
    }
#else
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return {false, fileDeviceReason(m_file)};
#endif
    // The journal's name must survive a power cut too.
    return syncFolder(QFileInfo(m_path).absolutePath());
}

SaveResult Journal::append(const JournalEntry &entry)
{
    if (!m_file.isOpen()) {
        const SaveResult opened = open();
        if (!opened.ok)
            return opened;
    }
    const QByteArray line = lineOf(entry);
    if (m_file.write(line) != line.size())
        return {false, fileDeviceReason(m_file)};
    return syncToDisk(m_file);
}

SaveResult Journal::remove()
{
    if (!m_file.isOpen())
        return {}; // nothing written since the last removal: the name may be another run's
    m_file.close();
    if (!QFile::remove(m_path))
        return {false, QStringLiteral("%1 を消せませんでした").arg(m_path)};
    return syncFolder(QFileInfo(m_path).absolutePath());
}

bool isJournalName(QStringView name)
{
    // "Kotoban-" + the date + "-" + the time + "-" + the process, perhaps "-" + a number
    // of the same second, + ".journal", all in ASCII digits.
    const QStringView prefix(u"Kotoban-"), suffix(u".journal");
    if (!name.startsWith(prefix) || !name.endsWith(suffix))
        return false;
    const QList<QStringView> parts = name.sliced(prefix.size()).chopped(suffix.size()).split(u'-');
    const auto digits = [](QStringView part) {
        return !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    return (parts.size() == 3 || parts.size() == 4) && parts[0].size() == 8 && parts[1].size() == 6
           && std::all_of(parts.begin(), parts.end(), digits);
}

QStringList leftoverJournals(const QString &folder)
{
    QStringList found;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
        if (!info.isSymLink() && isJournalName(info.fileName()) && !isHeld(info.filePath()))
            found += info.filePath();
    }
    return found;
}

JournalContent readJournal(const QString &path)
{
    JournalContent content;
    const ReadResult read = readRegularFile(path, 16 * 1024 * 1024);
    if (read.state != ReadResult::State::Read)
        return content;
    const QList<QByteArray> lines = read.bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue; // the end of the last line, or a line a crash left empty
        const std::optional<JournalEntry> entry = entryOf(lines[i]);
        if (entry && entry->operation == JournalEntry::Operation::Saved)
            content.entries.removeIf([&](const JournalEntry &e) { return e.category == entry->category; });
        else if (entry)
            content.entries.append(*entry);
        else
            content.damagedLines.append(int(i + 1));
    }
    return content;
}

ReplayResult replayJournal(const QList<JournalEntry> &entries, int category, QVector<Example> &records)
{
    ReplayResult result;
    for (const JournalEntry &entry : entries) {
        if (entry.category != category)
            continue;
        const qsizetype at = entry.record - 1;
        bool fits = false;
        switch (entry.operation) {
        case JournalEntry::Operation::Add:
            fits = at <= records.size();
            if (fits) {
                Example example;
                example.field = entry.fields;
                records.insert(at, example);
            }
            break;
        case JournalEntry::Operation::Correct:
            fits = at < records.size() && sameFields(records[at], entry.previous);
            if (fits)
                records[at].field = entry.fields;
            break;
        case JournalEntry::Operation::Delete:
            fits = at < records.size() && sameFields(records[at], entry.fields);
            if (fits)
                records.removeAt(at);
            break;
        case JournalEntry::Operation::Saved:
            continue;
        }
        ++(fits ? result.applied : result.skipped);
        if (fits)
            result.appliedEntries.append(entry);
    }
    return result;
}
