// The Edit menu and the focus tracking that picks its target: real focus changes by
// mouse clicks, the menu opened from the menu bar and its items clicked.

#include "WindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <functional>

class TestEditMenu : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { close(); }
    void focusTracking();
    void openingMenusKeepsTheTarget();
    void itemsActOnTheFocusedExampleBox_data();
    void itemsActOnTheFocusedExampleBox();
    void afterAButtonTheCompositionIsTheTarget();
    void pasteNeedsPlainText();
    void boxesKeepTheirOwnKeys();

private:
    bool edit(const char *item) const { return driver->chooseMenuItem("mnuEdit", item); }
    static QString clipboardText() { return QGuiApplication::clipboard()->text(); }
};

void TestEditMenu::init()
{
    QVERIFY(openShortLibrary());
}

void TestEditMenu::focusTracking()
{
    FormDriver &d = *driver;
    const auto focus = [&d] { return d.window.TextFocus(); };
    QCOMPARE(focus(), 1);

    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);
    QCOMPARE(focus(), 2);
    QTest::mouseClick(d.box("Text1"), Qt::LeftButton);
    QCOMPARE(focus(), 1);
    d.box("Text2")->setFocus(Qt::TabFocusReason);
    QCOMPARE(focus(), 2);
    d.click("CmdKettei1");
    QCOMPARE(focus(), 1);

    // A classification list or the example list takes the focus: back to 1.
    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);
    DRIVE(d.pick("Combo1", s("国語")));
    QCOMPARE(focus(), 1);
    DRIVE(d.pick("Combo2", s("全体")));
    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);
    QCOMPARE(focus(), 2);
    DRIVE(d.clickRow("List1", 1));
    QCOMPARE(focus(), 1);

    d.chooseCategory(2);
    QTest::mouseClick(d.box("Text3"), Qt::LeftButton);
    QCOMPARE(focus(), 3);
    d.chooseCategory(3);
    QCOMPARE(focus(), 1);
    QTest::mouseClick(d.box("Text4"), Qt::LeftButton);
    QCOMPARE(focus(), 4);
}

void TestEditMenu::openingMenusKeepsTheTarget()
{
    FormDriver &d = *driver;
    const auto focus = [&d] { return d.window.TextFocus(); };
    TextBox *text1 = d.box("Text1");
    TextBox *text4 = d.box("Text4");
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("作文"));
    d.chooseCategory(3);
    QTest::mouseClick(text4, Qt::LeftButton);
    typeText(text4, s("例文"));
    QCOMPARE(focus(), 4);

    // Opened with the mouse: the box stays the target while the menu is open, and when
    // Escape leaves the menu bar highlighted.
    QMenu *menu = d.get<QMenu>("mnuEdit");
    QMenuBar *bar = d.window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(focus(), 4);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(focus(), 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), text4);
    QCOMPARE(focus(), 4);

    // Opened from the keyboard with its access key, the item chosen with its own.
    QTest::keyClick(text4, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(focus(), 4);
    QTest::keyClick(menu, Qt::Key_C);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(QGuiApplication::clipboard()->text(), s("例文"));
    QCOMPARE(focus(), 4);

    // Left from the menu bar to a button: the composition box is the target again.
    QTest::keyClick(text4, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    d.click("CmdClear");
    QCOMPARE(focus(), 1);
    QCOMPARE(text1->text(), QString());
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("作文"));
    QTest::mouseClick(text4, Qt::LeftButton);
    QTest::keyClick(text4, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    d.click("CmdKettei1");
    QCOMPARE(focus(), 1);
    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), s("作文\n例文"));
}

void TestEditMenu::itemsActOnTheFocusedExampleBox_data()
{
    QTest::addColumn<int>("category");
    QTest::newRow("Text2") << 0;
    QTest::newRow("Text3") << 1;
    QTest::newRow("Text4") << 2;
}

void TestEditMenu::itemsActOnTheFocusedExampleBox()
{
    QFETCH(int, category);
    FormDriver &d = *driver;
    TextBox *text1 = d.box("Text1");
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("作文の文章"));

    d.chooseCategory(category + 1);
    TextBox *box = d.box(QStringLiteral("Text%1").arg(category + 2).toLatin1().constData());
    QTest::mouseClick(box, Qt::LeftButton);
    typeText(box, s("あいうえお"));
    QCOMPARE(d.window.TextFocus(), category + 2);

    // Copy: the whole text when nothing is selected, then nothing selected.
    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(clipboardText(), s("あいうえお"));
    QCOMPARE(box->text(), s("あいうえお"));
    QCOMPARE(box->selLength(), 0);
    QCOMPARE(box->selStart(), 0);
    // A selection in the middle: only it, the caret at its start.
    box->setSelection(1, 2);
    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(clipboardText(), s("いう"));
    QCOMPARE(box->selLength(), 0);
    QCOMPARE(box->selStart(), 1);

    // Cut keeps what stood before and after the selection, joined.
    box->setSelection(1, 2);
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(clipboardText(), s("いう"));
    QCOMPARE(box->text(), s("あえお"));
    QCOMPARE(box->selLength(), 0);

    // Paste at the caret, then over a selection.
    QGuiApplication::clipboard()->setText(s("かき"));
    box->setSelection(1, 0);
    DRIVE(edit("mnuEditPaste"));
    QCOMPARE(box->text(), s("あかきえお"));
    box->setSelection(0, 2);
    DRIVE(edit("mnuEditPaste"));
    QCOMPARE(box->text(), s("かききえお"));

    // Cut with nothing selected moves everything to the clipboard.
    box->setSelection(2, 0);
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(clipboardText(), s("かききえお"));
    QCOMPARE(box->text(), QString());

    // Copy or cut from the empty box leaves empty text on the clipboard.
    QGuiApplication::clipboard()->setText(s("残り"));
    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(clipboardText(), QString());
    QGuiApplication::clipboard()->setText(s("残り"));
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(clipboardText(), QString());
    QCOMPARE(box->text(), QString());

    // Line breaks from the clipboard, in either convention, arrive as line breaks.
    QGuiApplication::clipboard()->setText(s("一\r\n二"));
    DRIVE(edit("mnuEditPaste"));
    QCOMPARE(box->text(), s("一\n二"));
    box->setSelection(box->text().size(), 0);
    QGuiApplication::clipboard()->setText(s("三\n四"));
    DRIVE(edit("mnuEditPaste"));
    QCOMPARE(box->text(), s("一\n二三\n四"));
    box->setSelection(1, 3);
    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(clipboardText(), s("\n二三"));

    QCOMPARE(d.window.TextFocus(), category + 2);
    QCOMPARE(text1->text(), s("作文の文章"));
    // Only the box changed: the library does not hold what was pasted.
    for (int c = 0; c < 3; ++c)
        QVERIFY(d.window.page(c).category().record(1).sentence() != box->text());
}

void TestEditMenu::afterAButtonTheCompositionIsTheTarget()
{
    FormDriver &d = *driver;
    TextBox *text1 = d.box("Text1");
    TextBox *text2 = d.box("Text2");
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("作文"));
    DRIVE(d.pick("Combo1", s("国語")));
    DRIVE(d.pick("Combo2", s("全体")));
    QTest::mouseClick(text2, Qt::LeftButton);
    QCOMPARE(d.window.TextFocus(), 2);
    d.click("CmdKettei1");
    QCOMPARE(text1->text(), s("作文\n理解力あり。"));

    DRIVE(edit("mnuEditCopy"));
    QCOMPARE(clipboardText(), s("作文\n理解力あり。"));
    text1->setSelection(0, 3);
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(clipboardText(), s("作文\n"));
    QCOMPARE(text1->text(), s("理解力あり。"));
    QCOMPARE(text2->text(), s("理解力あり。"));
    QGuiApplication::clipboard()->setText(s("前置き\r\n"));
    text1->setSelection(0, 0);
    DRIVE(edit("mnuEditPaste"));
    QCOMPARE(text1->text(), s("前置き\n理解力あり。"));
    QCOMPARE(text2->text(), s("理解力あり。"));

    // Back in the example box it is the target again.
    QTest::mouseClick(text2, Qt::LeftButton);
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(text2->text(), QString());
    QCOMPARE(text1->text(), s("前置き\n理解力あり。"));
}

void TestEditMenu::pasteNeedsPlainText()
{
    FormDriver &d = *driver;
    TextBox *box = d.box("Text2");
    QTest::mouseClick(box, Qt::LeftButton);
    typeText(box, s("例文"));
    QMenu *menu = d.get<QMenu>("mnuEdit");
    QAction *paste = d.action("mnuEditPaste");
    QMenuBar *bar = d.window.menuBar();
    auto openMenu = [&] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        return QTest::qWaitFor([menu] { return menu->isVisible(); });
    };
    auto closeMenu = [&] {
        QTest::keyClick(menu, Qt::Key_Escape);
        return QTest::qWaitFor([menu] { return !menu->isVisible(); });
    };

    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    const std::function<QMimeData *()> notText[] = {
        [image] {
            auto *data = new QMimeData;
            data->setImageData(image);
            return data;
        },
        [] {
            auto *data = new QMimeData;
            data->setData(QStringLiteral("application/x-kotoban-test"), QByteArray("abc"));
            return data;
        },
        [] { return new QMimeData; },
    };
    for (const auto &makeData : notText) {
        QGuiApplication::clipboard()->setMimeData(makeData());
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasText());
        DRIVE(openMenu());
        QVERIFY(!paste->isEnabled());
        QVERIFY(d.action("mnuEditCut")->isEnabled());
        QVERIFY(d.action("mnuEditCopy")->isEnabled());
        DRIVE(closeMenu());
        // Chosen by any other way, paste still changes nothing.
        d.window.mnuEditPaste_Click();
        QCOMPARE(box->text(), s("例文"));
    }

    // Text on the clipboard enables it again when the menu opens.
    QGuiApplication::clipboard()->setText(s("貼る"));
    DRIVE(openMenu());
    QVERIFY(paste->isEnabled());
    DRIVE(closeMenu());
    // The check runs again at the moment of pasting, whatever the menu showed.
    QGuiApplication::clipboard()->setMimeData(notText[0]());
    d.window.mnuEditPaste_Click();
    QCOMPARE(box->text(), s("例文"));
    QGuiApplication::clipboard()->clear();
    Q_EMIT menu->aboutToShow();
    QVERIFY(!paste->isEnabled());
    QGuiApplication::clipboard()->setText(s("貼る"));
    Q_EMIT menu->aboutToShow();
    QVERIFY(paste->isEnabled());
}

void TestEditMenu::boxesKeepTheirOwnKeys()
{
    FormDriver &d = *driver;
    d.chooseCategory(2);
    TextBox *box = d.box("Text3");
    QTest::mouseClick(box, Qt::LeftButton);
    typeText(box, s("あいうえお"));

    box->setSelection(1, 2);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardText(), s("いう"));
    box->setSelection(5, 0);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), s("あいうえおいう"));

    // The menu's cut can be taken back with the box's own undo.
    box->setSelection(0, 2);
    DRIVE(edit("mnuEditCut"));
    QCOMPARE(box->text(), s("うえおいう"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box->text(), s("あいうえおいう"));
    QCOMPARE(d.window.TextFocus(), 3);
}

QTEST_MAIN(TestEditMenu)
#include "tst_editmenu.moc"
