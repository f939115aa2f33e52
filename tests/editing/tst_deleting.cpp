// "例文削除" through the real window: the confirmation, the table closing its gap and
// the display moving to the example before the deleted one.

#include "EditingFixture.h"

#include <QtTest>

class TestDeleting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirmationAndNo();
    void deleteRecord_data();
    void deleteRecord();
    void onlyExampleOfCategoryStays();
    void noLineSelectedRefuses_data();
    void noLineSelectedRefuses();
};

void TestDeleting::confirmationAndNo()
{
    EditingForm form;

    form.showRecord(1, 2);
    const CategoryState before = form.state(1);
    QCOMPARE(before.currentRow, 1);
    form.dialogs->answers = {false};
    form.remove();

    QCOMPARE(form.dialogs->calls.size(), 1);
    const ScriptedDialogs::Call &call = form.dialogs->calls.first();
    QVERIFY(call.question);
    QCOMPARE(call.title, QStringLiteral("確認"));
    QCOMPARE(call.text, QStringLiteral("この例文を削除していいですか？"));
    QCOMPARE(call.icon, Dialogs::Icon::Question);
    QVERIFY(call.yesIsDefault);
    QCOMPARE(form.state(1), before);
    QCOMPARE(form.sentences(1), fixture::sentences(fixture::category1()));

    // Yes then deletes the example the list stands on.
    form.remove();
    QCOMPARE(form.dialogs->calls.size(), 2);
    QCOMPARE(form.page(1).category().count(), 6);
    QVERIFY(!form.sentences(1).contains(fixture::category1()[1][3]));
}

void TestDeleting::deleteRecord_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("shown");          // the record shown afterwards
    QTest::addColumn<QStringList>("classes"); // its classes, now in the lists
    QTest::addColumn<QVector<int>>("listed"); // the records of the rebuilt example list
    QTest::addColumn<QString>("label");

    const QStringList praiseReading{"国語", "読む", "ほめたい"};
    // Record 1 heads the classification 国語 / 読む / ほめたい (records 1, 2 and 6); what
    // followed it becomes record 1 and is shown, the rest of its classification renumbered.
    QTest::newRow("first") << 1 << 1 << praiseReading << QVector<int>{1, 5} << QStringLiteral(" 1/ 2");
    QTest::newRow("middle of a classification spread over the table")
        << 2 << 1 << praiseReading << QVector<int>{1, 5} << QStringLiteral(" 1/ 2");
    // Record 6 lies behind other classifications; the one before it is 数学's only example.
    QTest::newRow("spread classification's last")
        << 6 << 5 << QStringList{"数学", "計算", "ほめたい"} << QVector<int>{5} << QStringLiteral(" 1/ 1");
    // Record 4 is the only example of 国語 / 書く: the display moves to record 3's classification.
    QTest::newRow("only example of a classification")
        << 4 << 3 << QStringList{"国語", "読む", "がんばらせたい"} << QVector<int>{3} << QStringLiteral(" 1/ 1");
    // Record 7 is the last of the table and the only example of 理科.
    QTest::newRow("last") << 7 << 6 << praiseReading << QVector<int>{1, 2, 6} << QStringLiteral(" 3/ 3");
}

void TestDeleting::deleteRecord()
{
    QFETCH(int, record);
    QFETCH(int, shown);
    QFETCH(QStringList, classes);
    QFETCH(QVector<int>, listed);
    QFETCH(QString, label);

    EditingForm form;
    CategoryPage &page = form.page(1);
    const QStringList firstLevelBefore = form.combo(1, 1)->items();

    form.showRecord(1, record);
    QCOMPARE(page.listedRecords().value(form.exampleList(1)->currentRow()), record);
    form.remove();

    QCOMPARE(form.dialogs->calls.size(), 1);
    QStringList remaining = fixture::sentences(fixture::category1());
    remaining.removeAt(record - 1);
    QCOMPARE(form.sentences(1), remaining);
    QCOMPARE(page.category().count(), 6);

    QCOMPARE(QStringList({form.combo(1, 1)->text(), form.combo(1, 2)->text(), form.combo(1, 3)->text()}), classes);
    QCOMPARE(page.listedRecords(), listed);
    QStringList lines;
    for (int r : listed)
        lines.append(entry(page.category().record(r).sentence()));
    QCOMPARE(form.lines(1), lines);
    QCOMPARE(page.listedRecords().value(form.exampleList(1)->currentRow()), shown);
    QCOMPARE(form.exampleBox(1)->text(), page.category().record(shown).sentence());
    QCOMPARE(form.label(1), label);
    QCOMPARE(page.category().position(), shown);
    QCOMPARE(form.window.EDCurrent(), shown);

    // A class no example carries any more: gone from the rebuilt second-level list, but the
    // first-level list is not rebuilt by a deletion.
    if (record == 4)
        QVERIFY(!form.combo(1, 2)->items().contains(QStringLiteral("書く")));
    QCOMPARE(form.combo(1, 1)->items(), firstLevelBefore);

    // Browsing goes on from the example shown.
    form.next();
    QCOMPARE(form.label(1), QStringLiteral(" %1/ 6").arg(shown % 6 + 1));
}

void TestDeleting::onlyExampleOfCategoryStays()
{
    WorkingFolder folder;
    fixture::write(folder);
    const QVector<QStringList> single{{"行事", "合唱", "ほめたい", "歌声が響きました。"}};
    folder.write(QStringLiteral("Kotoban2.txt"), dataFile(QStringLiteral("道徳、特活、総合、行事"), single));
    FormDriver form(folder.path());

    form.chooseCategory(2);
    form.showRecord(2, 1);
    form.remove();

    QCOMPARE(form.dialogs->calls.size(), 1);
    QVERIFY(form.dialogs->calls.first().question);
    QCOMPARE(form.page(2).category().count(), 1);
    QCOMPARE(form.page(2).category().record(1), fixture::example(single[0]));
    QCOMPARE(form.lines(2), QStringList({entry(single[0][3])}));
    QCOMPARE(form.exampleList(2)->currentRow(), 0);
    QCOMPARE(form.exampleBox(2)->text(), single[0][3]);
    QCOMPARE(form.label(2), QStringLiteral(" 1/ 1"));
    // The other categories are untouched.
    QCOMPARE(form.page(1).category().count(), 7);
    QCOMPARE(form.page(3).category().count(), 3);
}

void TestDeleting::noLineSelectedRefuses_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("right after start-up") << QStringLiteral("start-up");
    QTest::newRow("after a first-level choice") << QStringLiteral("first level");
    QTest::newRow("after an add in another category") << QStringLiteral("add elsewhere");
}

// "例文削除" and "例文訂正" while the example list has no selected line: the teacher
// sees no example, so neither may change one.
void TestDeleting::noLineSelectedRefuses()
{
    QFETCH(QString, situation);
    EditingForm form;

    if (situation == QLatin1String("first level")) {
        form.showRecord(1, 2);
        form.pickClass(1, 1, QStringLiteral("数学"));
    } else if (situation == QLatin1String("add elsewhere")) {
        form.showRecord(1, 2);
        form.chooseCategory(2);
        form.typeSentence(2, QStringLiteral("新しい例文です。"));
        form.add();
        QCOMPARE(form.page(2).category().count(), 3);
        form.chooseCategory(1);
    }
    QCOMPARE(form.exampleList(1)->count() == 0 || form.exampleList(1)->currentRow() < 0, true);
    form.typeSentence(1, QStringLiteral("見えていない例文を書きかえる文。"));
    const CategoryState before = form.state(1);
    QVERIFY(form.dialogs->calls.isEmpty());

    form.remove();
    QCOMPARE(form.dialogs->texts(), QStringList({"削除する例文を一覧から選んでください。"}));
    QVERIFY(!form.dialogs->calls.last().question);
    QCOMPARE(form.state(1), before);

    form.correct();
    QCOMPARE(form.dialogs->texts(),
             QStringList({"削除する例文を一覧から選んでください。", "訂正する例文を一覧から選んでください。"}));
    QVERIFY(!form.dialogs->calls.last().question);
    QCOMPARE(form.state(1), before);
    QCOMPARE(form.sentences(1), fixture::sentences(fixture::category1()));
    QCOMPARE(form.page(1).category().record(0), Example());
}

QTEST_MAIN(TestDeleting)
#include "tst_deleting.moc"
