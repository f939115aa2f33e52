#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include "Backup.h"
#include "DataFile.h"
#include "FailingCalls.h"
#include "SafeSave.h"
#include "SaveLock.h"
#include "TestFiles.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestSafeSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failedStepKeepsTheOriginal_data();
    void failedStepKeepsTheOriginal();
    void folderSync_data();
    void folderSync();
    void permissionsAndLinks();
    void onlyRegularFilesAreRead();
    void leftoverTemporaries();
    void backupOfTheDay();
    void backupNeverFollowsALink();
    void reasonsAreJapanese();
    void refusedBeforeOpening_data();
    void refusedBeforeOpening();
    void sideFileOfAnUnreadableFile();
    void lockOfAnotherWriter();
    void backupNames_data();
    void backupNames();
    void keepBothNames_data();
    void keepBothNames();
    void changedOnDisk_data();
    void changedOnDisk();
    void nameTakenMeanwhileIsKept();
};

void TestSafeSave::failedStepKeepsTheOriginal_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");

    QTest::newRow("full disk on write") << "write" << ENOSPC << "ディスクがいっぱいです";
    QTest::newRow("quota on write") << "write" << EDQUOT << "容量の上限";
    QTest::newRow("full disk on fsync") << "fsync" << ENOSPC << "ディスクがいっぱいです";
    QTest::newRow("USB stick failing on fsync") << "fsync" << EIO << "USB メモリー";
    QTest::newRow("network share on close") << "close" << EIO << "ネットワーク";
    QTest::newRow("full disk on close") << "close" << ENOSPC << "ディスクがいっぱいです";
    QTest::newRow("rename refused") << "rename" << EACCES << "権限がありません";
    QTest::newRow("read-only folder") << "create" << EROFS << "読み取り専用";
    QTest::newRow("read-only file, as Windows refuses it") << "access" << EACCES << "読み取り専用のファイル";
    QTest::newRow("unusual error") << "rename" << ECHILD << "システムのエラーです（番号 10）";
}

void TestSafeSave::failedStepKeepsTheOriginal()
{
    QFETCH(QString, step);
    QFETCH(int, error);
    QFETCH(QString, reason);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Kotoban1.txt"));
    writeAll(path, "\"original\"\r\n");
    FailingCalls calls;
    calls.step = step;
    calls.error = error;
    const CallsInUse use(calls);

    const SaveResult result = writeFileSafely(path, QByteArray("\"new content\"\r\n").repeated(100));
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QCOMPARE(readAll(path), QByteArray("\"original\"\r\n"));
    QCOMPARE(entries(folder.path()), QStringList{"Kotoban1.txt"}); // no temporary file left
}

void TestSafeSave::folderSync_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("warned");

    QTest::newRow("folder cannot be opened") << "open folder" << EACCES << true;
    QTest::newRow("folder sync fails") << "fsync" << EIO << true;
    QTest::newRow("file system cannot sync folders") << "fsync" << EINVAL << false;
}

void TestSafeSave::folderSync()
{
    QFETCH(QString, step);
    QFETCH(int, error);
    QFETCH(bool, warned);

    QTemporaryDir folder;
    // Only the folder's sync fails: the first fsync (the file's) goes through.
    class FolderOnly : public FailingCalls {
    public:
        int fsync(int fd) override { return ++m_count == 2 ? FailingCalls::fsync(fd) : PosixCalls::fsync(fd); }

    private:
        int m_count = 0;
    } calls;
    calls.step = step;
    calls.error = error;
    const CallsInUse use(calls);

    const QString path = folder.filePath(QStringLiteral("Kotoban2.txt"));
    const SaveResult result = writeFileSafely(path, "new");
    // Renamed in place: saved, only its lasting is in doubt, and the teacher is told so.
    QVERIFY(result.ok);
    QCOMPARE(result.warning.contains(QStringLiteral("フォルダー")), warned);
    QCOMPARE(readAll(path), QByteArray("new"));
}

void TestSafeSave::permissionsAndLinks()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Kotoban1.txt"));
    writeAll(path, "old");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0604) == 0);
    QVERIFY(writeFileSafely(path, "new").ok);
    QCOMPARE(readAll(path), QByteArray("new"));
    QCOMPARE(modeOf(path), mode_t(0604));

    // A data file that is a link is written where it points, and stays a link.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("elsewhere")));
    const QString target = folder.filePath(QStringLiteral("elsewhere/Kotoban2.txt"));
    writeAll(target, "old");
    const QString link = folder.filePath(QStringLiteral("Kotoban2.txt"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(writeFileSafely(link, "new").ok);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("new"));

    // A link to nowhere is not written through.
    const QString dangling = folder.filePath(QStringLiteral("Kotoban3.txt"));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("nowhere/Kotoban3.txt")), dangling));
    QVERIFY(!writeFileSafely(dangling, "new").ok);
}

void TestSafeSave::onlyRegularFilesAreRead()
{
    QTemporaryDir folder;
    QElapsedTimer timer;
    timer.start();

    const QString fifo = folder.filePath(QStringLiteral("Kotoban1.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    const LoadedFile fromFifo = readDataFile(fifo, true);
    QCOMPARE(fromFifo.state, LoadedFile::State::Unreadable);
    QVERIFY2(fromFifo.error.contains(QStringLiteral("ふつうのファイルではありません")), qPrintable(fromFifo.error));

    const QString device = folder.filePath(QStringLiteral("Kotoban2.txt"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), device));
    QCOMPARE(readDataFile(device, true).state, LoadedFile::State::Unreadable);
    QVERIFY(!currentBytes(device));

    const QString large = folder.filePath(QStringLiteral("Kotoban3.txt"));
    QFile file(large);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxDataFileBytes + 1));
    file.close();
    const LoadedFile tooLarge = readDataFile(large, true);
    QCOMPARE(tooLarge.state, LoadedFile::State::Unreadable);
    QVERIFY2(tooLarge.error.contains(QStringLiteral("大きすぎます")), qPrintable(tooLarge.error));
    QVERIFY(file.resize(MaxDataFileBytes));
    QCOMPARE(readDataFile(large, true).state, LoadedFile::State::Loaded);

    QCOMPARE(readDataFile(folder.filePath(QStringLiteral("none.txt")), true).state, LoadedFile::State::Missing);
    QVERIFY(timer.elapsed() < 20000); // nothing waited on the pipe
}

void TestSafeSave::leftoverTemporaries()
{
    QTemporaryDir folder;
    auto make = [&](const QString &name, qint64 ageSeconds) {
        const QString path = folder.filePath(name);
        writeAll(path, "part of a save");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    make(QStringLiteral(".Kotoban1.txt.kotoban-saving.a1B2c3"), 3600);
    make(QStringLiteral(".Kotoban1.bak.kotoban-saving.Zz9999"), 120);
    make(QStringLiteral(".Kotoban2.txt.kotoban-saving.q1w2e3"), 0); // another window saving now
    make(QStringLiteral(".Kotoban3.txt.kotoban-saving.toolong1"), 3600);
    make(QStringLiteral(".kotoban-saving.a1B2c3"), 3600);               // no file's name before it
    make(QStringLiteral(".Kotoban3.txt.kotoban-saving.a1B2ｃ3"), 3600); // not QSaveFile's letters
    make(QStringLiteral("Kotoban3.txt"), 3600);
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("Kotoban3.txt")),
                        folder.filePath(QStringLiteral(".Kotoban3.txt.kotoban-saving.l1nk00"))));

    QStringList removed = removeLeftoverTemporaries(folder.path());
    removed.sort();
    QCOMPARE(removed, (QStringList{".Kotoban1.bak.kotoban-saving.Zz9999", ".Kotoban1.txt.kotoban-saving.a1B2c3"}));
    QCOMPARE(entries(folder.path()),
             (QStringList{".Kotoban2.txt.kotoban-saving.q1w2e3", ".Kotoban3.txt.kotoban-saving.a1B2ｃ3",
                          ".Kotoban3.txt.kotoban-saving.l1nk00", ".Kotoban3.txt.kotoban-saving.toolong1",
                          ".kotoban-saving.a1B2c3", "Kotoban3.txt"}));
}

void TestSafeSave::backupOfTheDay()
{
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("Kotoban1.txt"));
    const QString backup = folder.filePath(QStringLiteral("Kotoban1.bak"));
    QCOMPARE(backupPathFor(data), backup);
    writeAll(data, "read today");
    QVERIFY(::chmod(QFile::encodeName(data).constData(), 0600) == 0);

    // No backup yet: written, readable only by the owner like the data file.
    BackupResult result = backUpBeforeFirstChangeOfDay(data, "first of the day");
    QVERIFY(result.ok && result.written);
    QCOMPARE(readAll(backup), QByteArray("first of the day"));
    QCOMPARE(modeOf(backup), mode_t(0600));

    // Later the same day (another run): the first state of the day stays.
    result = backUpBeforeFirstChangeOfDay(data, "second run");
    QVERIFY(result.ok && !result.written);
    QCOMPARE(readAll(backup), QByteArray("first of the day"));

    // The next day, the backup is replaced.
    result = backUpBeforeFirstChangeOfDay(data, "next day", QDate::currentDate().addDays(1));
    QVERIFY(result.ok && result.written);
    QCOMPARE(readAll(backup), QByteArray("next day"));
}

void TestSafeSave::backupNeverFollowsALink()
{
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("Kotoban2.txt"));
    writeAll(data, "data");
    const QString victim = folder.filePath(QStringLiteral("victim.txt"));
    writeAll(victim, "not Kotoban's");
    QVERIFY(QFile::link(victim, folder.filePath(QStringLiteral("Kotoban2.bak"))));

    // Planted today and pointing at a file of today: still not taken for today's backup.
    const BackupResult result = backUpBeforeFirstChangeOfDay(data, "start of the day");
    QVERIFY(result.ok && result.written);
    QCOMPARE(readAll(victim), QByteArray("not Kotoban's"));
    QVERIFY(!QFileInfo(folder.filePath(QStringLiteral("Kotoban2.bak"))).isSymLink());
    QCOMPARE(readAll(folder.filePath(QStringLiteral("Kotoban2.bak"))), QByteArray("start of the day"));
}

void TestSafeSave::reasonsAreJapanese()
{
    // The system's own words (English) never reach the teacher, whatever the error.
    for (int error = 1; error < 134; ++error) {
        const QString reason = teacherReason(error);
        QVERIFY2(!reason.isEmpty() && !reason.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(reason));
    }
    QVERIFY(readingReason(EACCES).contains(QStringLiteral("読む権限")));
}

void TestSafeSave::refusedBeforeOpening_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("opened");
    QTest::newRow("named pipe") << "pipe" << "ふつうのファイルではありません" << 0;
    QTest::newRow("folder") << "folder" << "フォルダー" << 0;
    QTest::newRow("link to nowhere") << "dangling" << "リンク先のファイルが見つかりません" << 0;
    QTest::newRow("too large") << "large" << "大きすぎます（0 MB まで）" << 0;
    QTest::newRow("no permission (as root too)") << "unreadable" << "読む権限がありません" << 1;
}

void TestSafeSave::refusedBeforeOpening()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QFETCH(int, opened);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("3年2組.json"));
    const QByteArray name = QFile::encodeName(path);
    FailingCalls calls;
    if (kind == QLatin1String("pipe"))
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("dangling"))
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone.json")), path));
    else
        writeAll(path, QByteArray(2048, 'x'));
    if (kind == QLatin1String("unreadable")) {
        calls.step = QStringLiteral("open for reading");
        calls.error = EACCES;
    }
    const CallsInUse use(calls);
    const ReadResult read = readRegularFile(path, kind == QLatin1String("large") ? 1024 : 4096);
    QCOMPARE(read.state, ReadResult::State::Refused);
    QVERIFY2(read.error.contains(reason), qPrintable(read.error));
    QCOMPARE(calls.opened, opened);
}

void TestSafeSave::sideFileOfAnUnreadableFile()
{
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("Kotoban1.txt"));
    writeAll(data, "data");
    QVERIFY(::chmod(QFile::encodeName(data).constData(), 0200) == 0);
    SaveOptions options;
    options.permissionsFrom = data;
    const QString side = folder.filePath(QStringLiteral("Kotoban1 (ことばんで保存).txt"));
    QVERIFY(writeFileSafely(side, "this run's version", options).ok);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(modeOf(side), mode_t(0666 & ~mask)); // the teacher can open it
}

void TestSafeSave::lockOfAnotherWriter()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("組.json"));
    writeAll(path, "ours");
    {
        // Another save under way: this one waits, then gives up, writing nothing.
        QLockFile other(lockPathFor(path));
        QVERIFY(other.tryLock());
        const CheckedReplace blocked = ::replaceIfUnchanged(path, QByteArray("ours"), "new", 50);
        QCOMPARE(blocked.outcome, CheckedReplace::Outcome::Failed);
        QVERIFY2(blocked.error.contains(QStringLiteral("保存しているところ")), qPrintable(blocked.error));
        QCOMPARE(readAll(path), QByteArray("ours"));
        // Old, but its holder still holds it: not taken over; the teacher is told which file it is.
        QFile lockFile(lockPathFor(path));
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
        const CheckedReplace old = ::replaceIfUnchanged(path, QByteArray("ours"), "new", 50);
        QCOMPARE(old.outcome, CheckedReplace::Outcome::Failed);
        QVERIFY2(old.error.contains(QStringLiteral(".組.json.kotoban-lock")), qPrintable(old.error));
        QCOMPARE(readAll(path), QByteArray("ours"));
    }
    // A lock left by a program killed while saving is taken over.
    int ready[2];
    QVERIFY(::pipe(ready) == 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        QLockFile lock(lockPathFor(path));
        const char held = lock.tryLock() ? 1 : 0;
        (void)!::write(ready[1], &held, 1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    QVERIFY(::read(ready[0], &held, 1) == 1 && held == 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    QVERIFY(QFileInfo::exists(lockPathFor(path)));
    QCOMPARE(::replaceIfUnchanged(path, QByteArray("ours"), "new", 1000).outcome, CheckedReplace::Outcome::Written);
    QCOMPARE(readAll(path), QByteArray("new"));
    QCOMPARE(entries(folder.path()), QStringList{"組.json"});
}

// A class file never shares a data file's backup; the data files' names stay as they were.
void TestSafeSave::backupNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("backup");
    QTest::newRow("data file") << "Kotoban1.txt" << "Kotoban1.bak";
    QTest::newRow("class file of the same stem") << "Kotoban1.json" << "Kotoban1.json.bak";
    QTest::newRow("class file") << "3年2組 2学期.json" << "3年2組 2学期.json.bak";
    QTest::newRow("suffix in capitals") << "Kotoban2.TXT" << "Kotoban2.bak";
    QTest::newRow("no suffix") << "名簿" << "名簿.bak";
    QTest::newRow("dots in the stem") << "R6.3年.json" << "R6.3年.json.bak";
}

void TestSafeSave::backupNames()
{
    QFETCH(QString, file);
    QFETCH(QString, backup);
    QCOMPARE(backupPathFor(QStringLiteral("/学校/") + file), QStringLiteral("/学校/") + backup);
}

void TestSafeSave::keepBothNames_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("free") << QStringList() << "Kotoban1.txt" << "Kotoban1 (ことばんで保存 2026-12-07 1530).txt";
    QTest::newRow("class file") << QStringList() << "3年2組.json" << "3年2組 (ことばんで保存 2026-12-07 1530).json";
    QTest::newRow("taken: numbered")
        << QStringList{"Kotoban1 (ことばんで保存 2026-12-07 1530).txt", "Kotoban1 (ことばんで保存 2026-12-07 1530 2).txt"}
        << "Kotoban1.txt" << "Kotoban1 (ことばんで保存 2026-12-07 1530 3).txt";
    QTest::newRow("a link to nowhere is taken") << QStringList{"link:3年2組 (ことばんで保存 2026-12-07 1530).json"}
                                                << "3年2組.json" << "3年2組 (ことばんで保存 2026-12-07 1530 2).json";
}

void TestSafeSave::keepBothNames()
{
    QFETCH(QStringList, present);
    QFETCH(QString, file);
    QFETCH(QString, name);
    QTemporaryDir folder;
    for (const QString &entry : std::as_const(present)) {
        if (entry.startsWith(QStringLiteral("link:")))
            QVERIFY(QFile::link(folder.filePath(QStringLiteral("nowhere/x")), folder.filePath(entry.mid(5))));
        else
            writeAll(folder.filePath(entry), "kept");
    }
    const QDateTime when(QDate(2026, 12, 7), QTime(15, 30, 59));
    QCOMPARE(keepBothName(QDir(folder.path()), file, when), name);
}

void TestSafeSave::changedOnDisk_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("now");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QByteArray>("last");
    QTest::addColumn<bool>("changed");
    const int read = int(ReadResult::State::Read), missing = int(ReadResult::State::Missing),
              refused = int(ReadResult::State::Refused);
    QTest::newRow("as we left it") << read << QByteArray("ours") << true << QByteArray("ours") << false;
    QTest::newRow("other bytes") << read << QByteArray("theirs") << true << QByteArray("ours") << true;
    QTest::newRow("emptied") << read << QByteArray() << true << QByteArray("ours") << true;
    QTest::newRow("created where there was none") << read << QByteArray("theirs") << false << QByteArray() << true;
    QTest::newRow("an empty file where there was none") << read << QByteArray() << false << QByteArray() << true;
    QTest::newRow("gone") << missing << QByteArray() << true << QByteArray("ours") << false;
    QTest::newRow("still not there") << missing << QByteArray() << false << QByteArray() << false;
    QTest::newRow("unreadable now") << refused << QByteArray() << true << QByteArray("ours") << true;
    QTest::newRow("unreadable where there was none") << refused << QByteArray() << false << QByteArray() << true;
}

void TestSafeSave::changedOnDisk()
{
    QFETCH(int, state);
    QFETCH(QByteArray, now);
    QFETCH(bool, known);
    QFETCH(QByteArray, last);
    QFETCH(bool, changed);
    ReadResult current;
    current.state = ReadResult::State(state);
    current.bytes = now;
    QCOMPARE(::changedOnDisk(current, known ? std::optional<QByteArray>(last) : std::nullopt), changed);
}

// Without replace, a file that took the name is kept and nothing is left beside it.
void TestSafeSave::nameTakenMeanwhileIsKept()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("所見.csv"));
    SaveOptions options;
    options.replace = false;
    QVERIFY(writeFileSafely(path, "first", options).ok);
    const SaveResult second = writeFileSafely(path, "second", options);
    QVERIFY(!second.ok && second.nameTaken);
    QCOMPARE(readAll(path), QByteArray("first"));
    QCOMPARE(entries(folder.path()), QStringList{"所見.csv"});
}

QTEST_GUILESS_MAIN(TestSafeSave)
#include "tst_safesave.moc"
