// What a screen reader is told about the main window and the help window: every control a
// Japanese name, the counts and the help text still readable, the help links pressable.

#include "AccessibleNames.h"
#include "Form1.h"
#include "KbHelp.h"
#include "Codec.h"
#include "SimpleCombo.h"
#include "TestSupport.h"
#include "TextBox.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QtTest>

#include <memory>

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMainWindowControlIsNamed();
    void namesSayWhatControlsAreFor();
    void countLabelsReadTheirValue();
    void labelsNamedAfterQtMadeTheirInterface();
    void helpWindowLabelsAreNamedAndLinksPressable();
};

namespace {

QString accessibleText(QObject *object, QAccessible::Text which = QAccessible::Name)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(which) : QString();
}

// Every widget that carries an object name of our own (Qt's internal ones start with "qt_")
// must have a name; a control added later without one fails here.
void checkEveryNamedWidget(QWidget *window, int atLeast)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    int checked = 0;
    for (QWidget *widget : widgets) {
        const QString objectName = widget->objectName();
        if (objectName.isEmpty() || objectName.startsWith(QLatin1String("qt_")))
            continue;
        ++checked;
        QVERIFY2(!accessibleText(widget).trimmed().isEmpty(),
                 qPrintable(objectName + QStringLiteral(" has no accessible name")));
        // Captions space some words with ideographic spaces ("決　定"); the names do not.
        QVERIFY2(!widget->accessibleName().contains(u'\u3000'), qPrintable(objectName));
    }
    QVERIFY2(checked >= atLeast, qPrintable(QString::number(checked)));
}

std::unique_ptr<Form1> makeWindow(const WorkingFolder &folder)
{
    return std::make_unique<Form1>(folder.path(), std::make_unique<ScriptedDialogs>());
}

} // namespace

void TestAccessibility::everyMainWindowControlIsNamed()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    auto window = makeWindow(folder);

    checkEveryNamedWidget(window.get(), 56);
    if (QTest::currentTestFailed())
        return;

    // Menu items are read from their captions.
    const QList<QMenu *> menus = window->findChildren<QMenu *>();
    QCOMPARE(menus.size(), 5);
    for (QMenu *menu : menus) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(menu);
        QVERIFY(iface && iface->childCount() >= 1);
        for (int i = 0; i < iface->childCount(); ++i)
            QVERIFY2(!iface->child(i)->text(QAccessible::Name).isEmpty(), qPrintable(menu->objectName()));
    }
}

void TestAccessibility::namesSayWhatControlsAreFor()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    // A teacher renamed the second category in its data file's title line.
    folder.write(QStringLiteral("Kotoban2.txt"),
                 encodeText(QStringLiteral("\"行事と道徳\"\r\n\"道徳\",\"友達\",\"ほめたい\",\"優しい。\"\r\n"),
                            Encoding::Cp932)
                     .bytes);
    auto window = makeWindow(folder);
    auto name = [&](const char *objectName) {
        return accessibleText(window->findChild<QWidget *>(QLatin1String(objectName)));
    };

    // Each category's controls are named by their level and role, the option buttons by the
    // caption they show, the title their data file gives.
    const char *const levels[3] = {"第1分類", "第2分類", "第3分類"};
    for (int category = 0; category < 3; ++category) {
        for (int level = 0; level < 3; ++level) {
            const QString objectName = QStringLiteral("Combo%1").arg(category * 3 + level + 1);
            auto *combo = window->findChild<SimpleCombo *>(objectName);
            QVERIFY(combo);
            QCOMPARE(accessibleText(combo), QString::fromUtf8(levels[level]));
            QCOMPARE(accessibleText(combo->lineEdit()), QString::fromUtf8(levels[level]) + QStringLiteral("の入力欄"));
            QCOMPARE(accessibleText(combo->listWidget()), QString::fromUtf8(levels[level]) + QStringLiteral("の一覧"));
        }
        QCOMPARE(accessibleText(window->findChild<QWidget *>(QStringLiteral("List%1").arg(category + 1))),
                 QStringLiteral("例文一覧"));
        QCOMPARE(accessibleText(window->findChild<QWidget *>(QStringLiteral("Text%1").arg(category + 2))),
                 QStringLiteral("例文"));
    }
    QCOMPARE(name("Option1_0"), QStringLiteral("学習について"));
    QCOMPARE(name("Option1_1"), QStringLiteral("行事と道徳"));
    QCOMPARE(name("Option1_2"), QStringLiteral("日常生活について"));
    QCOMPARE(name("Text1"), QStringLiteral("所見文"));
    QCOMPARE(name("CmdKettei1"), QStringLiteral("決定"));
    QCOMPARE(name("CmdCopy"), QStringLiteral("文章をコピー"));
    QCOMPARE(name("CmdBack"), QStringLiteral("前文"));

    // Descriptions tell the categories' look-alike controls apart and explain the buttons.
    QVERIFY(accessibleText(window->findChild<QWidget *>(QStringLiteral("Combo4")), QAccessible::Description)
                .contains(QStringLiteral("行事と道徳")));
    for (const char *button : {"CmdDelete", "CmdEdit", "CmdAdd1", "CmdBack", "CmdNext", "CmdKettei1",
                               "CmdClear", "CmdCopy"})
        QVERIFY2(!accessibleText(window->findChild<QWidget *>(QLatin1String(button)), QAccessible::Description)
                      .isEmpty(),
                 button);
}

void TestAccessibility::countLabelsReadTheirValue()
{
    WorkingFolder folder;
    folder.seedStarterLibrary();
    auto window = makeWindow(folder);
    auto *label = window->findChild<QLabel *>(QStringLiteral("Label3"));

    // Start-up: the count of the whole category.
    const QString all = QString::number(window->page(0).category().count());
    QCOMPARE(accessibleText(label), QStringLiteral("例文数：") + all);
    QVERIFY(!accessibleText(label, QAccessible::Description).isEmpty());

    // Narrowing changes the label, and the name follows.
    window->findChild<SimpleCombo *>(QStringLiteral("Combo1"))->setCurrentIndex(0);
    QVERIFY(label->text().trimmed() != all);
    QCOMPARE(accessibleText(label), QStringLiteral("例文数：") + label->text().trimmed());

    auto *count = window->findChild<QLabel *>(QStringLiteral("LabelCount"));
    QCOMPARE(accessibleText(count), QStringLiteral("文字数：0字"));
    window->findChild<TextBox *>(QStringLiteral("Text1"))->setText(QStringLiteral("理解力あり。"));
    QCOMPARE(accessibleText(count), QStringLiteral("文字数：6字"));
}

void TestAccessibility::labelsNamedAfterQtMadeTheirInterface()
{
    // A screen reader listening while a window is built makes Qt create its own interface for
    // a label as soon as the label's text is set, before the window names it.
    QLabel count(QStringLiteral(" 7"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&count)->role(), QAccessible::StaticText);
    nameValueLabel(&count, QStringLiteral("例文数"), QStringLiteral("例文の数。"));
    QCOMPARE(accessibleText(&count), QStringLiteral("例文数：7"));
    count.setText(QString());
    QCOMPARE(accessibleText(&count), QStringLiteral("例文数"));

    QLabel link(QStringLiteral("次へ→"));
    QCOMPARE(accessibleText(&link), QStringLiteral("次へ→"));
    nameLinkLabel(&link, QStringLiteral("次へ"), QStringLiteral("次の画面に進みます。"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&link);
    QCOMPARE(iface->role(), QAccessible::Link);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("次へ"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("次の画面に進みます。"));
}

void TestAccessibility::helpWindowLabelsAreNamedAndLinksPressable()
{
    auto help = std::make_unique<KbHelp>();
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help.get()));
    checkEveryNamedWidget(help.get(), 11);
    if (QTest::currentTestFailed())
        return;

    auto label = [&](const char *name) { return help->findChild<QLabel *>(QLatin1String(name)); };
    QCOMPARE(accessibleText(label("LabelNext")), QStringLiteral("次へ"));
    QCOMPARE(accessibleText(label("LabelBack")), QStringLiteral("前へ"));
    QCOMPARE(accessibleText(label("LabelPage6")), QStringLiteral("６ その他"));
    QVERIFY(accessibleText(label("LabelHyousi")).startsWith(QStringLiteral("ごあいさつ：")));
    QVERIFY(accessibleText(label("LabelBase")).contains(QStringLiteral("ヘルプ画面の目次")));

    // Pressing a link through its accessible action does what a click does; a hidden link
    // ("←前へ" on the contents screen) does nothing.
    auto press = [](QLabel *link) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(link);
        QCOMPARE(iface->role(), QAccessible::Link);
        QVERIFY(iface->actionInterface());
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    press(label("LabelBack"));
    QCOMPARE(help->kbPage(), 0);
    press(label("LabelPage3"));
    QCOMPARE(help->kbPage(), 3);
    QVERIFY(accessibleText(label("LabelBase")).contains(QStringLiteral("データの追加について")));
    press(label("LabelNext"));
    QCOMPARE(help->kbPage(), 4);
    press(label("LabelTop"));
    QCOMPARE(help->kbPage(), 0);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
