#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "HomeFolder.h"
#include "TestFiles.h"

// The teacher's folder on Windows is seeded from the starter library where a data file is
// missing, and a file the teacher has is never replaced.
class TestHomeFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void seeds_data();
    void seeds();
    void folderThatCannotBeMade();
};

namespace {

QByteArray starterBytes(int n) { return "starter " + QByteArray::number(n) + "\r\n"; }

// Files 1 to 3 are the data files, 4 the wording rules.
QString fileName(int n) { return n == 4 ? QStringLiteral("表記ルール.txt") : QStringLiteral("Kotoban%1.txt").arg(n); }

} // namespace

void TestHomeFolder::seeds_data()
{
    QTest::addColumn<QString>("home");          // below the temporary folder
    QTest::addColumn<QList<int>>("teachers");   // data files the teacher already has
    QTest::addColumn<int>("folderNamed");       // a folder named like data file n (0: none)
    QTest::addColumn<QList<int>>("starters");   // data files the starter library has
    QTest::addColumn<bool>("readOnlyStarters"); // as an installation may leave them

    QTest::newRow("first start") << "Documents/Kotoban" << QList<int>{} << 0 << QList<int>{1, 2, 3, 4} << false;
    QTest::newRow("one file kept") << "Kotoban" << QList<int>{2} << 0 << QList<int>{1, 2, 3, 4} << false;
    QTest::newRow("all kept") << "Kotoban" << QList<int>{1, 2, 3, 4} << 0 << QList<int>{1, 2, 3, 4} << false;
    QTest::newRow("the teacher's own rules") << "Kotoban" << QList<int>{4} << 0 << QList<int>{1, 2, 3, 4} << false;
    QTest::newRow("a folder in the way") << "Kotoban" << QList<int>{} << 1 << QList<int>{1, 2, 3, 4} << false;
    QTest::newRow("starter incomplete") << "Kotoban" << QList<int>{} << 0 << QList<int>{1, 3} << false;
    QTest::newRow("read-only starters") << "Kotoban" << QList<int>{} << 0 << QList<int>{1, 2, 3, 4} << true;
}

void TestHomeFolder::seeds()
{
    QFETCH(QString, home);
    QFETCH(QList<int>, teachers);
    QFETCH(int, folderNamed);
    QFETCH(QList<int>, starters);
    QFETCH(bool, readOnlyStarters);

    QTemporaryDir dir;
    const QString starter = dir.filePath(QStringLiteral("starter"));
    const QString homePath = dir.filePath(home);
    QVERIFY(QDir().mkpath(starter));
    for (int n : starters) {
        const QString path = QDir(starter).filePath(fileName(n));
        writeAll(path, starterBytes(n));
        if (readOnlyStarters)
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    }
    if (!teachers.isEmpty() || folderNamed)
        QVERIFY(QDir().mkpath(homePath));
    for (int n : teachers)
        writeAll(QDir(homePath).filePath(fileName(n)), "teacher's own");
    if (folderNamed)
        QVERIFY(QDir(homePath).mkdir(fileName(folderNamed)));

    qputenv("KOTOBAN_HOME", QDir::toNativeSeparators(homePath).toLocal8Bit());
    const HomeFolder prepared = prepareHomeFolder(starter);
    qunsetenv("KOTOBAN_HOME");

    QVERIFY2(prepared.problem.isEmpty(), qPrintable(prepared.problem));
    QCOMPARE(QDir(prepared.path), QDir(homePath));
    for (int n = 1; n <= 4; ++n) {
        const QString path = QDir(homePath).filePath(fileName(n));
        if (n == folderNamed)
            QVERIFY(QFileInfo(path).isDir());
        else if (teachers.contains(n))
            QCOMPARE(readAll(path), QByteArray("teacher's own"));
        else if (starters.contains(n)) {
            QCOMPARE(readAll(path), starterBytes(n));
            QVERIFY(QFileInfo(path).isWritable());
        } else
            QVERIFY(!QFileInfo::exists(path));
    }
    for (int n : starters)
        QFile::setPermissions(QDir(starter).filePath(fileName(n)),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Where a file stands in the place of the folder, the teacher is told which folder it is.
void TestHomeFolder::folderThatCannotBeMade()
{
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("Kotoban")), "a file");
    qputenv("KOTOBAN_HOME", QDir::toNativeSeparators(dir.filePath(QStringLiteral("Kotoban"))).toLocal8Bit());
    const HomeFolder prepared = prepareHomeFolder(dir.path());
    qunsetenv("KOTOBAN_HOME");
    QVERIFY(prepared.problem.contains(QStringLiteral("作れませんでした")));
    QVERIFY(prepared.problem.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("Kotoban")))));
}

QTEST_GUILESS_MAIN(TestHomeFolder)
#include "tst_homefolder.moc"
