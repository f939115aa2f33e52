#include <QApplication>
#include "HelpTexts.h"
#include "KbHelp.h"
#include "WrapLabel.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

class TestKbHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void contentsScreenAtOpening();
    void layout();
    void nextAndBackWalkAllScreens();
    void contentsEntriesJump();
    void textsFitTheirBoxes();
    void onlyLeftClicksInsideNavigate();
    void closingDeletesTheWindow();
    void keyboardFollowsLinks();

private:
    QLabel *label(const char *name) const;
    void click(const char *name) const;
    void checkScreen(int screen) const;

    QPointer<KbHelp> window;
};

namespace {

const char *const NavigationLabels[] = {"LabelClose", "LabelTop", "LabelBack", "LabelNext"};
const char *const EntryLabels[] = {"LabelPage1", "LabelPage2", "LabelPage3", "LabelPage4",
                                   "LabelPage6"};

} // namespace

// Stops the test at the first screen that is wrong.
#define CHECK_SCREEN(screen)                                                                     \
    do {                                                                                         \
        checkScreen(screen);                                                                     \
        if (QTest::currentTestFailed())                                                          \
            return;                                                                              \
    } while (false)

void TestKbHelp::init()
{
    window = new KbHelp;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestKbHelp::cleanup()
{
    delete window;
}

QLabel *TestKbHelp::label(const char *name) const
{
    auto *found = window->findChild<QLabel *>(QLatin1String(name));
    if (!found)
        qFatal("no label %s", name);
    return found;
}

void TestKbHelp::click(const char *name) const
{
    QTest::mouseClick(label(name), Qt::LeftButton);
}

// Checks KbPage, the text of LabelBase and which labels show on screen 0 (contents),
// 1 to 4 (pages) or 5 (the last page).
void TestKbHelp::checkScreen(int screen) const
{
    QCOMPARE(window->kbPage(), screen);
    const bool contents = screen == 0;
    const QList<QPair<const char *, bool>> expected = {
        {"LabelClose", true},
        {"LabelTop", !contents},
        {"LabelBack", !contents},
        {"LabelNext", screen != 5},
        {"LabelBase", true},
        {"LabelHyousi", contents},
        {"LabelPage1", contents},
        {"LabelPage2", contents},
        {"LabelPage3", contents},
        {"LabelPage4", contents},
        {"LabelPage6", contents},
    };
    for (const auto &[name, visible] : expected) {
        if (label(name)->isVisible() != visible)
            QFAIL(qPrintable(QStringLiteral("screen %1: %2 should be %3")
                                 .arg(screen)
                                 .arg(QLatin1String(name))
                                 .arg(visible ? u"shown" : u"hidden")));
    }
    QCOMPARE(label("LabelBase")->text(), contents ? helpContentsTitle() : helpPageText(screen));
}

void TestKbHelp::contentsScreenAtOpening()
{
    QCOMPARE(window->objectName(), QStringLiteral("KbHelp"));
    QCOMPARE(window->windowTitle(), QStringLiteral("「ことばんヘルプ」"));
    QVERIFY(window->isWindow());
    CHECK_SCREEN(0);
    QCOMPARE(label("LabelHyousi")->text(), helpGreeting());
    QCOMPARE(label("LabelNext")->text(), QStringLiteral("次へ→"));
    QCOMPARE(label("LabelBack")->text(), QStringLiteral("←前へ"));
    QCOMPARE(label("LabelPage6")->text(), QStringLiteral("６　その他"));
}

void TestKbHelp::layout()
{
    // 7860 x 5850 twips at 15 twips a pixel, not resizable.
    QCOMPARE(window->size(), QSize(524, 390));
    QCOMPARE(window->minimumSize(), window->maximumSize());

    QCOMPARE(label("LabelBase")->geometry(), QRect(8, 40, 497, 345));
    QCOMPARE(label("LabelHyousi")->geometry(), QRect(328, 96, 177, 265));
    QCOMPARE(label("LabelNext")->geometry(), QRect(416, 8, 65, 25));
    QCOMPARE(label("LabelPage6")->geometry(), QRect(16, 328, 289, 33));

    QVERIFY(label("LabelBase")->wordWrap());
    QVERIFY(label("LabelHyousi")->wordWrap());
    QCOMPARE(label("LabelBase")->alignment(), Qt::AlignLeft | Qt::AlignTop);

    const QFont navigation = label("LabelClose")->font();
    QVERIFY(navigation.bold());
    QCOMPARE(navigation.pointSizeF(), 14.25);
    QVERIFY(!label("LabelPage1")->font().bold());
    QCOMPARE(label("LabelPage1")->font().pointSizeF(), 14.25);
    QCOMPARE(label("LabelHyousi")->font().pointSizeF(), 12.0);

    QCOMPARE(window->palette().color(QPalette::Window), QColor(255, 255, 255));
    QLabel *hyousi = label("LabelHyousi");
    QVERIFY(hyousi->autoFillBackground());
    QCOMPARE(hyousi->palette().color(QPalette::Window), QColor(255, 255, 192));
    QVERIFY(!label("LabelPage1")->autoFillBackground());

    for (const char *name : NavigationLabels)
        QCOMPARE(label(name)->cursor().shape(), Qt::PointingHandCursor);
    for (const char *name : EntryLabels)
        QCOMPARE(label(name)->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(label("LabelBase")->cursor().shape(), Qt::ArrowCursor);

    // LabelBase lies behind: the entries and the greeting take the clicks over it.
    QLabel *page1 = label("LabelPage1");
    QCOMPARE(window->childAt(page1->geometry().center()), page1);
    QCOMPARE(window->childAt(hyousi->geometry().center()), hyousi);
    click("LabelPage1");
    QCOMPARE(window->childAt(page1->geometry().center()), label("LabelBase"));
}

void TestKbHelp::nextAndBackWalkAllScreens()
{
    for (int screen = 1; screen <= 5; ++screen) {
        click("LabelNext");
        CHECK_SCREEN(screen);
    }
    // The hidden "次へ→" on the last page leaves it as it is.
    click("LabelNext");
    CHECK_SCREEN(5);

    for (int screen = 4; screen >= 0; --screen) {
        click("LabelBack");
        CHECK_SCREEN(screen);
    }
    click("LabelBack");
    CHECK_SCREEN(0);
    QCOMPARE(label("LabelHyousi")->text(), helpGreeting());
}

void TestKbHelp::contentsEntriesJump()
{
    for (int page = 1; page <= 5; ++page) {
        click(EntryLabels[page - 1]);
        CHECK_SCREEN(page);

        // Next and back carry on from the page reached.
        if (page < 5) {
            click("LabelNext");
            CHECK_SCREEN(page + 1);
            click("LabelBack");
        }
        click("LabelBack");
        CHECK_SCREEN(page - 1);

        if (page > 1) {
            click("LabelTop");
            CHECK_SCREEN(0);
        }
    }
}

void TestKbHelp::textsFitTheirBoxes()
{
    auto *base = window->findChild<WrapLabel *>(QStringLiteral("LabelBase"));
    auto *hyousi = window->findChild<WrapLabel *>(QStringLiteral("LabelHyousi"));
    QVERIFY(base && hyousi);
    QVERIFY2(hyousi->textHeight() <= hyousi->height(), "greeting cut off");
    for (int page = 1; page <= 5; ++page) {
        click("LabelNext");
        QVERIFY2(base->textHeight() <= base->height(), qPrintable(QString::number(page)));
    }
}

void TestKbHelp::onlyLeftClicksInsideNavigate()
{
    QLabel *next = label("LabelNext");
    QTest::mouseClick(next, Qt::RightButton);
    QCOMPARE(window->kbPage(), 0);

    // Pressed on the label, released outside it: no click.
    QTest::mousePress(next, Qt::LeftButton);
    QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(next->width() + 5, 5));
    QCOMPARE(window->kbPage(), 0);

    QTest::mouseClick(next, Qt::LeftButton, {}, QPoint(next->width() - 1, next->height() - 1));
    QCOMPARE(window->kbPage(), 1);
}

void TestKbHelp::closingDeletesTheWindow()
{
    click("LabelNext");
    click("LabelClose");
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(window.isNull());

    // Closed by its frame, it goes the same way.
    window = new KbHelp;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    CHECK_SCREEN(0);
    window->close();
    QTRY_VERIFY(window.isNull());
}

void TestKbHelp::keyboardFollowsLinks()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // Tab reaches every link that shows, in the order of the navigation row, then the entries.
    QStringList reached;
    for (int i = 0; i < 8; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        reached.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    for (const char *name : {"LabelClose", "LabelNext", "LabelPage1", "LabelPage6"})
        QVERIFY2(reached.contains(QLatin1String(name)), qPrintable(reached.join(u' ')));

    label("LabelPage3")->setFocus();
    QTest::keyClick(label("LabelPage3"), Qt::Key_Return);
    CHECK_SCREEN(3);
    label("LabelNext")->setFocus();
    QTest::keyClick(label("LabelNext"), Qt::Key_Space);
    CHECK_SCREEN(4);
    QTest::keyClick(label("LabelNext"), Qt::Key_Enter, Qt::KeypadModifier);
    CHECK_SCREEN(5);
    // Other keys do nothing.
    label("LabelBack")->setFocus();
    QTest::keyClick(label("LabelBack"), Qt::Key_A);
    QTest::keyClick(label("LabelBack"), Qt::Key_Return, Qt::ControlModifier);
    CHECK_SCREEN(5);
}

QTEST_MAIN(TestKbHelp)
#include "tst_kbhelp.moc"
