#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "SafeSave.h"
#include "TestFiles.h"

#include <windows.h>

// The Windows safe save: the file is replaced only by a complete copy, whatever stands in
// the way, and nothing is left beside it.
class TestSafeSaveWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saves_data();
    void saves();
    void refuses_data();
    void refuses();
    void keepsAttributes();
    void reads_data();
    void reads();
    void folderIdentity();
};

namespace {

enum class Before { Nothing, ReadOnlyFile, Folder, LockedFile, MissingFolder };

std::wstring native(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(ReadResult::State)

void TestSafeSaveWindows::saves_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("new file") << false << QByteArray("\x97\xe1\x95\xb6\r\n");
    QTest::newRow("over a file") << true << QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n");
    QTest::newRow("over a file, empty") << true << QByteArray();
    QTest::newRow("over a file, 3 MB") << true << QByteArray(3 * 1024 * 1024, 'x');
}

void TestSafeSaveWindows::saves()
{
    QFETCH(bool, existing);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kotoban1.txt"));
    if (existing)
        writeAll(path, QByteArray(5000, 'o'));

    const SaveResult result = writeFileSafely(path, bytes);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readAll(path), bytes);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("Kotoban1.txt")});
}

void TestSafeSaveWindows::refuses_data()
{
    QTest::addColumn<Before>("before");
    QTest::addColumn<QString>("reason"); // a part of the message the teacher reads

    QTest::newRow("a folder of that name") << Before::Folder << QStringLiteral("フォルダーがあります");
    QTest::newRow("the folder is gone") << Before::MissingFolder << QStringLiteral("フォルダーが見つかりません");
    QTest::newRow("open in another program") << Before::LockedFile << QStringLiteral("ほかのソフト");
    QTest::newRow("read-only file") << Before::ReadOnlyFile << QStringLiteral("読み取り専用");
}

void TestSafeSaveWindows::refuses()
{
    QFETCH(Before, before);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString folder = dir.path();
    if (before == Before::MissingFolder)
        folder = dir.filePath(QStringLiteral("gone"));
    const QString path = QDir(folder).filePath(QStringLiteral("Kotoban1.txt"));
    const QByteArray original("original\r\n");
    HANDLE lock = INVALID_HANDLE_VALUE;
    switch (before) {
    case Before::Folder:
        QVERIFY(QDir(folder).mkdir(QStringLiteral("Kotoban1.txt")));
        break;
    case Before::LockedFile:
        writeAll(path, original);
        // As a spreadsheet program holds a file it has open: no sharing at all.
        lock = CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(lock != INVALID_HANDLE_VALUE);
        break;
    case Before::ReadOnlyFile:
        writeAll(path, original);
        QVERIFY(SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_READONLY));
        break;
    default:
        break;
    }
    const QStringList namesBefore = entries(dir.path());

    const SaveResult result = writeFileSafely(path, QByteArray("new\r\n"));
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_NORMAL);

    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QVERIFY2(entries(dir.path()) == namesBefore, qPrintable(result.error + u' ' + entries(dir.path()).join(u' '))); // nothing left beside it
    if (before == Before::LockedFile || before == Before::ReadOnlyFile)
        QCOMPARE(readAll(path), original);
    if (before == Before::Folder)
        QVERIFY(QFileInfo(path).isDir());
}

// A hidden or archived data file stays so after a save (the file itself is replaced).
void TestSafeSaveWindows::keepsAttributes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kotoban2.txt"));
    writeAll(path, "old");
    QVERIFY(SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_HIDDEN));

    const SaveResult result = writeFileSafely(path, "new");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readAll(path), QByteArray("new"));
    QVERIFY(GetFileAttributesW(native(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

void TestSafeSaveWindows::reads_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: nothing there
    QTest::addColumn<bool>("folder");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<ReadResult::State>("state");

    QTest::newRow("a file") << QByteArray("\"a\"\r\n") << false << qint64(100) << ReadResult::State::Read;
    QTest::newRow("at the limit") << QByteArray(100, 'x') << false << qint64(100) << ReadResult::State::Read;
    QTest::newRow("too large") << QByteArray(101, 'x') << false << qint64(100) << ReadResult::State::Refused;
    QTest::newRow("nothing there") << QByteArray() << false << qint64(100) << ReadResult::State::Missing;
    QTest::newRow("a folder") << QByteArray() << true << qint64(100) << ReadResult::State::Refused;
}

void TestSafeSaveWindows::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, folder);
    QFETCH(qint64, maxBytes);
    QFETCH(ReadResult::State, state);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kotoban3.txt"));
    if (folder)
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Kotoban3.txt")));
    else if (!bytes.isEmpty())
        writeAll(path, bytes);

    const ReadResult read = readRegularFile(path, maxBytes);
    QCOMPARE(read.state, state);
    QCOMPARE(read.bytes, state == ReadResult::State::Read ? bytes : QByteArray());
    QCOMPARE(read.error.isEmpty(), state != ReadResult::State::Refused);
}

// A folder moved away and made again under the same name is another folder.
void TestSafeSaveWindows::folderIdentity()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kotoban"));
    QVERIFY(QDir().mkpath(folder));
    const std::optional<FileIdentity> first = identityOf(folder);
    QVERIFY(first.has_value());
    QCOMPARE(identityOf(folder), first);
    QVERIFY(QDir(dir.path()).rename(QStringLiteral("Kotoban"), QStringLiteral("Kotoban-old")));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(identityOf(folder) != first);
    QVERIFY(!identityOf(dir.filePath(QStringLiteral("gone"))).has_value());
}

QTEST_GUILESS_MAIN(TestSafeSaveWindows)
#include "tst_safesave_windows.moc"
