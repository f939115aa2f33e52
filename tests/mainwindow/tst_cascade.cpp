// The classification cascade and the example list, driven with clicks and typing:
// what each step leaves in the lists, the example box and the count label.

#include "WindowFixture.h"

class TestCascade : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { close(); }
    void stepsNarrowLevelByLevel();
    void exampleListEntries();
    void exampleListClicksShowTheExample();
    void pickingTheCurrentEntryAgainRunsItsRefresh();
    void typedClassesThatNameNothing();
    void typedThirdLevelThatMatchesNothing();
    void categoryWithoutExamples();
};

namespace {

// Category 1: 13 examples. Under "５教科" 9 examples; under "５教科"/"全体" 6, of which 5
// are "ほめたい". "5教科" (half-width) and "A"/"a" are classes of their own; "" is a
// second-level class under both "５教科" and "5教科".
const QVector<QStringList> learning = {
    ex("５教科", "全体", "ほめたい", "理解力あり。"),
    ex("５教科", "国語", "ほめたい", "音読がとても上手で、登場人物の気持ちを込めて読めます。"),
    ex("５教科", "全体", "がんばろう", "忘れ物が多い。"),
    ex("5教科", "全体", "ほめたい", "半角の五教科。"),
    ex("５教科", "全体", "ほめたい", "ちょうど十文字の文。"),
    ex("５教科", "", "ほめたい", "区分なしの例文です。"),
    ex("５教科", "国語", "がんばろう", "漢字を丁寧に書きましょう。"),
    ex("５教科", "全体", "ほめたい", "あいうえおかきくけこさしすせそ"),
    ex("英語", "A", "大", "大文字のＡ。"),
    ex("英語", "a", "小", "小文字のａ。"),
    ex("５教科", "全体", "ほめたい", "十一文字ちょうどの文。"),
    ex("5教科", "", "ほめたい", "半角で区分なし。"),
    ex("５教科", "全体", "ほめたい", "最後の例です。"),
};

const QVector<QStringList> moral = {
    ex("道徳", "思いやり", "ほめたい", "友達に優しい。"),
    ex("道徳", "思いやり", "がんばろう", "言葉遣いに気をつけよう。"),
    ex("行事", "運動会", "ほめたい", "応援を頑張りました。"),
};

const QVector<QStringList> daily = {
    ex("生活", "あいさつ", "ほめたい", "元気にあいさつ。"),
    ex("生活", "あいさつ", "がんばろう", "あいさつを自分から。"),
};

} // namespace

void TestCascade::init()
{
    QVERIFY(openLibrary(learning, moral, daily));
}

void TestCascade::stepsNarrowLevelByLevel()
{
    FormDriver &d = *driver;
    QCOMPARE(d.combo("Combo1")->items(), (QStringList{s("５教科"), s("5教科"), s("英語")}));
    QCOMPARE(d.labelText("Label3"), s(" 13"));

    // First level: the second-level classes in order of first occurrence, one each,
    // the empty class among them; nothing chosen below.
    DRIVE(d.pick("Combo1", s("５教科")));
    QCOMPARE(d.combo("Combo1")->text(), s("５教科"));
    QCOMPARE(d.combo("Combo2")->items(), (QStringList{s("全体"), s("国語"), QString()}));
    QCOMPARE(d.combo("Combo2")->text(), QString());
    QCOMPARE(d.combo("Combo2")->currentIndex(), -1);
    QCOMPARE(d.combo("Combo3")->count(), 0);
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 9"));

    // Second level: the third list stands on its first class, whose examples are listed
    // with the first one shown; the label counts the second level.
    DRIVE(d.pick("Combo2", s("全体")));
    QCOMPARE(d.combo("Combo2")->text(), s("全体"));
    QCOMPARE(d.combo("Combo3")->items(), (QStringList{s("ほめたい"), s("がんばろう")}));
    QCOMPARE(d.combo("Combo3")->text(), s("ほめたい"));
    QCOMPARE(d.combo("Combo3")->currentIndex(), 0);
    QCOMPARE(d.list("List1")->count(), 5);
    QCOMPARE(d.list("List1")->currentRow(), 0);
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
    QCOMPARE(d.labelText("Label3"), s("1/ 6"));
    QCOMPARE((d.exampleList(1)->currentRow() + 1), 1);
    QCOMPARE(d.page(1).category().position(), 1);

    // Third level: the picked class's examples, the first shown, the label counting them.
    DRIVE(d.pick("Combo3", s("がんばろう")));
    QCOMPARE(d.combo("Combo3")->text(), s("がんばろう"));
    QCOMPARE(d.combo("Combo2")->text(), s("全体"));
    QCOMPARE(d.list("List1")->count(), 1);
    QCOMPARE(d.list("List1")->item(0)->text(), s("忘れ物が多い。･･･"));
    QCOMPARE(d.list("List1")->currentRow(), 0);
    QCOMPARE(d.box("Text2")->text(), s("忘れ物が多い。"));
    QCOMPARE(d.labelText("Label3"), s(" 1/ 1"));
    QCOMPARE(d.page(1).category().position(), 3);

    DRIVE(d.pick("Combo3", s("ほめたい")));
    QCOMPARE(d.labelText("Label3"), s(" 1/ 5"));
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));

    // The empty second-level class is a class like any other.
    DRIVE(d.pick("Combo2", QString()));
    QCOMPARE(d.combo("Combo3")->items(), QStringList{s("ほめたい")});
    QCOMPARE(d.list("List1")->count(), 1);
    QCOMPARE(d.box("Text2")->text(), s("区分なしの例文です。"));
    QCOMPARE(d.labelText("Label3"), s("1/ 1"));

    // A new first-level choice empties everything below it again.
    DRIVE(d.pick("Combo1", s("英語")));
    QCOMPARE(d.combo("Combo2")->items(), (QStringList{s("A"), s("a")}));
    QCOMPARE(d.combo("Combo3")->count(), 0);
    QCOMPARE(d.combo("Combo3")->text(), QString());
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 2"));
}

void TestCascade::exampleListEntries()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("５教科")));
    DRIVE(d.pick("Combo2", s("全体")));
    QStringList entries;
    for (int i = 0; i < d.list("List1")->count(); ++i)
        entries.append(d.list("List1")->item(i)->text());
    // Ten characters and the three half-width dots, short sentences whole, in library order.
    QCOMPARE(entries, (QStringList{s("理解力あり。･･･"), s("ちょうど十文字の文。･･･"), s("あいうえおかきくけこ･･･"),
                                   s("十一文字ちょうどの文･･･"), s("最後の例です。･･･")}));

    DRIVE(d.pick("Combo2", s("国語")));
    QCOMPARE(d.list("List1")->item(0)->text(), s("音読がとても上手で、･･･"));
    QCOMPARE(d.box("Text2")->text(), s("音読がとても上手で、登場人物の気持ちを込めて読めます。"));
    QCOMPARE(d.labelText("Label3"), s("1/ 2"));
}

void TestCascade::exampleListClicksShowTheExample()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("５教科")));
    DRIVE(d.pick("Combo2", s("全体")));
    QCOMPARE(d.labelText("Label3"), s("1/ 6"));

    DRIVE(d.clickRow("List1", 1));
    QCOMPARE(d.box("Text2")->text(), s("ちょうど十文字の文。"));
    QCOMPARE(d.labelText("Label3"), s(" 2/ 5"));
    QCOMPARE((d.exampleList(1)->currentRow() + 1), 2);
    QCOMPARE(d.page(1).category().position(), 5);

    DRIVE(d.clickRow("List1", 4));
    QCOMPARE(d.box("Text2")->text(), s("最後の例です。"));
    QCOMPARE(d.labelText("Label3"), s(" 5/ 5"));
    QCOMPARE(d.page(1).category().position(), 13);

    // The keyboard selects too.
    QTest::keyClick(d.list("List1"), Qt::Key_Up);
    QCOMPARE(d.box("Text2")->text(), s("十一文字ちょうどの文。"));
    QCOMPARE(d.labelText("Label3"), s(" 4/ 5"));

    // An edit in the example box goes when another entry, or the same one, is selected.
    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);
    typeText(d.box("Text2"), s("書き足し"));
    QVERIFY(d.box("Text2")->text() != s("十一文字ちょうどの文。"));
    DRIVE(d.clickRow("List1", 3));
    QCOMPARE(d.box("Text2")->text(), s("十一文字ちょうどの文。"));
    QCOMPARE(d.labelText("Label3"), s(" 4/ 5"));
    d.box("Text2")->setText(s("書き換えた"));
    DRIVE(d.clickRow("List1", 0));
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
    QCOMPARE(d.labelText("Label3"), s(" 1/ 5"));
    // Only the box changed: the library keeps its sentence.
    QCOMPARE(d.page(1).category().record(11).sentence(), s("十一文字ちょうどの文。"));

    // Nothing else moved.
    QCOMPARE(d.combo("Combo3")->text(), s("ほめたい"));
    QCOMPARE(d.list("List1")->count(), 5);
    QCOMPARE(d.box("Text1")->text(), QString());
}

void TestCascade::pickingTheCurrentEntryAgainRunsItsRefresh()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("５教科")));
    DRIVE(d.pick("Combo2", s("全体")));
    DRIVE(d.clickRow("List1", 2));
    QCOMPARE(d.labelText("Label3"), s(" 3/ 5"));

    // A click on the third-level class the list already stands on lists its examples
    // afresh: the first one shown, the label counting the example list.
    DRIVE(d.pick("Combo3", s("ほめたい")));
    QCOMPARE(d.list("List1")->currentRow(), 0);
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
    QCOMPARE(d.labelText("Label3"), s(" 1/ 5"));

    // The same on the first level: back to the second-level choice.
    DRIVE(d.pick("Combo1", s("５教科")));
    QCOMPARE(d.combo("Combo2")->text(), QString());
    QCOMPARE(d.combo("Combo3")->count(), 0);
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 9"));
}

void TestCascade::typedClassesThatNameNothing()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("５教科")));
    DRIVE(d.pick("Combo2", s("全体")));
    DRIVE(d.clickRow("List1", 1));
    CategoryPage &page = d.page(1);
    QCOMPARE(page.category().position(), 5);

    // A second-level text that names no class: nothing below it, a count of 0, the
    // second list itself untouched.
    d.typeInto("Combo2", s("新しい区分"));
    QCOMPARE(d.combo("Combo2")->text(), s("新しい区分"));
    QCOMPARE(d.combo("Combo2")->items(), (QStringList{s("全体"), s("国語"), QString()}));
    QCOMPARE(d.combo("Combo3")->count(), 0);
    QCOMPARE(d.combo("Combo3")->text(), QString());
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 0"));
    QCOMPARE(d.list("List1")->currentRow(), -1); // nothing is taken as shown
    QCOMPARE(page.category().position(), 5);

    // Typing a class that exists does what picking it does.
    d.typeInto("Combo2", s("国語"));
    QCOMPARE(d.combo("Combo3")->items(), (QStringList{s("ほめたい"), s("がんばろう")}));
    QCOMPARE(d.box("Text2")->text(), s("音読がとても上手で、登場人物の気持ちを込めて読めます。"));
    QCOMPARE(d.labelText("Label3"), s("1/ 2"));

    // A first-level text that names no class: no phantom empty class below it.
    d.typeInto("Combo1", s("新教科"));
    QCOMPARE(d.combo("Combo1")->text(), s("新教科"));
    QCOMPARE(d.combo("Combo1")->count(), 3);
    QCOMPARE(d.combo("Combo2")->count(), 0);
    QCOMPARE(d.combo("Combo2")->text(), QString());
    QCOMPARE(d.combo("Combo3")->count(), 0);
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 0"));
    QVERIFY(d.model(1).narrowFirst(s("新教科")).records.isEmpty());

    // Typing on to a class that exists fills the second list.
    d.typeInto("Combo1", s("英語"));
    QCOMPARE(d.combo("Combo2")->items(), (QStringList{s("A"), s("a")}));
    QCOMPARE(d.labelText("Label3"), s(" 2"));

    // The other categories and the composition never moved.
    QCOMPARE(d.labelText("Label4"), s(" 3"));
    QCOMPARE(d.labelText("Label7"), s(" 2"));
    QCOMPARE(d.box("Text1")->text(), QString());
    QVERIFY(d.dialogs->calls.isEmpty());
}

void TestCascade::typedThirdLevelThatMatchesNothing()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("５教科")));
    DRIVE(d.pick("Combo2", s("全体")));
    DRIVE(d.clickRow("List1", 3));
    CategoryPage &page = d.page(1);
    QCOMPARE(page.shownRecord(), 11);
    QCOMPARE(page.category().position(), 11);

    d.typeInto("Combo3", s("新しい観点"));
    QCOMPARE(d.list("List1")->count(), 0);
    QCOMPARE(d.box("Text2")->text(), QString());
    QCOMPARE(d.labelText("Label3"), s(" 0"));
    QCOMPARE(page.shownRecord(), 0);
    QCOMPARE(page.category().position(), 11);

    // With no example shown, correcting and deleting refuse and change nothing.
    d.box("Text2")->setText(s("新しい文"));
    d.click("CmdEdit");
    QCOMPARE(d.dialogs->calls.size(), 1);
    QVERIFY(!d.dialogs->calls[0].question);
    QCOMPARE(page.category().record(11).sentence(), s("十一文字ちょうどの文。"));
    d.click("CmdDelete");
    QCOMPARE(d.dialogs->calls.size(), 2);
    QVERIFY(!d.dialogs->calls[1].question);
    QCOMPARE(page.category().count(), 13);

    // Typing the class back lists its examples again.
    d.typeInto("Combo3", s("ほめたい"));
    QCOMPARE(d.list("List1")->count(), 5);
    QCOMPARE(d.list("List1")->currentRow(), 0);
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
    QCOMPARE(d.labelText("Label3"), s(" 1/ 5"));
    QCOMPARE(page.category().position(), 1);
}

void TestCascade::categoryWithoutExamples()
{
    QVERIFY(open(dataFile(s("学習"), learning), dataFile(s("道徳"), moral), dataFile(s("日常（空）"), {})));
    FormDriver &d = *driver;
    d.chooseCategory(3);
    // The first list holds the one empty class the loader seeds it with.
    QCOMPARE(d.combo("Combo7")->items(), QStringList{QString()});
    QCOMPARE(d.labelText("Label7"), s(" 0"));
    DRIVE(d.pick("Combo7", QString()));
    QCOMPARE(d.combo("Combo8")->count(), 0);
    QCOMPARE(d.labelText("Label7"), s(" 0"));
    d.typeInto("Combo9", s("なにか"));
    QCOMPARE(d.list("List3")->count(), 0);
    QCOMPARE(d.box("Text4")->text(), QString());
    QCOMPARE(d.labelText("Label7"), s(" 0"));
}

QTEST_MAIN(TestCascade)
#include "tst_cascade.moc"
