// The text size menu: "大" makes the four text boxes' text larger and the composition
// box and the window taller; "中" puts everything back.

#include "Twips.h"
#include "WindowFixture.h"

#include <QMap>

class TestTextSize : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { close(); }
    void largeThenMediumRestoresEverything();

};

namespace {

// Stops the test at the first size that is wrong.
#define CHECK_SIZE(isLarge)                                                                      \
    do {                                                                                         \
        checkSize(isLarge);                                                                      \
        if (QTest::currentTestFailed())                                                          \
            return;                                                                              \
    } while (false)

const char *const boxes[] = {"Text1", "Text2", "Text3", "Text4"};

} // namespace

void TestTextSize::init()
{
    QVERIFY(openLibrary({ex("国語", "全体", "ほめたい", "理解力あり。")}, {}, {}));
}

void TestTextSize::largeThenMediumRestoresEverything()
{
    FormDriver &d = *driver;
    Form1 &window = d.window;
    QWidget *client = d.get("client");
    TextBox *text1 = d.box("Text1");
    QWidget *count = d.get("LabelCount");
    QAction *medium = d.action("mnuMozi1");
    QAction *large = d.action("mnuMozi2");

    // Every other control, to check that none of them moves or changes its font; each
    // category shown once so that its controls are laid out.
    d.chooseCategory(2);
    d.chooseCategory(3);
    d.chooseCategory(1);
    QMap<QWidget *, QPair<QRect, QFont>> others;
    auto inTextBox = [](QWidget *widget) {
        for (; widget; widget = widget->parentWidget())
            if (qobject_cast<TextBox *>(widget))
                return true;
        return false;
    };
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->window() == &window && widget != client && !inTextBox(widget))
            others.insert(widget, {widget->geometry(), widget->font()});
    }
    QVERIFY(others.contains(d.get("CmdCopy")) && others.contains(d.get("Combo1")));

    // Work in progress that the size must not touch.
    DRIVE(d.pick("Combo1", s("国語")));
    DRIVE(d.pick("Combo2", s("全体")));
    QTest::mouseClick(text1, Qt::LeftButton);
    typeText(text1, s("作文の途中"));
    text1->setSelection(1, 2);
    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);
    QCOMPARE(window.TextFocus(), 2);

    const int startHeight = window.height();
    auto checkSize = [&](bool isLarge) {
        const int extra = isLarge ? 400 : 0;
        QCOMPARE(medium->isChecked(), !isLarge);
        QCOMPARE(large->isChecked(), isLarge);
        for (const char *name : boxes)
            QVERIFY2(d.box(name)->font().pointSize() == (isLarge ? 11 : 9), name);
        QCOMPARE(text1->geometry(), twipsRect(120, 3360, 5655, 1335 + extra));
        QCOMPARE(client->size(), QSize(twips(7530), twips(4800 + extra)));
        QTRY_COMPARE(window.height(), startHeight + twips(extra));
        // The character count stays visible on the window, clear of the composition box.
        QVERIFY(count->isVisible());
        QVERIFY(client->rect().contains(count->geometry()));
        QVERIFY(!count->geometry().intersects(text1->geometry()));
        for (auto it = others.cbegin(); it != others.cend(); ++it) {
            QVERIFY2(it.key()->geometry() == it.value().first, qPrintable(it.key()->objectName()));
            QVERIFY2(it.key()->font() == it.value().second, qPrintable(it.key()->objectName()));
        }
        QCOMPARE(text1->text(), s("作文の途中"));
        QCOMPARE(text1->selStart(), 1);
        QCOMPARE(text1->selLength(), 2);
        QCOMPARE(d.box("Text2")->text(), s("理解力あり。"));
        QCOMPARE(window.TextFocus(), 2);
    };

    CHECK_SIZE(false);
    DRIVE(d.chooseMenuItem("mnuMozi", "mnuMozi2"));
    CHECK_SIZE(true);
    DRIVE(d.chooseMenuItem("mnuMozi", "mnuMozi2")); // not any taller
    CHECK_SIZE(true);

    // The hidden boxes already carry the size when their category is shown.
    d.chooseCategory(2);
    QCOMPARE(d.box("Text3")->font().pointSize(), 11);
    d.chooseCategory(1);
    QTest::mouseClick(d.box("Text2"), Qt::LeftButton);

    DRIVE(d.chooseMenuItem("mnuMozi", "mnuMozi1"));
    CHECK_SIZE(false);
    DRIVE(d.chooseMenuItem("mnuMozi", "mnuMozi1"));
    CHECK_SIZE(false);
}

QTEST_MAIN(TestTextSize)
#include "tst_textsize.moc"
