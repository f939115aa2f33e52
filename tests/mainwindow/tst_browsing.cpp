// "次文" and "前文" through the real window: every record of the category in library
// order, whatever its classification, wrapping at both ends.

#include "FormDriver.h"

#include <QtTest>

class TestBrowsing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void forwardThroughWholeCategory();
    void backwardThroughWholeCategory();
    void emptyAndSingleExampleCategories();
    void eachCategoryContinuesFromItsOwnRecord();
    void correctionAfterBrowsingCorrectsShownExample();

private:
    // Checks that the window shows record x of category 1 as a browsing step leaves it;
    // the shared working record holds x only if that step was the last in any category.
    static void checkShows(FormDriver &form, int x, bool lastStep = true);
};

namespace {

constexpr int recordCount = 120;

// 120 examples in runs of classifications that come back later in the table, so most
// classifications are spread over it, with runs of one and of several records.
QVector<QStringList> largeCategory()
{
    const QStringList first{"国語", "数学", "英語"};
    const QStringList second{"全体", "意欲"};
    const QStringList third{"ほめたい", "がんばらせたい"};
    QVector<QStringList> records;
    for (int r = 1; r <= recordCount; ++r) {
        const int run = (r * 7 / 10) % 12; // runs of one or two records
        records.append({first[run % 3], second[run / 3 % 2], third[run / 6 % 2],
                        QStringLiteral("第%1の例文です。").arg(r)});
    }
    return records;
}

const QVector<QStringList> smallCategory{
    {"生活", "態度", "ほめたい", "明るく元気です。"},
    {"友人", "協調", "ほめたい", "誰とでも仲良くできます。"},
    {"生活", "態度", "ほめたい", "あいさつができます。"},
};

} // namespace

void TestBrowsing::checkShows(FormDriver &form, int x, bool lastStep)
{
    CategoryPage &page = form.page(1);
    const Example &record = page.category().record(x);
    QCOMPARE(form.combo(1, 1)->text(), record.firstClass());
    QCOMPARE(form.combo(1, 2)->text(), record.secondClass());
    QCOMPARE(form.combo(1, 3)->text(), record.thirdClass());
    QCOMPARE(form.exampleBox(1)->text(), record.sentence());
    QCOMPARE(form.label(1), QStringLiteral(" %1/ %2").arg(x).arg(page.category().count()));

    // The example list holds the record's classification in library order, its line selected.
    QVector<int> classification;
    QStringList lines;
    for (int r = 1; r <= page.category().count(); ++r) {
        const Example &other = page.category().record(r);
        if (other.firstClass() == record.firstClass() && other.secondClass() == record.secondClass()
            && other.thirdClass() == record.thirdClass()) {
            classification.append(r);
            lines.append(entry(other.sentence()));
        }
    }
    QCOMPARE(page.listedRecords(), classification);
    QCOMPARE(form.lines(1), lines);
    QCOMPARE(page.listedRecords().value(form.exampleList(1)->currentRow()), x);
    QCOMPARE(page.category().position(), x);
    if (lastStep)
        QCOMPARE(form.window.EDCurrent(), x);
}

void TestBrowsing::forwardThroughWholeCategory()
{
    WorkingFolder folder;
    const QVector<QStringList> records = largeCategory();
    writeLibrary(folder, records, smallCategory, smallCategory);
    FormDriver form(folder.path());
    QCOMPARE(form.page(1).category().count(), recordCount);

    // The current record starts at 1, so the first step shows record 2.
    for (int step = 0; step < recordCount + 2; ++step) {
        form.next();
        const int x = (step + 1) % recordCount + 1;
        checkShows(form, x);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("at record %1").arg(x)));
    }
    form.next(); // 4
    form.next(); // 5
    QCOMPARE(form.label(1), QStringLiteral(" 5/ 120"));

    // After the teacher selects a line, the next step starts from that example.
    form.showRecord(1, 50);
    form.next();
    checkShows(form, 51);
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(form.sentences(1).size(), recordCount);
}

void TestBrowsing::backwardThroughWholeCategory()
{
    WorkingFolder folder;
    writeLibrary(folder, largeCategory(), smallCategory, smallCategory);
    FormDriver form(folder.path());

    // From the start the first step back shows the last example.
    for (int step = 0; step < recordCount + 2; ++step) {
        form.back();
        const int x = (recordCount - step + recordCount - 1) % recordCount + 1;
        checkShows(form, x);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("at record %1").arg(x)));
    }
    // Forward and back again return to the same record.
    form.next();
    form.back();
    checkShows(form, recordCount - 1);
}

void TestBrowsing::emptyAndSingleExampleCategories()
{
    WorkingFolder folder;
    writeLibrary(folder, smallCategory, {}, {{"生活", "態度", "ほめたい", "明るく元気です。"}});
    FormDriver form(folder.path());

    // A data file with its title line only.
    form.chooseCategory(2);
    QCOMPARE(form.page(2).category().count(), 0);
    form.next();
    QCOMPARE(form.label(2), QStringLiteral(" 1/ 0"));
    QCOMPARE(form.exampleBox(2)->text(), QString());
    QCOMPARE(form.lines(2), QStringList());
    for (int level = 1; level <= 3; ++level)
        QCOMPARE(form.combo(2, level)->text(), QString());
    form.back();
    QCOMPARE(form.label(2), QStringLiteral(" 0/ 0"));
    QCOMPARE(form.exampleBox(2)->text(), QString());
    QCOMPARE(form.lines(2), QStringList());
    form.next();
    QCOMPARE(form.label(2), QStringLiteral(" 1/ 0"));
    QCOMPARE(form.page(2).category().count(), 0);

    // A single example: both directions show it again.
    form.chooseCategory(3);
    for (int step = 0; step < 2; ++step) {
        step == 0 ? form.next() : form.back();
        QCOMPARE(form.label(3), QStringLiteral(" 1/ 1"));
        QCOMPARE(form.exampleBox(3)->text(), QStringLiteral("明るく元気です。"));
        QCOMPARE(form.lines(3), QStringList({entry(QStringLiteral("明るく元気です。"))}));
        QCOMPARE(form.exampleList(3)->currentRow(), 0);
        QCOMPARE(form.combo(3, 1)->text(), QStringLiteral("生活"));
    }
    QVERIFY(form.dialogs->calls.isEmpty());
}

void TestBrowsing::eachCategoryContinuesFromItsOwnRecord()
{
    WorkingFolder folder;
    writeLibrary(folder, largeCategory(), smallCategory, smallCategory);
    FormDriver form(folder.path());

    form.next();
    form.next();
    form.next();
    checkShows(form, 4);
    form.chooseCategory(3);
    form.next();
    QCOMPARE(form.label(3), QStringLiteral(" 2/ 3"));
    QCOMPARE(form.exampleBox(3)->text(), smallCategory[1][3]);
    form.chooseCategory(2);
    form.back();
    QCOMPARE(form.label(2), QStringLiteral(" 3/ 3"));

    // Category 1 kept its display and goes on from record 4.
    form.chooseCategory(1);
    checkShows(form, 4, false);
    form.next();
    checkShows(form, 5);
    form.chooseCategory(3);
    QCOMPARE(form.exampleBox(3)->text(), smallCategory[1][3]);
    form.next();
    QCOMPARE(form.label(3), QStringLiteral(" 3/ 3"));
    // Record 3 shares its classification with record 1: both are listed, the second selected.
    QCOMPARE(form.lines(3), QStringList({entry(smallCategory[0][3]), entry(smallCategory[2][3])}));
    QCOMPARE(form.exampleList(3)->currentRow(), 1);
    form.chooseCategory(2);
    form.next();
    QCOMPARE(form.label(2), QStringLiteral(" 1/ 3"));
}

void TestBrowsing::correctionAfterBrowsingCorrectsShownExample()
{
    WorkingFolder folder;
    writeLibrary(folder, largeCategory(), smallCategory, smallCategory);
    FormDriver form(folder.path());
    CategoryPage &page = form.page(1);

    // Record 17 is not the first of its classification's list.
    for (int step = 0; step < 16; ++step)
        form.next();
    checkShows(form, 17);
    QVERIFY(form.exampleList(1)->currentRow() > 0);
    form.typeSentence(1, QStringLiteral("訂正した例文です。"));
    form.correct();
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().record(17).sentence(), QStringLiteral("訂正した例文です。"));
    for (int r = 1; r <= recordCount; ++r)
        if (r != 17)
            QCOMPARE(page.category().record(r).sentence(), QStringLiteral("第%1の例文です。").arg(r));

    // Browsing back onto it shows the correction.
    form.next();
    form.back();
    checkShows(form, 17);
    QCOMPARE(form.exampleBox(1)->text(), QStringLiteral("訂正した例文です。"));
}

QTEST_MAIN(TestBrowsing)
#include "tst_browsing.moc"
