#include <QDir>
#include <QTest>

#include "Form1.h"
#include "LibrarySamples.h"
#include "LibrarySession.h"
#include "TestSupport.h"

#include <memory>

// What the window asks and says around the recovery journal, and an unattended close
// (logging out, shutting down): the library tests cover what is written.

namespace {

struct Window {
    explicit Window(const WorkingFolder &folder) : form(folder.path(), std::unique_ptr<Dialogs>(dialogs)) {}
    ScriptedDialogs *dialogs = new ScriptedDialogs;
    Form1 form;
};

// A run that added an example and then ended without saving.
void crashAfterAdding(const WorkingFolder &folder, const char *sentence)
{
    LibrarySession crashed(folder.path());
    (void)crashed.load();
    QVERIFY(crashed.category(0).add(example(sentence)).ok());
}

QStringList journals(const WorkingFolder &folder)
{
    return QDir(folder.path()).entryList({QStringLiteral("*.journal")}, QDir::Files);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leftoverChangesOffered_data();
    void leftoverChangesOffered();
    void unattendedCloseAsksNothing();
    void twoWindowsOnOneFolder_data();
    void twoWindowsOnOneFolder();
};

void TestRecovery::leftoverChangesOffered_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes: brought back") << true;
    QTest::newRow("no: set aside") << false;
}

void TestRecovery::leftoverChangesOffered()
{
    QFETCH(bool, answer);
    WorkingFolder folder;
    folder.seedStarterLibrary();
    crashAfterAdding(folder, "落ちる前に足した例文。");
    const QByteArray start1 = folder.read(QStringLiteral("Kotoban1.txt"));

    Window window(folder);
    const int count = window.form.page(0).category().count();
    window.dialogs->answers = {answer};
    window.form.reportStartupProblems();
    QCOMPARE(window.dialogs->calls.size(), 1);
    QVERIFY(window.dialogs->calls[0].question);
    QCOMPARE(window.dialogs->calls[0].text, QStringLiteral("前回、保存しないまま終了した変更があります。元に戻しますか？"));

    const Category &category = window.form.page(0).category();
    QCOMPARE(category.count(), count + (answer ? 1 : 0));
    QCOMPARE(category.record(category.count()).sentence() == QStringLiteral("落ちる前に足した例文。"), answer);
    QVERIFY(window.form.mnuFileSave_Click());
    QCOMPARE(folder.read(QStringLiteral("Kotoban1.txt")) == start1, !answer);
    // Saved: no journal offered again; a declined one stays, under another name.
    QCOMPARE(journals(folder).size(), answer ? 0 : 1);
    Window next(folder);
    next.form.reportStartupProblems();
    QVERIFY(next.dialogs->calls.isEmpty());
}

void TestRecovery::unattendedCloseAsksNothing()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    Window window(folder);
    window.form.show();
    QVERIFY(window.form.page(0).category().correct(1, QStringLiteral("ログアウトの前に直した例文。")).ok());
    QVERIFY(window.form.page(2).category().correct(1, QStringLiteral("これも直した例文。")).ok());
    folder.write(QStringLiteral("Kotoban1.txt"), "changed by another program");

    window.form.closeUnattended();
    QVERIFY(!window.form.isVisible());
    QVERIFY(window.dialogs->calls.isEmpty());
    // The other program's file stays; this run's version is beside it; the rest saved.
    QCOMPARE(folder.read(QStringLiteral("Kotoban1.txt")), QByteArray("changed by another program"));
    const QStringList beside = QDir(folder.path()).entryList({QStringLiteral("Kotoban1 (ことばんで保存 *).txt")});
    QCOMPARE(beside.size(), 1);
    QVERIFY(folder.read(beside[0]).contains(encodeText(QStringLiteral("ログアウトの前に直した例文。"), Encoding::Cp932).bytes));
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")).contains(encodeText(QStringLiteral("これも直した例文。"), Encoding::Cp932).bytes));
    QCOMPARE(journals(folder), QStringList());
}

void TestRecovery::twoWindowsOnOneFolder_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("second window: no") << false;
    QTest::newRow("second window: yes") << true;
}

void TestRecovery::twoWindowsOnOneFolder()
{
    QFETCH(bool, answer);
    WorkingFolder folder;
    folder.seedStarterLibrary();
    const QByteArray start2 = folder.read(QStringLiteral("Kotoban2.txt"));
    Window first(folder);
    Window second(folder);
    QVERIFY(first.form.page(0).category().add(example("一つ目の窓の例文。")).ok());
    QVERIFY(first.form.page(1).category().add(example("一つ目の窓の例文その二。")).ok());
    QVERIFY(second.form.page(0).category().add(example("二つ目の窓の例文。")).ok());
    QVERIFY(first.form.close());
    const QByteArray firsts = folder.read(QStringLiteral("Kotoban1.txt"));
    const QByteArray firsts2 = folder.read(QStringLiteral("Kotoban2.txt"));
    QVERIFY(firsts2 != start2);

    // Only the category the second window changed is asked about; the other is left as the
    // first window saved it.
    second.dialogs->answers = {answer};
    QVERIFY(second.form.close());
    QCOMPARE(second.dialogs->calls.size(), answer ? 1 : 2);
    QVERIFY(second.dialogs->calls[0].question && second.dialogs->calls[0].text.startsWith(QStringLiteral("Kotoban1.txt")));
    QVERIFY(folder.read(QStringLiteral("Kotoban2.txt")) == firsts2);
    const QByteArray mine = encodeText(QStringLiteral("二つ目の窓の例文。"), Encoding::Cp932).bytes;
    if (answer) {
        QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")).contains(mine));
        return;
    }
    // No: the first window's file stays, the second's work is beside it, and said so.
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt")) == firsts);
    const QStringList beside = QDir(folder.path()).entryList({QStringLiteral("Kotoban1 (ことばんで保存 *).txt")});
    QCOMPARE(beside.size(), 1);
    QVERIFY(folder.read(beside[0]).contains(mine));
    QVERIFY(!second.dialogs->calls[1].question && second.dialogs->calls[1].text.contains(beside[0]));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
