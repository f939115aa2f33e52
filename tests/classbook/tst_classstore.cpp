#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "ClassEditing.h"
#include "ClassFile.h"
#include "ClassNotation.h"
#include "ClassStore.h"
#include "FailingCalls.h"
#include "TestFiles.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

ClassBook sample()
{
    return classFrom(QStringLiteral("所見:200"), {QStringLiteral("1|青木 空|男|空A"), QStringLiteral("2|井上 海|女|")});
}

ClassBook onDisk(const QString &path)
{
    const ClassFileRead read = readClassFile(readAll(path));
    return read.ok ? read.book : ClassBook();
}

} // namespace

class TestClassStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void changesAreSavedWithinASecond()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("3年2組.json"));
        ClassStore store;
        QVERIFY(store.create(path, sample()).ok);
        QCOMPARE(onDisk(path), sample());
        QVERIFY(!QFile::exists(store.backupPath())); // nothing was there before

        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("海A")); }).ok);
        QCOMPARE(store.state(), ClassStore::State::Pending);
        QVERIFY(store.hasUnsavedChanges());
        // Typing on: further changes do not push the write back.
        QTest::qWait(500);
        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("海AB")); }).ok);
        QTRY_COMPARE_WITH_TIMEOUT(store.state(), ClassStore::State::Saved, 700);
        QCOMPARE(textOf(onDisk(path), 1, 0), QStringLiteral("海AB"));
        QVERIFY(!store.hasUnsavedChanges());
    }

    void backupIsTheFileAsOpened()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        const QByteArray original = classFileBytes(sample());
        writeAll(path, original);
        ClassStore store;
        QVERIFY(store.open(path).ok);
        QCOMPARE(store.book(), sample());
        QCOMPARE(store.backupPath(), dir.filePath(QStringLiteral("組.json.bak")));
        QVERIFY(!QFile::exists(store.backupPath())); // opening alone writes nothing
        for (const QString &text : {QStringLiteral("一"), QStringLiteral("二")}) {
            QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, text); }).ok);
            QVERIFY(store.saveNow().ok);
            QCOMPARE(textOf(onDisk(path), 0, 0), text);
            QCOMPARE(readAll(store.backupPath()), original);
        }

        // A link planted where the backup goes is replaced, never written through.
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.txt"));
        writeAll(elsewhere, "not ours");
        QVERIFY(QFile::remove(store.backupPath()));
        QVERIFY(QFile::link(elsewhere, store.backupPath()));
        ClassStore again;
        QVERIFY(again.open(path).ok);
        QVERIFY(again.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("三")); }).ok);
        QVERIFY(again.saveNow().ok);
        QCOMPARE(readAll(elsewhere), QByteArray("not ours"));
        QVERIFY(!QFileInfo(again.backupPath()).isSymLink());
    }

    void unreadableFilesAreRefusedAndUntouched_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("damaged") << QByteArray("{\"format\":\"kotoban-class\",\"version\":1,\"fie") << "こわれています"; // cut off
        QTest::newRow("newer") << QByteArray(R"({"format":"kotoban-class","version":7,"fields":[{"name":"x"}]})")
                               << "新しい版";
        QTest::newRow("other format") << QByteArray("名簿,1,2\r\n") << "学級ファイルではありません";
    }
    void unreadableFilesAreRefusedAndUntouched()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.json"));
        const QString bad = dir.filePath(QStringLiteral("bad.json"));
        writeAll(good, classFileBytes(sample()));
        writeAll(bad, bytes);
        ClassStore store;
        QVERIFY(store.open(good).ok);
        const SaveResult opened = store.open(bad);
        QVERIFY(!opened.ok);
        QVERIFY2(opened.error.contains(QStringLiteral("bad.json")) && opened.error.contains(reason), qPrintable(opened.error));
        // The class open before stays, and writing it goes to its own file.
        QCOMPARE(store.path(), QFileInfo(good).absoluteFilePath());
        store.apply([](ClassBook &) {});
        QVERIFY(store.saveNow().ok);
        QCOMPARE(readAll(bad), bytes);
        QCOMPARE(entries(dir.path()), (QStringList{"bad.json", "good.json", "good.json.bak"}));
    }

    void missingFileIsReported()
    {
        QTemporaryDir dir;
        ClassStore store;
        const SaveResult opened = store.open(dir.filePath(QStringLiteral("none.json")));
        QVERIFY(!opened.ok);
        QVERIFY2(opened.error.contains(QStringLiteral("none.json")), qPrintable(opened.error));
        QVERIFY(!store.isOpen());
        QVERIFY(!store.open(dir.path()).ok);
    }

    void fileChangedElsewhereIsNotOverwritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        ClassStore store;
        QVERIFY(store.create(path, sample()).ok);
        ClassBook theirs = sample();
        theirs.pupils[1].texts[0] = QStringLiteral("別の窓で書いた文");
        writeAll(path, classFileBytes(theirs));

        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("この窓で書いた文")); }).ok);
        QVERIFY(!store.saveNow().ok);
        QCOMPARE(store.state(), ClassStore::State::Conflict);
        QCOMPARE(onDisk(path), theirs);
        store.apply([](ClassBook &) {}); // more typing while the question is open writes nothing either
        QVERIFY(!store.saveNow().ok);
        QCOMPARE(onDisk(path), theirs);

        const ClassStore::KeptBoth kept = store.keepBoth();
        QVERIFY2(kept.ok, qPrintable(kept.error));
        QCOMPARE(textOf(onDisk(kept.savedAs), 0, 0), QStringLiteral("この窓で書いた文"));
        QCOMPARE(store.book(), theirs);
        QCOMPARE(store.state(), ClassStore::State::Saved);

        // The other way: this window's class wins.
        writeAll(path, classFileBytes(sample()));
        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("上書き")); }).ok);
        QVERIFY(!store.saveNow().ok);
        QVERIFY(store.overwriteOther().ok);
        QCOMPARE(textOf(onDisk(path), 0, 0), QStringLiteral("上書き"));
        QCOMPARE(store.state(), ClassStore::State::Saved);
    }

    void failedSaveIsReportedAndRetried()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("学級"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/組.json");
        writeAll(path, classFileBytes(sample()));
        ClassStore store;
        QVERIFY(store.open(path).ok);
        QSignalSpy states(&store, &ClassStore::stateChanged);

        // The backup cannot be made: nothing is written.
        QVERIFY(QDir().mkpath(store.backupPath()));
        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("新しい文")); }).ok);
        QVERIFY(!store.saveNow().ok);
        QCOMPARE(store.state(), ClassStore::State::Failed);
        QVERIFY2(store.error().contains(QStringLiteral("組.json.bak")), qPrintable(store.error()));
        QCOMPARE(onDisk(path), sample());
        QVERIFY(store.hasUnsavedChanges());
        QVERIFY(QDir(store.backupPath()).removeRecursively());
        store.apply([](ClassBook &) {});
        QVERIFY(store.saveNow().ok);
        QCOMPARE(readAll(store.backupPath()), classFileBytes(sample()));

        // The folder is gone: the write fails and says where.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("もっと新しい文")); }).ok);
        QVERIFY(!store.saveNow().ok);
        QCOMPARE(store.state(), ClassStore::State::Failed);
        QVERIFY2(store.error().contains(QStringLiteral("組.json")), qPrintable(store.error()));

        // The next change after the cause is gone saves everything.
        QVERIFY(QDir().mkpath(folder));
        store.apply([](ClassBook &) {});
        QTRY_COMPARE_WITH_TIMEOUT(store.state(), ClassStore::State::Saved, 2000);
        QCOMPARE(textOf(onDisk(path), 0, 0), QStringLiteral("もっと新しい文"));
        QVERIFY(states.count() >= 6);
    }

    void aWriteCutShortLeavesTheFileAsItWas()
    {
        // A file size limit makes the write fail part-way, as a full disk does.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        ClassStore store;
        QVERIFY(store.create(path, sample()).ok);
        const QByteArray before = readAll(path);
        for (int i = 3; i <= 200; ++i)
            QVERIFY(store.apply([&](ClassBook &book) { return addPupil(book, {i, QStringLiteral("児童 %1").arg(i), QString(), QString()}); }).ok);

        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = rlim_t(before.size() + 100);
        auto *previous = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const SaveResult cut = store.saveNow();
        QVERIFY(setrlimit(RLIMIT_FSIZE, &saved) == 0);
        std::signal(SIGXFSZ, previous);

        QVERIFY(!cut.ok);
        QCOMPARE(store.state(), ClassStore::State::Failed);
        QVERIFY2(store.error().contains(QStringLiteral("組.json")), qPrintable(store.error()));
        QCOMPARE(readAll(path), before);
        // No temporary file left behind; the backup holds the file as it was created.
        QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("組.json"), QStringLiteral("組.json.bak")}));
        QCOMPARE(readAll(store.backupPath()), before);
        store.apply([](ClassBook &) {});
        QVERIFY(store.saveNow().ok);
        QCOMPARE(onDisk(path).pupils.size(), 200);
    }

    void killDuringSavesLeavesAReadableFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        ClassBook big = sample();
        for (int i = 3; i <= 200; ++i)
            QVERIFY(addPupil(big, {i, QStringLiteral("児童 %1").arg(i), QString(), QString()}).ok);
        ClassStore store;
        QVERIFY(store.create(path, big).ok);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int round = 0;; ++round) {
                store.apply([round](ClassBook &book) {
                    for (Pupil &pupil : book.pupils)
                        pupil.texts[0] = QString(250, QChar(u'あ' + round % 50));
                });
                (void)store.saveNow();
            }
        }
        QTest::qWait(300);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const ClassFileRead read = readClassFile(readAll(path));
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.book.pupils.size(), 200);
    }

    // Another window overwrote this window's text (its teacher chose to): closing this one,
    // first or last, asks instead of leaving without a word.
    void closingAsksWhenThisWindowsWriteWasReplaced_data()
    {
        QTest::addColumn<bool>("thisClosesFirst");
        QTest::newRow("this window closes first") << true;
        QTest::newRow("the other closes first") << false;
    }
    void closingAsksWhenThisWindowsWriteWasReplaced()
    {
        QFETCH(bool, thisClosesFirst);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        writeAll(path, classFileBytes(sample()));
        ClassStore mine, other, reader;
        QVERIFY(mine.open(path).ok && other.open(path).ok && reader.open(path).ok);
        QVERIFY(mine.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("この窓の文")); }).ok);
        QVERIFY(mine.saveNow().ok);
        QVERIFY(other.apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("別の窓の文")); }).ok);
        QVERIFY(!other.saveNow().ok);
        QVERIFY(other.overwriteOther().ok);

        if (!thisClosesFirst)
            QVERIFY(other.saveForClosing().ok);
        QVERIFY(!mine.saveForClosing().ok);
        QCOMPARE(mine.state(), ClassStore::State::Conflict);
        if (thisClosesFirst)
            QVERIFY(other.saveForClosing().ok);
        QVERIFY(reader.saveForClosing().ok); // it wrote nothing of its own: nothing to ask
    }

    // A file that is there but cannot be read is never replaced: not by the window that had
    // it open, not by opening it, not by a new class of that name. Each refusal says why.
    void unreadableFileIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no permission") << "unreadable" << "読む権限がありません";
        QTest::newRow("named pipe") << "pipe" << "ふつうのファイルではありません";
    }
    void unreadableFileIsNeverReplaced()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("3年2組.json"));
        writeAll(path, classFileBytes(sample()));
        ClassStore store;
        QVERIFY(store.open(path).ok);
        QVERIFY(store.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("まだの文")); }).ok);

        FailingCalls calls;
        QVERIFY(QFile::remove(path));
        if (kind == QLatin1String("unreadable")) {
            calls.failWith(QStringLiteral("open for reading"), EACCES);
            writeAll(path, "someone's file");
        } else {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        }
        const QFileInfo before(path);
        const CallsInUse use(calls);

        QVERIFY(!store.saveNow().ok);
        QCOMPARE(store.state(), ClassStore::State::Conflict);
        for (const QString &error : {store.error(), store.overwriteOther().error, store.open(path).error,
                                     ClassStore().create(path, sample()).error}) {
            QVERIFY2(error.contains(QStringLiteral("3年2組.json")) && error.contains(reason), qPrintable(error));
            QVERIFY(!error.contains(QStringLiteral("（）")));
        }
        const QFileInfo after(path);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.lastModified(), before.lastModified());
    }

    // Two windows saving within one slow save (a network share): the second cannot write
    // between the first one's check and its rename; it keeps its change and asks next time.
    void twoWindowsSavingAtOnceLoseNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("組.json"));
        writeAll(path, classFileBytes(sample()));
        ClassStore first, second;
        QVERIFY(first.open(path).ok && second.open(path).ok);
        second.setLockWait(100);
        first.apply([](ClassBook &) {});
        QVERIFY(first.saveNow().ok); // its backup made: its next write is the class file's

        QVERIFY(first.apply([&](ClassBook &book) { return setText(book, 0, 0, QStringLiteral("先の窓の文")); }).ok);
        QVERIFY(second.apply([&](ClassBook &book) { return setText(book, 1, 0, QStringLiteral("後の窓の文")); }).ok);
        FailingCalls calls;
        SaveResult secondSaved;
        calls.duringWrite = [&] { secondSaved = second.saveNow(); };
        {
            const CallsInUse use(calls);
            QVERIFY(first.saveNow().ok);
        }
        QVERIFY(!secondSaved.ok);
        QVERIFY2(second.error().contains(QStringLiteral("保存しているところ")), qPrintable(second.error()));
        QCOMPARE(textOf(onDisk(path), 0, 0), QStringLiteral("先の窓の文"));

        QVERIFY(!second.saveNow().ok);
        QCOMPARE(second.state(), ClassStore::State::Conflict);
        const ClassStore::KeptBoth kept = second.keepBoth();
        QVERIFY(kept.ok);
        QCOMPARE(textOf(onDisk(kept.savedAs), 1, 0), QStringLiteral("後の窓の文"));
        QCOMPARE(textOf(onDisk(path), 0, 0), QStringLiteral("先の窓の文"));
    }

    void lastClassIsRemembered()
    {
        QTemporaryDir work;
        QTemporaryDir elsewhere;
        QCOMPARE(lastClassPath(work.path()), QString());
        const QString inside = work.filePath(QStringLiteral("学級/3年2組.json"));
        rememberLastClass(work.path(), inside);
        QCOMPARE(readAll(work.filePath(QStringLiteral("KotobanLastClass.txt"))), QByteArray("学級/3年2組.json\n"));
        QCOMPARE(lastClassPath(work.path()), inside);
        const QString outside = elsewhere.filePath(QStringLiteral("組.json"));
        rememberLastClass(work.path(), outside);
        QCOMPARE(lastClassPath(work.path()), outside);
    }
};

QTEST_GUILESS_MAIN(TestClassStore)
#include "tst_classstore.moc"
