#include <QDir>
#include <QFile>
#include <QTest>

#include "LibrarySession.h"
#include "LibrarySamples.h"
#include "OverwriteAnswers.h"
#include "TestFolder.h"

// What a save writes, and where, when the teacher changed a category or did not; and the
// recovery journal of a session, from its first change to the next start.

namespace {

Category loaded(const WorkingFolder &folder, int index)
{
    Category category(categoryRules()[index]);
    (void)loadCategory(category, QDir(folder.path()));
    return category;
}

int recordHolding(const Category &category, const QString &sentence)
{
    for (int r = 1; r <= category.count(); ++r)
        if (category.record(r).sentence() == sentence)
            return r;
    return 0;
}

} // namespace

class TestSavePolicy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handEditedFiles_data();
    void handEditedFiles();
    void missingFileGetsItsTitleLine();
    void replacedFolder();
    void loadProblems();
    void journalFromChangeToNextStart();
    void partlyFailedSaveKeepsOnlyWhatIsUnsaved();
    void declinedChangesAreSetAside();
};

void TestSavePolicy::handEditedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sentence"); // the one corrected
    for (const char *name : {"utf16le", "utf16be", "stray-bytes", "literal-fffd", "doubled-quotes", "lf-only",
                             "mixed-line-ends", "bare-fields"})
        QTest::newRow(name) << name << (QByteArray(name) == "stray-bytes" ? "計算が速い。"
                                        : QByteArray(name) == "doubled-quotes" ? "よく働く。" : "音読が上手です。");
}

void TestSavePolicy::handEditedFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, sentence);
    WorkingFolder folder;
    const QString path = folder.filePath(QStringLiteral("Kotoban1.txt"));
    const QByteArray start = testData(name + QStringLiteral(".txt"));
    folder.write(QStringLiteral("Kotoban1.txt"), start);
    OverwriteAnswers answers;

    // Opened and closed: not written, whatever its bytes; not even when another program
    // changed it meanwhile, and nobody is asked.
    Category category = loaded(folder, 0);
    const ino_t before = inode(path);
    QVERIFY(saveCategory(category, DataFolder(folder.path()), answers.callback()).message.isEmpty());
    QCOMPARE(inode(path), before);
    folder.write(QStringLiteral("Kotoban1.txt"), "changed by another program");
    QCOMPARE(saveCategory(category, DataFolder(folder.path()), answers.callback()).outcome,
             SaveReport::Outcome::NothingWritten);
    QCOMPARE(folder.read(QStringLiteral("Kotoban1.txt")), QByteArray("changed by another program"));
    QVERIFY(answers.asked.isEmpty());
    QCOMPARE(entries(folder.path()), QStringList{"Kotoban1.txt"});

    // A correction elsewhere: only the corrected sentence's bytes change, the rest of the
    // file and the backup are as they were.
    folder.write(QStringLiteral("Kotoban1.txt"), start);
    category = loaded(folder, 0);
    const int record = recordHolding(category, sentence);
    QVERIFY(record > 0);
    QVERIFY(category.correct(record, QStringLiteral("直した文。")).ok());
    QCOMPARE(saveCategory(category, DataFolder(folder.path()), answers.callback()).outcome, SaveReport::Outcome::Written);
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == testData(name + QStringLiteral(".corrected.txt")));
    QVERIFY(folder.read(QStringLiteral("Kotoban1.bak")) == start);
    QVERIFY(answers.asked.isEmpty());
}

void TestSavePolicy::missingFileGetsItsTitleLine()
{
    WorkingFolder folder;
    OverwriteAnswers answers;
    Category category = loaded(folder, 2);
    QCOMPARE(saveCategory(category, DataFolder(folder.path()), answers.callback()).outcome, SaveReport::Outcome::Written);
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")) == encodeText(QStringLiteral("\"日常生活について\"\r\n"), Encoding::Cp932).bytes);

    // Created by another window meanwhile: that one's, left alone.
    Category late(categoryRules()[2]);
    WorkingFolder second;
    (void)loadCategory(late, QDir(second.path()));
    second.write(QStringLiteral("Kotoban3.txt"), "another window's");
    QCOMPARE(saveCategory(late, DataFolder(second.path()), answers.callback()).outcome, SaveReport::Outcome::NothingWritten);
    QCOMPARE(second.read(QStringLiteral("Kotoban3.txt")), QByteArray("another window's"));
    QVERIFY(answers.asked.isEmpty());
}

void TestSavePolicy::replacedFolder()
{
    WorkingFolder top;
    const QString path = top.filePath(QStringLiteral("Kotoban"));
    QVERIFY(QDir().mkdir(path));
    const QByteArray start = testData(QStringLiteral("stray-bytes.txt"));
    writeAll(path + QStringLiteral("/Kotoban1.txt"), start);
    const DataFolder folder(path);
    Category category(categoryRules()[0]);
    (void)loadCategory(category, folder.dir());
    QVERIFY(category.add(example("足した例文。")).ok());

    // The folder is moved away and another takes its name (a sync tool, a restored copy).
    QVERIFY(QDir().rename(path, top.filePath(QStringLiteral("Kotoban-old"))));
    QVERIFY(QDir().mkdir(path));
    writeAll(path + QStringLiteral("/Kotoban1.txt"), "another folder's file");
    QVERIFY(folder.wasReplaced());

    OverwriteAnswers answers;
    const SaveReport report = saveCategory(category, folder, answers.callback());
    QCOMPARE(report.outcome, SaveReport::Outcome::WrittenBeside);
    QVERIFY2(report.message.contains(QStringLiteral("作業フォルダー")), qPrintable(report.message));
    QCOMPARE(QDir(path).entryList(QDir::Files).size(), 2);
    QCOMPARE(folder.dir().entryList({QStringLiteral("Kotoban1.txt")}).size(), 1);
    QCOMPARE(readAll(path + QStringLiteral("/Kotoban1.txt")), QByteArray("another folder's file"));
    QVERIFY(QFile(top.filePath(QStringLiteral("Kotoban-old/Kotoban1.txt"))).size() == start.size());

    // No folder at all under the name: nothing can be saved, and the save says so.
    QVERIFY(QDir(path).removeRecursively());
    QVERIFY(category.add(example("もう一つ。")).ok());
    QCOMPARE(saveCategory(category, folder, answers.callback()).outcome, SaveReport::Outcome::Failed);
    QVERIFY(answers.asked.isEmpty());
}

void TestSavePolicy::loadProblems()
{
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban1.txt"), testData(QStringLiteral("field-counts.txt")));
    folder.write(QStringLiteral("Kotoban2.txt"), "\"t\"\r\n\"a\",\"b\",\"c\",\"d\r\n");
    Category first(categoryRules()[0]);
    const QString counts = loadCategory(first, QDir(folder.path())).join(u'\n');
    QVERIFY2(counts.contains(QStringLiteral("Kotoban1.txt の 2、3 行目")), qPrintable(counts));
    Category second(categoryRules()[1]);
    const QString quote = loadCategory(second, QDir(folder.path())).join(u'\n');
    QVERIFY2(quote.contains(QStringLiteral("Kotoban2.txt の 2 行目の「\"」")), qPrintable(quote));
}

void TestSavePolicy::journalFromChangeToNextStart()
{
    WorkingFolder folder;
    folder.write(QStringLiteral("Kotoban3.txt"), testData(QStringLiteral("doubled-quotes.txt")));
    {
        LibrarySession crashed(folder.path());
        (void)crashed.load();
        QVERIFY(!crashed.hasLeftoverChanges());
        QVERIFY(crashed.category(2).add(example("消えるはずだった例文。")).ok());
        QVERIFY(crashed.category(2).correct(1, QStringLiteral("直した文。")).ok());
        QVERIFY(crashed.category(2).remove(2).ok());
        QVERIFY(crashed.takeJournalProblem().isEmpty());
        // Gone without saving: what a kill or a power cut leaves.
    }
    const QByteArray untouched = folder.read(QStringLiteral("Kotoban3.txt"));
    QVERIFY(untouched == testData(QStringLiteral("doubled-quotes.txt")));

    LibrarySession next(folder.path());
    (void)next.load();
    QVERIFY(next.hasLeftoverChanges());
    const ReplayResult replayed = next.recoverLeftoverChanges();
    QCOMPARE(replayed.applied, 3);
    QCOMPARE(next.category(2).count(), 2);
    QCOMPARE(next.category(2).record(1).sentence(), QStringLiteral("直した文。"));
    QCOMPARE(next.category(2).record(2).sentence(), QStringLiteral("消えるはずだった例文。"));
    QVERIFY(next.category(2).hasUnsavedChanges());

    const LibrarySession::SaveAll saved = next.save([](const QString &) { return true; });
    QVERIFY(saved.ok);
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")).contains(encodeText(QStringLiteral("消えるはずだった例文。"), Encoding::Cp932).bytes));
    // Saved: no journal left, nothing offered next time.
    QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*.journal")}), QStringList());
    LibrarySession third(folder.path());
    (void)third.load();
    QVERIFY(!third.hasLeftoverChanges());
}

void TestSavePolicy::partlyFailedSaveKeepsOnlyWhatIsUnsaved()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    {
        LibrarySession session(folder.path());
        (void)session.load();
        QVERIFY(session.category(0).add(example("保存される例文。")).ok());
        QVERIFY(session.category(1).add(example("保存できない例文。")).ok());
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Kotoban2.txt"))));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Kotoban2.txt")));
        QVERIFY(!session.save([](const QString &) { return true; }).ok);
    }
    QVERIFY(QDir(folder.path()).rmdir(QStringLiteral("Kotoban2.txt")));
    folder.write(QStringLiteral("Kotoban2.txt"), starterData(QStringLiteral("Kotoban2.txt")));

    LibrarySession next(folder.path());
    (void)next.load();
    const int saved1 = next.category(0).count();
    const int start2 = next.category(1).count();
    QVERIFY(next.hasLeftoverChanges());
    QCOMPARE(next.recoverLeftoverChanges().applied, 1);
    QCOMPARE(next.category(0).count(), saved1); // saved already: not added twice
    QCOMPARE(next.category(1).count(), start2 + 1);
    QCOMPARE(next.category(1).record(start2 + 1).sentence(), QStringLiteral("保存できない例文。"));
}

void TestSavePolicy::declinedChangesAreSetAside()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    {
        LibrarySession crashed(folder.path());
        (void)crashed.load();
        QVERIFY(crashed.category(0).add(example("要らなかった例文。")).ok());
    }
    LibrarySession next(folder.path());
    (void)next.load();
    QVERIFY(next.hasLeftoverChanges());
    next.setLeftoverChangesAside();
    QVERIFY(!next.category(0).hasUnsavedChanges());
    QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*(元に戻さなかった変更).journal")}).size(), 1);
    LibrarySession third(folder.path());
    (void)third.load();
    QVERIFY(!third.hasLeftoverChanges());
}

QTEST_GUILESS_MAIN(TestSavePolicy)
#include "tst_savepolicy.moc"
