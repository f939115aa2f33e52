// The main window's controls, captions and menus, and the category switch driven by
// clicks on the option buttons.

#include "Twips.h"
#include "WindowFixture.h"

#include <QGroupBox>

class TestLayout : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { close(); }
    void controlsStandAtTheirPlaces();
    void captionsFontsAndColours();
    void menus();
    void startShowsCategoryOneWithEveryCategoryLoaded();
    void switchingShowsOneSetAndKeepsTheOthers();

};

namespace {

struct Place {
    const char *name;
    const char *parent;
    int left, top, width, height;
};

const Place places[] = {
    {"Frame1", "client", 120, 0, 7335, 3255},
    {"Option1_0", "Frame1", 240, 240, 1695, 375},
    {"Option1_1", "Frame1", 2160, 240, 2535, 375},
    {"Option1_2", "Frame1", 4920, 240, 2295, 375},
    {"Combo1", "Frame1", 240, 720, 1455, 1260},
    {"Combo4", "Frame1", 240, 720, 1455, 1260},
    {"Combo7", "Frame1", 240, 720, 1455, 1260},
    {"Combo2", "Frame1", 1800, 720, 1455, 1260},
    {"Combo5", "Frame1", 1800, 720, 1455, 1260},
    {"Combo8", "Frame1", 1800, 720, 1455, 1260},
    {"Combo3", "Frame1", 3360, 720, 1455, 1260},
    {"Combo6", "Frame1", 3360, 720, 1455, 1260},
    {"Combo9", "Frame1", 3360, 720, 1455, 1260},
    {"Label1", "Frame1", 4920, 720, 615, 255},
    {"Label3", "Frame1", 5640, 720, 1335, 255},
    {"Label4", "Frame1", 5640, 720, 1335, 255},
    {"Label7", "Frame1", 5640, 720, 1095, 225},
    {"List1", "Frame1", 4920, 1008, 2175, 960},
    {"List2", "Frame1", 4920, 1008, 2175, 960},
    {"List3", "Frame1", 4920, 1008, 2175, 960},
    {"Text2", "Frame1", 1440, 2160, 4095, 975},
    {"Text3", "Frame1", 1440, 2160, 4095, 975},
    {"Text4", "Frame1", 1440, 2160, 4095, 975},
    {"CmdDelete", "Frame1", 240, 2160, 975, 300},
    {"CmdEdit", "Frame1", 240, 2520, 975, 300},
    {"CmdAdd1", "Frame1", 240, 2880, 975, 300},
    {"CmdBack", "Frame1", 5760, 2160, 615, 375},
    {"CmdNext", "Frame1", 6480, 2160, 615, 375},
    {"CmdKettei1", "Frame1", 5760, 2640, 1335, 495},
    {"Text1", "client", 120, 3360, 5655, 1335},
    {"CmdClear", "client", 5880, 3480, 1455, 375},
    {"CmdCopy", "client", 5880, 3960, 1455, 495},
    {"LabelCount", "client", 5880, 4500, 1455, 255},
};

// The controls of each category, in the order Option1_Click lists them.
const char *const categorySets[3][6] = {
    {"Combo1", "Combo2", "Combo3", "List1", "Text2", "Label3"},
    {"Combo4", "Combo5", "Combo6", "List2", "Text3", "Label4"},
    {"Combo7", "Combo8", "Combo9", "List3", "Text4", "Label7"},
};

QColor colourOf(QWidget *widget, QPalette::ColorRole role) { return widget->palette().color(role); }

} // namespace

void TestLayout::init()
{
    QVERIFY(open(dataFile(s("学習（試験用）"), {ex("５教科", "全体", "ほめたい", "理解力あり。"),
                                                ex("５教科", "国語", "ほめたい", "音読が上手です。"),
                                                ex("体育", "全体", "ほめたい", "よく走ります。")}),
                 dataFile(s("道徳ほか（試験用）"), {ex("道徳", "思いやり", "ほめたい", "友達に優しい。"),
                                                    ex("行事", "運動会", "ほめたい", "応援を頑張りました。")}),
                 dataFile(s("日常（試験用）"), {ex("生活", "あいさつ", "ほめたい", "元気にあいさつ。")})));
}

void TestLayout::controlsStandAtTheirPlaces()
{
    QWidget *client = driver->get("client");
    QVERIFY(client);
    QCOMPARE(driver->window.centralWidget(), client);
    QCOMPARE(client->size(), QSize(twips(7530), twips(4800)));

    for (const Place &place : places) {
        QWidget *widget = driver->get(place.name);
        QVERIFY2(widget, place.name);
        QVERIFY2(widget->parentWidget() == driver->get(place.parent), place.name);
        QVERIFY2(widget->geometry() == twipsRect(place.left, place.top, place.width, place.height), place.name);
    }

    // The composition box is the lowest control: nothing below it but the window's edge.
    QWidget *text1 = driver->box("Text1");
    QVERIFY(text1->geometry().bottom() < client->height());
    QVERIFY(!text1->geometry().intersects(driver->get("LabelCount")->geometry()));
    QVERIFY(!text1->geometry().intersects(driver->get("CmdCopy")->geometry()));
}

void TestLayout::captionsFontsAndColours()
{
    QCOMPARE(driver->window.windowTitle(), QStringLiteral("ことばん　（所見作成ソフト）"));
    QCOMPARE(driver->get<QGroupBox>("Frame1")->title(), QString());

    // Loading puts the data files' titles on the option buttons.
    QCOMPARE(driver->get<QRadioButton>("Option1_0")->text(), QStringLiteral("学習（試験用）"));
    QCOMPARE(driver->get<QRadioButton>("Option1_1")->text(), QStringLiteral("道徳ほか（試験用）"));
    QCOMPARE(driver->get<QRadioButton>("Option1_2")->text(), QStringLiteral("日常（試験用）"));

    const struct {
        const char *name;
        const char *caption;
    } buttons[] = {{"CmdDelete", "例文削除"}, {"CmdEdit", "例文訂正"},   {"CmdAdd1", "例文追加"},
                   {"CmdBack", "前文"},       {"CmdNext", "次文"},       {"CmdKettei1", "決　定"},
                   {"CmdClear", "文章消去"},  {"CmdCopy", "文章をコピー"}};
    for (const auto &button : buttons)
        QCOMPARE(driver->get<QPushButton>(button.name)->text(), QString::fromUtf8(button.caption));
    QCOMPARE(driver->labelText("Label1"), QStringLiteral("例文数"));
    QCOMPARE(driver->labelText("LabelCount"), QStringLiteral("0字"));

    for (const char *name : {"Option1_0", "Option1_1", "Option1_2"})
        QCOMPARE(driver->get(name)->font().pointSizeF(), 9.75);
    for (const char *name : {"Label1", "CmdDelete", "CmdEdit", "CmdAdd1", "CmdBack", "CmdNext"})
        QCOMPARE(driver->get(name)->font().pointSizeF(), 8.25);

    const QColor frameGrey(224, 224, 224);
    QCOMPARE(colourOf(driver->get("client"), QPalette::Window), QColor(255, 255, 192));
    for (const char *name : {"Frame1", "Option1_0", "Option1_1", "Option1_2", "Label1", "Label3", "Label4", "Label7"})
        QVERIFY2(colourOf(driver->get(name), QPalette::Window) == frameGrey, name);
    QCOMPARE(colourOf(driver->get("Text2"), QPalette::Base), QColor(255, 224, 192));
    QCOMPARE(colourOf(driver->get("Text3"), QPalette::Base), QColor(192, 255, 255));
    QCOMPARE(colourOf(driver->get("Text4"), QPalette::Base), QColor(255, 255, 192));
    QVERIFY(!driver->get("LabelCount")->autoFillBackground()); // transparent on the window

    // The composition box scrolls; all four boxes take dropped text.
    QVERIFY(driver->box("Text1")->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    for (const char *name : {"Text1", "Text2", "Text3", "Text4"})
        QVERIFY2(driver->box(name)->acceptDrops(), name);
}

void TestLayout::menus()
{
    const struct {
        const char *menu;
        const char *caption;
        QVector<QPair<const char *, const char *>> items;
    } expected[] = {
        {"mnuFile", "ファイル(&F)　", {{"mnuFileSave", "上書き保存(&S)"}, {"mnuFileClose", "閉じる"}}},
        {"mnuEdit",
         "編集(&E)　　",
         {{"mnuEditCut", "切り取り(&T)"}, {"mnuEditCopy", "コピー(&C)"}, {"mnuEditPaste", "貼り付け(&V)"}}},
        {"mnuMozi", "文字の大きさ", {{"mnuMozi1", "中"}, {"mnuMozi2", "大"}}},
        {"mnuClass", "学級(&G)", {{"mnuClassOpen", "学級の所見を開く"}}},
        {"mnuHelp", "ヘルプ(&H)", {{"mnuHelpContents", "目次"}, {"mnuHelpAbout", "このソフトについて"}}},
    };

    const QList<QAction *> bar = driver->window.menuBar()->actions();
    QCOMPARE(bar.size(), int(std::size(expected)));
    for (int m = 0; m < bar.size(); ++m) {
        QMenu *menu = driver->get<QMenu>(expected[m].menu);
        QVERIFY2(menu, expected[m].menu);
        QCOMPARE(bar[m], menu->menuAction());
        QCOMPARE(menu->title(), QString::fromUtf8(expected[m].caption));
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), expected[m].items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->objectName(), QString::fromLatin1(expected[m].items[i].first));
            QCOMPARE(items[i]->text(), QString::fromUtf8(expected[m].items[i].second));
        }
    }
    // The Edit items have access keys only: the boxes keep their own Ctrl+C and Ctrl+V.
    for (const char *name : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
        QVERIFY2(driver->action(name)->shortcut().isEmpty(), name);
    QVERIFY(driver->action("mnuMozi1")->isChecked());
    QVERIFY(!driver->action("mnuMozi2")->isChecked());
}

void TestLayout::startShowsCategoryOneWithEveryCategoryLoaded()
{
    QVERIFY(driver->get<QRadioButton>("Option1_0")->isChecked());
    for (int c = 0; c < 3; ++c)
        for (const char *name : categorySets[c])
            QVERIFY2(driver->get(name)->isVisible() == (c == 0), name);
    QVERIFY(driver->get("Label1")->isVisible());

    // Every category, hidden or not, has its first list and its count.
    QCOMPARE(driver->combo("Combo1")->items(), (QStringList{QStringLiteral("５教科"), QStringLiteral("体育")}));
    QCOMPARE(driver->combo("Combo4")->items(), (QStringList{QStringLiteral("道徳"), QStringLiteral("行事")}));
    QCOMPARE(driver->combo("Combo7")->items(), (QStringList{QStringLiteral("生活")}));
    QCOMPARE(driver->labelText("Label3"), QStringLiteral(" 3"));
    QCOMPARE(driver->labelText("Label4"), QStringLiteral(" 2"));
    QCOMPARE(driver->labelText("Label7"), QStringLiteral(" 1"));
    for (const char *name : {"Combo1", "Combo4", "Combo7"}) {
        QCOMPARE(driver->combo(name)->text(), QString());
        QCOMPARE(driver->combo(name)->currentIndex(), -1);
    }
    for (const char *name : {"Combo2", "Combo3", "Combo5", "Combo6", "Combo8", "Combo9"})
        QVERIFY2(driver->combo(name)->count() == 0 && driver->combo(name)->text().isEmpty(), name);
    for (const char *name : {"List1", "List2", "List3"})
        QVERIFY2(driver->list(name)->count() == 0, name);
    for (const char *name : {"Text1", "Text2", "Text3", "Text4"})
        QVERIFY2(driver->box(name)->text().isEmpty(), name);
}

void TestLayout::switchingShowsOneSetAndKeepsTheOthers()
{
    auto checkVisibleSet = [this](int shown) {
        for (int c = 0; c < 3; ++c) {
            QVERIFY(driver->get<QRadioButton>(QStringLiteral("Option1_%1").arg(c).toLatin1().constData())
                        ->isChecked()
                    == (c == shown));
            for (const char *name : categorySets[c])
                QVERIFY2(driver->get(name)->isVisible() == (c == shown), name);
        }
        QVERIFY(driver->get("Label1")->isVisible());
    };

    // Category 1 down to an example, then a second example and an edit in the box.
    DRIVE(driver->pick("Combo1", QStringLiteral("５教科")));
    DRIVE(driver->pick("Combo2", QStringLiteral("全体")));
    QCOMPARE(driver->box("Text2")->text(), QStringLiteral("理解力あり。"));
    QTest::mouseClick(driver->box("Text2"), Qt::LeftButton);
    QTest::keyClick(driver->box("Text2"), Qt::Key_End, Qt::ControlModifier);
    typeText(driver->box("Text2"), QStringLiteral("追記"));
    const QStringList category1Second = driver->combo("Combo2")->items();
    const QString category1Label = driver->labelText("Label3");
    const int category1Current = driver->page(1).category().position();

    driver->chooseCategory(2);
    checkVisibleSet(1);
    DRIVE(driver->pick("Combo4", QStringLiteral("行事")));
    QCOMPARE(driver->labelText("Label4"), QStringLiteral(" 1"));

    driver->chooseCategory(3);
    checkVisibleSet(2);
    // Category 2 is as it was left, though hidden.
    QCOMPARE(driver->combo("Combo4")->text(), QStringLiteral("行事"));
    QCOMPARE(driver->combo("Combo5")->items(), QStringList{QStringLiteral("運動会")});

    driver->chooseCategory(1);
    checkVisibleSet(0);
    QCOMPARE(driver->combo("Combo1")->text(), QStringLiteral("５教科"));
    QCOMPARE(driver->combo("Combo1")->currentIndex(), 0);
    QCOMPARE(driver->combo("Combo2")->items(), category1Second);
    QCOMPARE(driver->combo("Combo2")->text(), QStringLiteral("全体"));
    QCOMPARE(driver->combo("Combo2")->currentIndex(), 0);
    QCOMPARE(driver->combo("Combo3")->items(), QStringList{QStringLiteral("ほめたい")});
    QCOMPARE(driver->combo("Combo3")->text(), QStringLiteral("ほめたい"));
    QCOMPARE(driver->list("List1")->count(), 1);
    QCOMPARE(driver->list("List1")->currentRow(), 0);
    QCOMPARE(driver->box("Text2")->text(), QStringLiteral("理解力あり。追記"));
    QCOMPARE(driver->labelText("Label3"), category1Label);
    QCOMPARE(driver->page(1).category().position(), category1Current);

    // Clicking the option that is already selected changes nothing.
    driver->chooseCategory(1);
    checkVisibleSet(0);
    QCOMPARE(driver->box("Text2")->text(), QStringLiteral("理解力あり。追記"));
    QCOMPARE(driver->combo("Combo2")->text(), QStringLiteral("全体"));
    QCOMPARE(driver->labelText("Label3"), category1Label);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
