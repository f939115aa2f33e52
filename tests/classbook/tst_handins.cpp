#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ClassNotation.h"
#include "ClassStore.h"
#include "DoneMarks.h"
#include "HandIns.h"
#include "TestFiles.h"

namespace {

const QDateTime December7(QDate(2024, 12, 7), QTime(15, 30, 12));

} // namespace

class TestHandIns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numbering_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("written");
        QTest::newRow("first hand-in") << QStringList{} << QStringList{} << "2024-12-07 15時30分 第1回.json";
        QTest::newRow("after two, by number not by name")
            << QStringList{"2024-12-09 08時05分 第2回.json", "2024-11-30 10時00分 第1回.json"}
            << QStringList{"1 2024-11-30T10:00", "2 2024-12-09T08:05"} << "2024-12-07 15時30分 第3回.json";
        QTest::newRow("other files are not hand-ins")
            << QStringList{"メモ.txt", "2024-12-01 第1回.json", "2024-12-01 10時00分 第一回.json", "2024-12-01 10時00分 第1回.json.bak"}
            << QStringList{} << "2024-12-07 15時30分 第1回.json";
    }
    void numbering()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, listed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        const QString classPath = dir.filePath(QStringLiteral("3年2組.json"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("3年2組 提出"))));
        for (const QString &name : present)
            writeAll(dir.filePath(QStringLiteral("3年2組 提出/") + name), {});
        QStringList found;
        for (const HandIn &handIn : handInsOf(classPath))
            found.append(QStringLiteral("%1 %2").arg(handIn.number).arg(handIn.at.toString(Qt::ISODate).left(16)));
        QCOMPARE(found, listed);

        const ClassBook book = classFrom("所見:200", {"1|青木 空||明るい。"});
        const KeptHandIn kept = keepHandIn(classPath, book, December7);
        QVERIFY2(kept.saved.ok, qPrintable(kept.saved.error));
        QCOMPARE(QFileInfo(kept.handIn.path).fileName(), written);
        QCOMPARE(handInsOf(classPath).last().path, kept.handIn.path);
    }

    void copyHoldsTheClassAndIsNeverTheClassFile()
    {
        QTemporaryDir dir;
        const QString classPath = dir.filePath(QStringLiteral("3年2組.json"));
        ClassBook book = classFrom("所見:200,道徳:0", {"1|青木 空||明るい。|", "2|井上 海||静か。|優しい。"});
        QVERIFY(setDone(book, 1, 1, true).ok);
        const KeptHandIn kept = keepHandIn(classPath, book, December7);
        QVERIFY(kept.saved.ok);
        const ClassFileRead read = readHandIn(kept.handIn.path);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.book, book);

        ClassStore store;
        const SaveResult opened = store.open(kept.handIn.path);
        QVERIFY(!opened.ok);
        QVERIFY2(opened.error.contains(QStringLiteral("提出の控え（第1回、2024年12月7日 15:30）")), qPrintable(opened.error));
        QVERIFY(!store.isOpen());
    }

    void aFolderThatCannotBeMadeWritesNothing()
    {
        QTemporaryDir dir;
        const QString classPath = dir.filePath(QStringLiteral("3年2組.json"));
        writeAll(handInFolder(classPath), {}); // a file where the folder would go
        const KeptHandIn kept = keepHandIn(classPath, classFrom("所見:200", {}), December7);
        QVERIFY(!kept.saved.ok);
        QVERIFY2(kept.saved.error.contains(QStringLiteral("3年2組 提出")), qPrintable(kept.saved.error));
        QCOMPARE(QFileInfo(handInFolder(classPath)).size(), 0);
    }

    // The copy's name is taken by something that is not a hand-in (made meanwhile, or a
    // link): it is refused by name and left as it was, never written over or through.
    void aTakenCopyNameIsNeverWrittenOver_data()
    {
        QTest::addColumn<bool>("asLink");
        QTest::newRow("a dangling link") << true;
        QTest::newRow("a folder") << false;
    }
    void aTakenCopyNameIsNeverWrittenOver()
    {
        QFETCH(bool, asLink);
        QTemporaryDir dir;
        const QString classPath = dir.filePath(QStringLiteral("3年2組.json"));
        const QString taken = dir.filePath(QStringLiteral("3年2組 提出/2024-12-07 15時30分 第1回.json"));
        QVERIFY(QDir().mkpath(asLink ? handInFolder(classPath) : taken));
        if (asLink)
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere.json")), taken));
        const KeptHandIn kept = keepHandIn(classPath, classFrom("所見:200", {"1|青木 空||明るい。"}), December7);
        QVERIFY(!kept.saved.ok);
        QCOMPARE(kept.saved.error, QStringLiteral("控え「2024-12-07 15時30分 第1回.json」がもうあります。"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere.json"))));
        QCOMPARE(QFileInfo(taken).isDir(), !asLink);
    }
};

QTEST_GUILESS_MAIN(TestHandIns)
#include "tst_handins.moc"
