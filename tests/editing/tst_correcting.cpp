// "例文訂正" through the real window: only the sentence of the selected example changes.

#include "EditingFixture.h"

#include <QtTest>

class TestCorrecting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replacesOnlyTheSentence();
    void followsTheListAfterAClassChange();
    void unstorableCharactersRefused_data();
    void unstorableCharactersRefused();
};

void TestCorrecting::replacesOnlyTheSentence()
{
    EditingForm form;
    CategoryPage &page = form.page(1);

    // Record 6 is the third line of 国語 / 読む / ほめたい.
    form.showRecord(1, 6);
    QCOMPARE(form.exampleList(1)->currentRow(), 2);
    const CategoryState before = form.state(1);
    const QString corrected = QStringLiteral("読書感想文では、本の内容と自分の体験を結びつけて書けました。");
    form.typeSentence(1, corrected);
    form.correct();

    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().record(6), fixture::example({"国語", "読む", "ほめたい", corrected}));
    QStringList expected = fixture::sentences(fixture::category1());
    expected[5] = corrected;
    QCOMPARE(form.sentences(1), expected);
    // Nothing else moves: lists, selection, count label, positions.
    CategoryState after = form.state(1);
    QCOMPARE(after.comboTexts, before.comboTexts);
    QCOMPARE(after.lines, before.lines);
    QCOMPARE(after.currentRow, 2);
    QCOMPARE(after.label, before.label);
    QCOMPARE(after.current, before.current);

    // Selecting the line again shows the corrected sentence.
    DRIVE(form.clickRow(form.exampleList(1), 0));
    QCOMPARE(form.exampleBox(1)->text(), fixture::category1()[0][3]);
    DRIVE(form.clickRow(form.exampleList(1), 2));
    QCOMPARE(form.exampleBox(1)->text(), corrected);

    // Each press stores the box as it stands, an empty box as an empty sentence.
    form.typeSentence(1, QString());
    form.correct();
    QCOMPARE(page.category().record(6).sentence(), QString());
    QCOMPARE(page.category().record(6).firstClass(), QStringLiteral("国語"));
    QCOMPARE(page.category().count(), 7);

    // Category 3 corrects its own table.
    form.chooseCategory(3);
    form.showRecord(3, 2);
    form.typeSentence(3, QStringLiteral("忘れ物が減ってきました。"));
    form.correct();
    QCOMPARE(form.page(3).category().record(2), fixture::example({"生活", "態度", "がんばらせたい", "忘れ物が減ってきました。"}));
    QCOMPARE(form.page(1).category().record(6).sentence(), QString());
    QCOMPARE(form.sentences(2), fixture::sentences(fixture::category2()));
    QVERIFY(form.dialogs->calls.isEmpty());
}

void TestCorrecting::followsTheListAfterAClassChange()
{
    EditingForm form;
    CategoryPage &page = form.page(1);

    // A third-level choice after a selection narrows anew: the correction applies to the
    // line the narrowing selected.
    form.showRecord(1, 2);
    form.pickClass(1, 3, QStringLiteral("がんばらせたい"));
    QCOMPARE(page.listedRecords(), QVector<int>({3}));
    form.typeSentence(1, QStringLiteral("音読の声が大きくなってきました。"));
    form.correct();
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().record(3).sentence(), QStringLiteral("音読の声が大きくなってきました。"));
    QCOMPARE(page.category().record(2).sentence(), fixture::category1()[1][3]);
}

void TestCorrecting::unstorableCharactersRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("characters");
    // Which characters are refused is the category's rule, tested there.
    QTest::newRow("each named once") << QStringLiteral("\"𠮷\"と\"𠮷\"") << QStringLiteral("\"𠮷");
}

void TestCorrecting::unstorableCharactersRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, characters);
    EditingForm form;

    form.showRecord(1, 2);
    form.typeSentence(1, text);
    const CategoryState before = form.state(1);
    form.correct();

    QCOMPARE(form.dialogs->texts(), QStringList({QStringLiteral("次の文字は例文データファイルに保存できません：")
                                                 + characters + QStringLiteral("\n別の文字に置き換えてください。")}));
    QCOMPARE(form.state(1), before);
    QCOMPARE(form.exampleBox(1)->text(), text);
    QCOMPARE(form.sentences(1), fixture::sentences(fixture::category1()));
}

QTEST_MAIN(TestCorrecting)
#include "tst_correcting.moc"
