// The composition area: "決　定", "文章消去", "文章をコピー" and the character count,
// driven through the real window.

#include "WindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

class TestComposition : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { close(); }
    void decideAppendsTheShownExampleOfTheCurrentCategory();
    void copyTakesTheSelectionOrEverything();
    void clearEmptiesTheComposition();
    void characterCountFollowsEveryChange();

private:
    QString clipboardText() const { return QGuiApplication::clipboard()->text(); }
};

void TestComposition::init()
{
    QVERIFY(openShortLibrary());
}

void TestComposition::decideAppendsTheShownExampleOfTheCurrentCategory()
{
    FormDriver &d = *driver;
    TextBox *text1 = d.box("Text1");
    QGuiApplication::clipboard()->setText(s("前からあった文"));

    // Nothing shown yet: nothing to append.
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), QString());

    DRIVE(d.pick("Combo1", s("国語")));
    DRIVE(d.pick("Combo2", s("全体")));
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。")); // no leading line break
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。"));

    // Category 2: its own example box is still empty; category 1's text is not read.
    d.chooseCategory(2);
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。"));
    DRIVE(d.pick("Combo4", s("道徳")));
    DRIVE(d.pick("Combo5", s("思いやり")));
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。\n友達に優しい。"));

    // Category 3, with the example edited in its box first: the edit is appended, the
    // library keeps its sentence.
    d.chooseCategory(3);
    DRIVE(d.pick("Combo7", s("生活")));
    DRIVE(d.pick("Combo8", s("あいさつ")));
    QTest::mouseClick(d.box("Text4"), Qt::LeftButton);
    QTest::keyClick(d.box("Text4"), Qt::Key_End, Qt::ControlModifier);
    typeText(d.box("Text4"), s("できます"));
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。\n友達に優しい。\n元気にあいさつ。できます"));
    QCOMPARE(d.page(3).category().record(1).sentence(), s("元気にあいさつ。"));
    QCOMPARE(d.box("Text4")->text(), s("元気にあいさつ。できます"));

    // An emptied example box appends nothing to a composition that has text.
    QTest::mouseClick(d.box("Text4"), Qt::LeftButton);
    QTest::keyClick(d.box("Text4"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(d.box("Text4"), Qt::Key_Delete);
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。\n友達に優しい。\n元気にあいさつ。できます"));

    // Back in category 1 the other example of the list is appended.
    d.chooseCategory(1);
    DRIVE(d.clickRow("List1", 1));
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("理解力あり。\n理解力あり。\n友達に優しい。\n元気にあいさつ。できます\n音読が上手です。"));

    QCOMPARE(clipboardText(), s("前からあった文"));
}

void TestComposition::copyTakesTheSelectionOrEverything()
{
    FormDriver &d = *driver;
    TextBox *text1 = d.box("Text1");
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("一行目です"));
    QTest::keyClick(text1, Qt::Key_Return);
    typeText(text1, s("二行目です"));
    const QString composition = s("一行目です\n二行目です");
    QCOMPARE(text1->text(), composition);

    // A selection across the line break: only it is copied; the caret ends where it began.
    text1->setSelection(2, 5);
    d.click("CmdCopy");
    QCOMPARE(clipboardText(), s("目です\n二"));
    QCOMPARE(text1->selLength(), 0);
    QCOMPARE(text1->selStart(), 2);
    QCOMPARE(text1->textCursor().position(), 2);
    QCOMPARE(text1->text(), composition);

    // A selection made backwards with the keyboard: the caret still goes to its start.
    text1->setSelection(9, 0);
    QTest::keyClick(text1, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(text1, Qt::Key_Left, Qt::ShiftModifier);
    d.click("CmdCopy");
    QCOMPARE(clipboardText(), s("行目"));
    QCOMPARE(text1->textCursor().position(), 7);
    QVERIFY(!text1->textCursor().hasSelection());

    // Nothing selected: the whole composition, the caret at the start.
    text1->setSelection(text1->text().size(), 0);
    d.click("CmdCopy");
    QCOMPARE(clipboardText(), composition);
    QVERIFY(!text1->textCursor().hasSelection());
    QCOMPARE(text1->textCursor().position(), 0);
    QCOMPARE(text1->text(), composition);

    // An empty composition puts empty text on the clipboard.
    d.click("CmdClear");
    d.click("CmdCopy");
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
    QCOMPARE(clipboardText(), QString());
}

void TestComposition::clearEmptiesTheComposition()
{
    FormDriver &d = *driver;
    DRIVE(d.pick("Combo1", s("国語")));
    DRIVE(d.pick("Combo2", s("全体")));
    d.click("CmdKettei1");
    QGuiApplication::clipboard()->setText(s("そのまま"));
    d.click("CmdClear");
    QCOMPARE(d.box("Text1")->text(), QString());
    QCOMPARE(d.labelText("LabelCount"), s("0字"));
    d.click("CmdClear");
    QCOMPARE(d.box("Text1")->text(), QString());
    // Only the composition: the example box and the clipboard stay.
    QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
    QCOMPARE(clipboardText(), s("そのまま"));
}

void TestComposition::characterCountFollowsEveryChange()
{
    FormDriver &d = *driver;
    TextBox *text1 = d.box("Text1");
    QCOMPARE(d.labelText("LabelCount"), s("0字"));

    QTest::mouseClick(text1, Qt::LeftButton);
    QTest::keyClicks(text1, QStringLiteral("abc"));
    QCOMPARE(d.labelText("LabelCount"), s("3字"));
    typeText(text1, s("あいう"));
    QCOMPARE(d.labelText("LabelCount"), s("6字"));
    QTest::keyClick(text1, Qt::Key_Return); // line breaks are not counted
    QTest::keyClick(text1, Qt::Key_Return);
    QCOMPARE(d.labelText("LabelCount"), s("6字"));
    QTest::keyClick(text1, Qt::Key_Backspace);
    QTest::keyClick(text1, Qt::Key_Backspace);
    QTest::keyClick(text1, Qt::Key_Backspace);
    QCOMPARE(d.labelText("LabelCount"), s("5字"));

    // Characters as a reader counts them, pasted with the box's own Ctrl+V.
    const struct {
        const char *text;
        int counted;
    } clusters[] = {
        {"\xE3\x81\x8B\xE3\x82\x99", 1},                                // か + combining voiced mark
        {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 1},                        // thumbs up, skin tone
        {"\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", 1},                        // flag of Japan
        {"\xF0\xA0\xAE\xB7", 1},                                        // 𠮷, a surrogate pair
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", 1}, // family (ZWJ)
        {"a\r\nb", 2},
    };
    int expected = 5;
    for (const auto &cluster : clusters) {
        text1->setSelection(text1->text().size(), 0);
        QGuiApplication::clipboard()->setText(s(cluster.text));
        QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
        expected += cluster.counted;
        QVERIFY2(d.labelText("LabelCount") == QString::number(expected) + u'字', cluster.text);
    }

    // "決　定" and "文章消去".
    d.click("CmdClear");
    QCOMPARE(d.labelText("LabelCount"), s("0字"));
    DRIVE(d.pick("Combo1", s("国語")));
    DRIVE(d.pick("Combo2", s("全体")));
    d.click("CmdKettei1");
    QCOMPARE(d.labelText("LabelCount"), s("6字"));
    d.click("CmdKettei1");
    QCOMPARE(d.labelText("LabelCount"), s("12字"));
    // The Edit menu's cut, with the composition as its target.
    QCOMPARE(d.window.TextFocus(), 1);
    text1->setSelection(0, 3);
    d.action("mnuEditCut")->trigger();
    QCOMPARE(d.labelText("LabelCount"), s("9字"));
    d.click("CmdClear");
    QCOMPARE(d.labelText("LabelCount"), s("0字"));
}

QTEST_MAIN(TestComposition)
#include "tst_composition.moc"
