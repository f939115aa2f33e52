#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTest>

#include "FailingCalls.h"
#include "LibraryFiles.h"
#include "OverwriteAnswers.h"
#include "SafeSave.h"
#include "TestFolder.h"

#include <unistd.h>

namespace {

QByteArray cp932(const QString &text) { return encodeText(text, Encoding::Cp932).bytes; }

// A data file of n records, about 90 bytes each.
QByteArray library(int records, const QString &sentence = QStringLiteral("よく学習に取り組んでいます。"))
{
    QString text = QStringLiteral("\"学習について\"\r\n");
    for (int i = 1; i <= records; ++i)
        text += QStringLiteral("\"５教科\",\"全体\",\"ほめたい\",\"%1 その%2\"\r\n").arg(sentence).arg(i);
    return cp932(text);
}

const CategoryRules &rulesFor(const QString &name)
{
    for (const CategoryRules &rules : categoryRules())
        if (rules.fileName == name)
            return rules;
    return categoryRules()[0];
}

// The category of a data file, loaded from folder as the window loads it.
Category load(const QString &folder, const QString &name)
{
    Category category(rulesFor(name));
    (void)loadCategory(category, QDir(folder));
    return category;
}

QStringList loadProblems(const QString &folder, const QString &name)
{
    Category category(rulesFor(name));
    return loadCategory(category, QDir(folder));
}

// Saves the category after the teacher's changes made its content what bytes hold.
QString save(Category &category, const QString &folder, const QByteArray &bytes, OverwriteAnswers &answers)
{
    const DataFileContent content = parseDataFile(decodeDataFile(bytes).text, category.rules().fieldsCanBeUnset);
    category.restore(content.title, content.records);
    return saveCategory(category, DataFolder(folder), answers.callback()).message;
}

// The files this run's version went to, beside the data files.
QStringList besideFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("* (ことばんで保存 *).txt")}, QDir::Files, QDir::Name);
}

bool isRoot() { return ::geteuid() == 0; }

} // namespace

class TestLibraryFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readStates();
    void readPermissionDenied();
    void encodingDetected_data();
    void encodingDetected();
    void undecodableBytes();
    void loadProblemMessages();

    void saveWritesAndBacksUpOnce();
    void identicalContentWritesNothing();
    void missingFileIsCreated();
    void changedOnDisk_data();
    void changedOnDisk();
    void unreadableFileIsNeverWritten();
    void folderInPlaceOfFile();
    void readOnly_data();
    void readOnly();
    void fullDisk();
};

void TestLibraryFiles::readStates()
{
    WorkingFolder folder;

    const LoadedFile missing = readDataFile(folder.filePath(QStringLiteral("Kotoban1.txt")), true);
    QCOMPARE(int(missing.state), int(LoadedFile::State::Missing));
    QVERIFY(missing.error.isEmpty());
    QVERIFY(missing.content.title.isNull());
    QVERIFY(missing.content.records.isEmpty());

    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Kotoban1.txt")));
    const LoadedFile directory = readDataFile(folder.filePath(QStringLiteral("Kotoban1.txt")), true);
    QCOMPARE(int(directory.state), int(LoadedFile::State::Unreadable));
    QVERIFY2(directory.error.contains(QStringLiteral("フォルダー")), qPrintable(directory.error));
    QVERIFY(directory.content.records.isEmpty());

    // A link to a file that is not there (a drive not plugged in) is not a missing file:
    // creating it would write through the link.
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("nowhere/Kotoban2.txt")), folder.filePath(QStringLiteral("Kotoban2.txt"))));
    const LoadedFile dangling = readDataFile(folder.filePath(QStringLiteral("Kotoban2.txt")), true);
    QCOMPARE(int(dangling.state), int(LoadedFile::State::Unreadable));
    QVERIFY2(dangling.error.contains(QStringLiteral("リンク先")), qPrintable(dangling.error));

    folder.write(QStringLiteral("Kotoban3.txt"), QByteArray());
    const LoadedFile empty = readDataFile(folder.filePath(QStringLiteral("Kotoban3.txt")), false);
    QCOMPARE(int(empty.state), int(LoadedFile::State::Loaded));
    QVERIFY(empty.content.title.isNull());
    QVERIFY(empty.content.records.isEmpty());
    QVERIFY(empty.badLines.isEmpty());

    const QByteArray bytes = library(3);
    folder.write(QStringLiteral("Kotoban3.txt"), bytes);
    const LoadedFile loaded = readDataFile(folder.filePath(QStringLiteral("Kotoban3.txt")), false);
    QCOMPARE(int(loaded.state), int(LoadedFile::State::Loaded));
    QVERIFY(loaded.bytes == bytes);
    QCOMPARE(loaded.content.title, QStringLiteral("学習について"));
    QCOMPARE(int(loaded.content.records.size()), 3);
}

void TestLibraryFiles::readPermissionDenied()
{
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"), library(2));
    FailingCalls noPermission;
    noPermission.failWith(QStringLiteral("open for reading"), EACCES);
    const CallsInUse use(noPermission);
    const LoadedFile loaded = readDataFile(folder.filePath(QStringLiteral("Kotoban1.txt")), true);
    QCOMPARE(int(loaded.state), int(LoadedFile::State::Unreadable));
    QVERIFY2(loaded.error.contains(QStringLiteral("読む権限がありません")), qPrintable(loaded.error));
    QVERIFY(loaded.content.records.isEmpty());
    QVERIFY(loadProblems(folder.path(), QStringLiteral("Kotoban1.txt")).join(QString()).contains(QStringLiteral("Kotoban1.txt")));
}

void TestLibraryFiles::encodingDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("\"学習について\"\r\n\"５教科\",\"全体\",\"ほめたい\",\"理解力があります。\"\r\n");
    QTest::newRow("code page 932") << cp932(text) << int(Encoding::Cp932);
    QTest::newRow("UTF-8") << text.toUtf8() << int(Encoding::Utf8);
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << int(Encoding::Utf8Bom);
}

void TestLibraryFiles::encodingDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"), bytes);
    const LoadedFile loaded = readDataFile(folder.filePath(QStringLiteral("Kotoban1.txt")), true);
    QCOMPARE(int(loaded.state), int(LoadedFile::State::Loaded));
    QCOMPARE(int(loaded.encoding), encoding);
    QVERIFY(loaded.badLines.isEmpty());
    QCOMPARE(loaded.content.title, QStringLiteral("学習について"));
    QCOMPARE(int(loaded.content.records.size()), 1);
    QCOMPARE(loaded.content.records[0].sentence(), QStringLiteral("理解力があります。"));
}

void TestLibraryFiles::undecodableBytes()
{
    WorkingFolder folder;
    // Line 3 holds a byte that is no code page 932 character; the file ends in half a character.
    QByteArray bytes = library(3);
    const qsizetype line3 = bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2;
    bytes.insert(line3 + 1, '\x80');
    bytes.append("\"a\",\"b\",\"c\",\"d\x82");
    folder.write(QStringLiteral("Kotoban2.txt"), bytes);

    const LoadedFile loaded = readDataFile(folder.filePath(QStringLiteral("Kotoban2.txt")), true);
    QCOMPARE(int(loaded.state), int(LoadedFile::State::Loaded));
    QCOMPARE(int(loaded.encoding), int(Encoding::Cp932));
    QCOMPARE(loaded.badLines, (QList<int>{3, 5}));
    QCOMPARE(int(loaded.content.records.size()), 4);
    QCOMPARE(loaded.content.records[1].firstClass(), QStringLiteral("\uFFFD５教科"));
    QCOMPARE(loaded.content.records[3].sentence(), QStringLiteral("d\uFFFD"));
    QVERIFY(loaded.bytes == bytes);
}

void TestLibraryFiles::loadProblemMessages()
{
    WorkingFolder folder;
    const QString name = QStringLiteral("Kotoban2.txt");

    folder.write(name, library(2));
    QVERIFY(loadProblems(folder.path(), name).isEmpty());
    QVERIFY(loadProblems(folder.path(), QStringLiteral("Kotoban3.txt")).isEmpty()); // missing: nothing to say

    QByteArray bad = library(12);
    bad.replace(QByteArray("\"\x82\xD9"), QByteArray("\"\x82\xFF")); // every "ほめたい" broken
    folder.write(name, bad);
    const QString badLines = loadProblems(folder.path(), name).join(u'\n');
    QVERIFY2(badLines.contains(name), qPrintable(badLines));
    QSet<int> numbers;
    for (const QRegularExpressionMatch &match : QRegularExpression(QStringLiteral("\\d+")).globalMatch(badLines))
        numbers.insert(match.captured().toInt());
    for (int line = 2; line <= 13; ++line)
        QVERIFY2(numbers.contains(line), qPrintable(badLines));

    folder.write(name, library(EDLimit + 12));
    const QString overflow = loadProblems(folder.path(), name).join(u'\n');
    QVERIFY2(overflow.contains(name) && overflow.contains(QStringLiteral("12")), qPrintable(overflow));

    QDir(folder.path()).remove(name);
    QVERIFY(QDir(folder.path()).mkdir(name));
    const LoadedFile unreadable = readDataFile(folder.filePath(name), true);
    const QStringList messages = loadProblems(folder.path(), name);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(name) && messages[0].contains(unreadable.error), qPrintable(messages[0]));
}

void TestLibraryFiles::saveWritesAndBacksUpOnce()
{
    WorkingFolder folder;
    const QByteArray start = library(3);
    folder.write(QStringLiteral("Kotoban1.txt"), start);
    Category origin = load(folder.path(), QStringLiteral("Kotoban1.txt"));
    OverwriteAnswers dialogs;

    const QByteArray first = library(4);
    QCOMPARE(save(origin, folder.path(), first, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == first);
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);

    // Later saves of the same run keep the start-up content as the backup.
    const QByteArray second = library(5);
    QCOMPARE(save(origin, folder.path(), second, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == second);
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(entries(folder.path()), (QStringList{"Kotoban1.bak", "Kotoban1.txt"}));

    // A later run the same day keeps the first state of the day.
    Category nextRun = load(folder.path(), QStringLiteral("Kotoban1.txt"));
    QCOMPARE(save(nextRun, folder.path(), first, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);

    // A backup of an earlier day gives way to the state before today's first change.
    QFile backup(folder.filePath(QStringLiteral("Kotoban1.bak")));
    QVERIFY(backup.open(QIODevice::ReadWrite));
    QVERIFY(backup.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    backup.close();
    QCOMPARE(save(nextRun, folder.path(), second, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == first);
}

void TestLibraryFiles::identicalContentWritesNothing()
{
    WorkingFolder folder;
    const QByteArray start = library(3);
    folder.write(QStringLiteral("Kotoban1.txt"), start);
    Category origin = load(folder.path(), QStringLiteral("Kotoban1.txt"));
    OverwriteAnswers dialogs;
    const ino_t before = inode(folder.filePath(QStringLiteral("Kotoban1.txt")));

    QCOMPARE(save(origin, folder.path(), start, dialogs), QString());
    QCOMPARE(save(origin, folder.path(), start, dialogs), QString());
    QCOMPARE(inode(folder.filePath(QStringLiteral("Kotoban1.txt"))), before);
    QCOMPARE(entries(folder.path()), QStringList{"Kotoban1.txt"});
    QVERIFY(dialogs.asked.isEmpty());

    // Changed and changed back within one run: the backup is still the start-up content.
    QCOMPARE(save(origin, folder.path(), library(4), dialogs), QString());
    QCOMPARE(save(origin, folder.path(), start, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == start);
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);
}

void TestLibraryFiles::missingFileIsCreated()
{
    WorkingFolder folder;
    Category origin = load(folder.path(), QStringLiteral("Kotoban3.txt"));
    QCOMPARE(int(origin.origin.state), int(LoadedFile::State::Missing));
    OverwriteAnswers dialogs;

    const QByteArray bytes = cp932(QStringLiteral("\"日常生活について\"\r\n"));
    QCOMPARE(save(origin, folder.path(), bytes, dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")) == bytes);
    QCOMPARE(entries(folder.path()), QStringList{"Kotoban3.txt"}); // nothing to back up
    QVERIFY(dialogs.asked.isEmpty());

    // Once created, it is ours: the next save does not ask.
    QCOMPARE(save(origin, folder.path(), library(1), dialogs), QString());
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")) == library(1));
    QVERIFY(dialogs.asked.isEmpty());
}

void TestLibraryFiles::changedOnDisk_data()
{
    QTest::addColumn<bool>("existedAtStart");
    QTest::addColumn<bool>("answer");
    QTest::newRow("edited, no") << true << false;
    QTest::newRow("edited, yes") << true << true;
    QTest::newRow("created meanwhile, no") << false << false;
    QTest::newRow("created meanwhile, yes") << false << true;
}

void TestLibraryFiles::changedOnDisk()
{
    QFETCH(bool, existedAtStart);
    QFETCH(bool, answer);
    WorkingFolder folder;
    const QString name = QStringLiteral("Kotoban1.txt");
    const QByteArray start = library(3);
    if (existedAtStart)
        folder.write(name, start);
    Category origin = load(folder.path(), name);

    const QByteArray others = library(3, QStringLiteral("ほかのソフトで直した例文。"));
    folder.write(name, others);

    OverwriteAnswers dialogs;
    dialogs.answers = {answer};
    const QByteArray ours = library(4);
    const QString message = save(origin, folder.path(), ours, dialogs);
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(dialogs.asked[0], name);

    if (!answer) {
        // The other program's file stays; this run's version goes beside it, named.
        QVERIFY(folder.read(name) == others);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Kotoban1.bak"))));
        QCOMPARE(besideFiles(folder.path()).size(), 1);
        const QString beside = besideFiles(folder.path())[0];
        QVERIFY2(QRegularExpression(QStringLiteral("^Kotoban1 \\(ことばんで保存 \\d{4}-\\d\\d-\\d\\d \\d{4}\\)\\.txt$"))
                     .match(beside).hasMatch(), qPrintable(beside));
        QVERIFY2(message.contains(name) && message.contains(beside), qPrintable(message));
        QVERIFY(folder.read(beside) == ours);
        // Nothing new since: nothing to write, nothing asked.
        QCOMPARE(saveCategory(origin, DataFolder(folder.path()), dialogs.callback()).message, QString());
        QCOMPARE(dialogs.asked.size(), 1);
        // A further change is asked about again, and kept beside under another name.
        dialogs.answers = {false};
        QVERIFY(save(origin, folder.path(), library(5), dialogs).contains(name));
        QCOMPARE(dialogs.asked.size(), 2);
        QCOMPARE(besideFiles(folder.path()).size(), 2);
        QVERIFY(folder.read(name) == others);
        return;
    }
    QCOMPARE(message, QString());
    QVERIFY(folder.read(name) == ours);
    // The version overwritten with the teacher's consent is the day's backup.
    if (existedAtStart)
        QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == others);
    // Overwritten with the teacher's consent: the file is ours again, not asked twice.
    QCOMPARE(save(origin, folder.path(), library(5), dialogs), QString());
    QCOMPARE(dialogs.asked.size(), 1);
    QVERIFY(folder.read(name) == library(5));
}

void TestLibraryFiles::unreadableFileIsNeverWritten()
{
    WorkingFolder folder;
    const QString name = QStringLiteral("Kotoban1.txt");
    QVERIFY(QDir(folder.path()).mkdir(name));
    Category origin = load(folder.path(), name);
    QCOMPARE(int(origin.origin.state), int(LoadedFile::State::Unreadable));
    OverwriteAnswers dialogs;

    // Unchanged: nothing written, nothing said.
    QCOMPARE(saveCategory(origin, DataFolder(folder.path()), dialogs.callback()).message, QString());

    // Even once the obstacle is gone, this run does not write over what it could not read:
    // what was added to it goes beside, and the save says where.
    QVERIFY(QDir(folder.path()).rmdir(name));
    folder.write(name, library(7));
    const QString message = save(origin, folder.path(), library(1), dialogs);
    QVERIFY(message.contains(name));
    QVERIFY(folder.read(name) == library(7));
    QCOMPARE(besideFiles(folder.path()).size(), 1);
    QVERIFY2(message.contains(besideFiles(folder.path())[0]), qPrintable(message));
    QVERIFY(folder.read(besideFiles(folder.path())[0]) == library(1));
    QVERIFY(QFile::remove(folder.filePath(name)));
    QVERIFY(save(origin, folder.path(), library(2), dialogs).contains(name));
    QVERIFY(!QFile::exists(folder.filePath(name)));
    QVERIFY(dialogs.asked.isEmpty());
    QCOMPARE(besideFiles(folder.path()).size(), 2);

    // A file this run had no permission to read, readable by the time of the save.
    folder.write(name, library(2));
    FailingCalls calls;
    calls.failWith(QStringLiteral("open for reading"), EACCES);
    const CallsInUse use(calls);
    Category locked = load(folder.path(), name);
    QCOMPARE(int(locked.origin.state), int(LoadedFile::State::Unreadable));
    calls.step.clear();
    QVERIFY(save(locked, folder.path(), library(1), dialogs).contains(name));
    QVERIFY(folder.read(name) == library(2));
}

void TestLibraryFiles::folderInPlaceOfFile()
{
    WorkingFolder folder;
    const QString name = QStringLiteral("Kotoban2.txt");
    const QByteArray start = library(3);
    folder.write(name, start);
    Category origin = load(folder.path(), name);

    // Replaced by a folder after start-up (a teacher tidying up).
    QVERIFY(QFile::remove(folder.filePath(name)));
    QVERIFY(QDir(folder.path()).mkdir(name));
    folder.write(name + QStringLiteral("/memo.txt"), "memo");

    OverwriteAnswers dialogs; // overwrite: yes
    const QString failure = save(origin, folder.path(), library(4), dialogs);
    QVERIFY2(failure.contains(name), qPrintable(failure));
    QVERIFY(QFileInfo(folder.filePath(name)).isDir());
    QCOMPARE(entries(folder.filePath(name)), QStringList{"memo.txt"});
    QVERIFY(folder.read(name + QStringLiteral("/memo.txt")) == "memo");
    // The start-up content, gone from its place, survives in the backup.
    QVERIFY(folder.read(QStringLiteral("Kotoban2.bak")) == start);
    QCOMPARE(entries(folder.path()), (QStringList{"Kotoban2.bak", "Kotoban2.txt"}));
}

void TestLibraryFiles::readOnly_data()
{
    QTest::addColumn<QString>("step"); // the system call that is refused
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("left"); // what the folder holds after the refusal
    QTest::newRow("read-only folder: neither the backup nor the new file can be made")
        << "create" << "権限がありません" << QStringList{"Kotoban1.txt"};
    QTest::newRow("read-only file: refused as Windows refuses it, though the folder would let a rename replace it")
        << "access" << "読み取り専用のファイル" << QStringList{"Kotoban1.bak", "Kotoban1.txt"};
}

void TestLibraryFiles::readOnly()
{
    QFETCH(QString, step);
    QFETCH(QString, reason);
    QFETCH(QStringList, left);
    WorkingFolder folder;
    const QString name = QStringLiteral("Kotoban1.txt");
    const QByteArray start = library(3);
    folder.write(name, start);
    Category origin = load(folder.path(), name);
    const ino_t before = inode(folder.filePath(name));
    FailingCalls readOnly;
    readOnly.failWith(step, EACCES);
    const CallsInUse use(readOnly);

    OverwriteAnswers dialogs;
    const QString failure = save(origin, folder.path(), library(4), dialogs);
    QVERIFY2(failure.contains(name) && failure.contains(reason), qPrintable(failure));
    QVERIFY(folder.read(name) == start);
    QCOMPARE(inode(folder.filePath(name)), before); // not replaced by a rename
    QCOMPARE(entries(folder.path()), left);
    QVERIFY(dialogs.asked.isEmpty());

    // Once it can be written again, the next save goes through.
    readOnly.step.clear();
    QCOMPARE(save(origin, folder.path(), library(4), dialogs), QString());
    QVERIFY(folder.read(name) == library(4));
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);
}

void TestLibraryFiles::fullDisk()
{
    if (!isRoot())
        QSKIP("mounting a small tmpfs to fill needs root");
    WorkingFolder folder;
    const QString disk = folder.filePath(QStringLiteral("disk"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("disk")));

    QProcess mount;
    mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("mounting a tmpfs was refused: %1 %2")
                             .arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed(), mount.errorString())));
    // Unmounts the disk, however the test ends.
    struct Unmount {
        QString disk;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {disk}); }
    } unmount{disk};
    const QDir dir(disk);

    const QString name = QStringLiteral("Kotoban1.txt");
    const QByteArray start = library(120); // about 12 KiB
    {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(start), start.size());
        QVERIFY(file.flush());
    }
    Category origin = load(disk, name);
    QCOMPARE(int(origin.origin.state), int(LoadedFile::State::Loaded));

    {
        QFile filler(dir.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }
    QCOMPARE(QStorageInfo(disk).bytesAvailable(), qint64(0));

    OverwriteAnswers dialogs;
    const QByteArray larger = library(200); // about 20 KiB
    const QString failure = save(origin, disk, larger, dialogs);
    QVERIFY2(!failure.isEmpty() && failure.contains(name), qPrintable(failure));
    QVERIFY(currentBytes(dir.filePath(name)) == start);
    QCOMPARE(entries(disk), (QStringList{name, "filler"})); // no half-written file left behind
    QVERIFY(dialogs.asked.isEmpty());

    // With room again, the same save goes through and the start-up content is backed up.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("filler"))));
    QCOMPARE(save(origin, disk, larger, dialogs), QString());
    QVERIFY(currentBytes(dir.filePath(name)) == larger);
    QVERIFY(currentBytes(dir.filePath(QStringLiteral("Kotoban1.bak"))) == start);
}

QTEST_GUILESS_MAIN(TestLibraryFiles)
#include "tst_libraryfiles.moc"
