// "例文追加" through the real window: classes typed into the lists' edit fields, the
// display the add leaves, the full category and the characters the file cannot hold.

#include "EditingFixture.h"

#include <QtTest>

class TestAdding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newClassesTypedIn();
    void intoExistingClassification();
    void allTextsEmpty();
    void inCategory3OnlyCategory3Narrows();
    void fullCategoryRefuses();
    void unstorableCharactersRefused_data();
    void unstorableCharactersRefused();
    void savedFileHoldsAddsAndDeletes();
};

void TestAdding::newClassesTypedIn()
{
    EditingForm form;

    // A whole new classification, its first-level class new as well.
    const QString sentence = QStringLiteral("地図を正しく読み取ることができます。");
    form.typeClass(1, 1, QStringLiteral("社会"));
    form.typeClass(1, 2, QStringLiteral("地理"));
    form.typeClass(1, 3, QStringLiteral("ほめたい"));
    form.typeSentence(1, sentence);
    form.add();

    QVERIFY(form.dialogs->calls.isEmpty());
    CategoryPage &page = form.page(1);
    QCOMPARE(page.category().count(), 8);
    QCOMPARE(page.category().record(8),
             fixture::example({QStringLiteral("社会"), QStringLiteral("地理"), QStringLiteral("ほめたい"), sentence}));
    QCOMPARE(form.combo(1, 1)->items(), QStringList({"国語", "数学", "理科", "社会"}));
    QCOMPARE(form.combo(1, 1)->text(), QStringLiteral("社会"));
    QCOMPARE(form.combo(1, 2)->items(), QStringList({"地理"}));
    QCOMPARE(form.combo(1, 3)->items(), QStringList({"ほめたい"}));
    QCOMPARE(form.lines(1), QStringList({entry(sentence)}));
    QCOMPARE(form.exampleList(1)->currentRow(), 0);
    QCOMPARE(form.exampleBox(1)->text(), sentence);
    QCOMPARE(form.label(1), QStringLiteral(" 1/ 1"));
    // The new example is the last record: the next step wraps around to record 1.
    form.next();
    QCOMPARE(form.exampleBox(1)->text(), fixture::category1()[0][3]);
    QCOMPARE(form.label(1), QStringLiteral(" 1/ 8"));

    // A new second-level class under an existing first-level class, added twice.
    const QString spoken = QStringLiteral("スピーチが堂々としていました。");
    form.pickClass(1, 1, QStringLiteral("国語"));
    form.typeClass(1, 2, QStringLiteral("話す"));
    form.typeClass(1, 3, QStringLiteral("ほめたい"));
    form.typeSentence(1, spoken);
    form.add();
    form.add();
    QCOMPARE(page.category().count(), 10);
    QCOMPARE(page.category().record(9), page.category().record(10));
    QCOMPARE(form.combo(1, 1)->items(), QStringList({"国語", "数学", "理科", "社会"}));
    QCOMPARE(form.combo(1, 2)->items(), QStringList({"読む", "書く", "話す"}));
    QCOMPARE(form.lines(1), QStringList({entry(spoken), entry(spoken)}));
    QCOMPARE(page.listedRecords(), QVector<int>({9, 10}));
    QCOMPARE(form.label(1), QStringLiteral(" 1/ 2"));

    // The other categories keep their tables.
    QCOMPARE(form.sentences(2), fixture::sentences(fixture::category2()));
    QCOMPARE(form.sentences(3), fixture::sentences(fixture::category3()));
    QVERIFY(form.dialogs->calls.isEmpty());
}

void TestAdding::intoExistingClassification()
{
    EditingForm form;
    CategoryPage &page = form.page(1);

    // Records 1, 2 and 6 are 国語 / 読む / ほめたい; the teacher starts from the second.
    form.showRecord(1, 2);
    QCOMPARE(form.exampleList(1)->currentRow(), 1);
    const QString added = QStringLiteral("音読では気持ちを込めて読めました。");
    form.typeSentence(1, added);
    form.add();

    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().count(), 8);
    QCOMPARE(page.category().record(8), fixture::example({"国語", "読む", "ほめたい", added}));
    QCOMPARE(page.listedRecords(), QVector<int>({1, 2, 6, 8}));
    QCOMPARE(form.lines(1), QStringList({entry(fixture::category1()[0][3]), entry(fixture::category1()[1][3]),
                                         entry(fixture::category1()[5][3]), entry(added)}));
    // The list stands on the first line while the box shows the added sentence...
    QCOMPARE(form.exampleList(1)->currentRow(), 0);
    QCOMPARE(form.exampleBox(1)->text(), added);
    QCOMPARE(form.label(1), QStringLiteral(" 1/ 4"));
    QCOMPARE(form.combo(1, 1)->text(), QStringLiteral("国語"));
    QCOMPARE(form.combo(1, 2)->text(), QStringLiteral("読む"));
    QCOMPARE(form.combo(1, 3)->text(), QStringLiteral("ほめたい"));

    // ...so a correction right away corrects that first example, not the added one.
    form.correct();
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().record(1), fixture::example({"国語", "読む", "ほめたい", added}));
    QCOMPARE(page.category().record(8), fixture::example({"国語", "読む", "ほめたい", added}));
    QCOMPARE(page.category().record(2).sentence(), fixture::category1()[1][3]);
    QCOMPARE(page.category().count(), 8);
}

void TestAdding::allTextsEmpty()
{
    EditingForm form;
    CategoryPage &page = form.page(1);

    // Right after start-up the edit fields and the box are empty.
    form.add();
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().count(), 8);
    for (int field = 0; field < 4; ++field) {
        QVERIFY(page.category().record(8).field[field].isEmpty());
        // Empty text taken from the window, not a field the file left unset.
        QVERIFY(!page.category().record(8).field[field].isNull());
    }
    QCOMPARE(form.combo(1, 1)->items().last(), QString());
    QCOMPARE(form.lines(1), QStringList({entry(QString())}));
    QCOMPARE(form.exampleList(1)->currentRow(), 0);
    QCOMPARE(form.exampleBox(1)->text(), QString());
    QCOMPARE(form.label(1), QStringLiteral(" 1/ 1"));
}

void TestAdding::inCategory3OnlyCategory3Narrows()
{
    EditingForm form;

    // Categories 1 and 2 show an example each before the add.
    form.showRecord(1, 4);
    form.chooseCategory(2);
    form.showRecord(2, 2);
    QCOMPARE(form.exampleBox(2)->text(), fixture::category2()[1][3]);
    const CategoryState category1Before = form.state(1);
    const CategoryState category2Before = form.state(2);

    form.chooseCategory(3);
    QVERIFY(form.exampleList(3)->isVisible());
    form.pickClass(3, 1, QStringLiteral("生活"));
    form.pickClass(3, 2, QStringLiteral("態度"));
    QCOMPARE(form.combo(3, 3)->text(), QStringLiteral("ほめたい"));
    const QString added = QStringLiteral("あいさつが気持ちよいです。");
    form.typeSentence(3, added);
    form.add();

    QVERIFY(form.dialogs->calls.isEmpty());
    CategoryPage &page3 = form.page(3);
    QCOMPARE(page3.category().count(), 4);
    QCOMPARE(page3.category().record(4), fixture::example({"生活", "態度", "ほめたい", added}));
    QCOMPARE(form.combo(3, 1)->text(), QStringLiteral("生活"));
    QCOMPARE(form.combo(3, 2)->text(), QStringLiteral("態度"));
    QCOMPARE(form.combo(3, 3)->text(), QStringLiteral("ほめたい"));
    QCOMPARE(form.lines(3), QStringList({entry(fixture::category3()[0][3]), entry(added)}));
    QCOMPARE(form.exampleBox(3)->text(), added);
    QCOMPARE(form.label(3), QStringLiteral(" 1/ 2"));

    // Categories 1 and 2 keep their tables; their lists are rebuilt as at start-up.
    for (int category : {1, 2}) {
        const CategoryState &before = category == 1 ? category1Before : category2Before;
        const CategoryState after = form.state(category);
        QCOMPARE(after.max, before.max);
        QCOMPARE(after.rows, before.rows);
        QCOMPARE(after.comboItems1, before.comboItems1);
        QCOMPARE(after.comboTexts, QStringList({QString(), QString(), QString()}));
        QVERIFY(after.comboItems2.isEmpty());
        QVERIFY(after.comboItems3.isEmpty());
        QVERIFY(after.lines.isEmpty());
        QCOMPARE(after.text, QString());
        QCOMPARE(after.label, QStringLiteral(" %1").arg(before.max));
    }

    // Category 1 shows it that way when the teacher switches back.
    form.chooseCategory(1);
    QVERIFY(form.exampleList(1)->isVisible());
    QCOMPARE(form.exampleList(1)->count(), 0);
    QCOMPARE(form.label(1), QStringLiteral(" 7"));
}

void TestAdding::fullCategoryRefuses()
{
    WorkingFolder folder;
    QVector<QStringList> records;
    for (int i = 1; i < EDLimit; ++i)
        records.append({"分類", "全体", "ほめたい", QStringLiteral("例文%1").arg(i)});
    fixture::write(folder);
    folder.write(QStringLiteral("Kotoban1.txt"), dataFile(QStringLiteral("学習について"), records));
    FormDriver form(folder.path());
    CategoryPage &page = form.page(1);
    QCOMPARE(page.category().count(), EDLimit - 1);

    // The 300th example still fits.
    form.typeClass(1, 1, QStringLiteral("新分類"));
    form.typeClass(1, 2, QStringLiteral("全体"));
    form.typeClass(1, 3, QStringLiteral("ほめたい"));
    form.typeSentence(1, QStringLiteral("三百番目の例文です。"));
    form.add();
    QVERIFY(form.dialogs->calls.isEmpty());
    QCOMPARE(page.category().count(), EDLimit);
    QCOMPARE(page.category().record(EDLimit).sentence(), QStringLiteral("三百番目の例文です。"));

    // The 301st is refused, and nothing changes.
    form.typeClass(1, 1, QStringLiteral("もう一つ"));
    form.typeSentence(1, QStringLiteral("入らない例文です。"));
    const CategoryState before = form.state(1);
    form.add();
    QCOMPARE(form.dialogs->calls.size(), 1);
    const ScriptedDialogs::Call &call = form.dialogs->calls.first();
    QVERIFY(!call.question);
    QCOMPARE(call.title, QStringLiteral("ことばん"));
    QCOMPARE(call.text, QStringLiteral("例文は各項目ごと最大300例までです。これ以上追加できません。"));
    QCOMPARE(form.state(1), before);
    QCOMPARE(page.category().record(EDLimit).sentence(), QStringLiteral("三百番目の例文です。"));
    QCOMPARE(form.exampleBox(1)->text(), QStringLiteral("入らない例文です。"));
    QVERIFY(!form.combo(1, 1)->items().contains(QStringLiteral("もう一つ")));
}

void TestAdding::unstorableCharactersRefused_data()
{
    QTest::addColumn<int>("level"); // 1 to 3: a classification list; 4: the example box
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("characters");

    // Which characters are refused is the category's rule, tested there; the window shows the
    // message and keeps what the teacher typed.
    QTest::newRow("in the sentence") << 4 << QStringLiteral("\"𠮷田さん\"と仲良しです。") << QStringLiteral("\"𠮷");
    QTest::newRow("in a class") << 1 << QStringLiteral("𠮷") << QStringLiteral("𠮷");
}

void TestAdding::unstorableCharactersRefused()
{
    QFETCH(int, level);
    QFETCH(QString, text);
    QFETCH(QString, characters);

    EditingForm form;

    QStringList fields{QStringLiteral("国語"), QStringLiteral("読む"), QStringLiteral("ほめたい"),
                       QStringLiteral("新しい例文です。")};
    fields[level - 1] = text;
    for (int l = 1; l <= 3; ++l)
        form.typeClass(1, l, fields[l - 1]);
    form.typeSentence(1, fields[3]);
    const CategoryState before = form.state(1);
    form.add();

    QCOMPARE(form.dialogs->calls.size(), 1);
    QVERIFY(!form.dialogs->calls.first().question);
    QCOMPARE(form.dialogs->calls.first().text, QStringLiteral("次の文字は例文データファイルに保存できません：")
                                                   + characters + QStringLiteral("\n別の文字に置き換えてください。"));
    QCOMPARE(form.state(1), before);
    QCOMPARE(form.page(1).category().count(), 7);
    QCOMPARE(form.exampleBox(1)->text(), fields[3]);
    QCOMPARE(form.combo(1, level <= 3 ? level : 1)->text(), fields[level <= 3 ? level - 1 : 0]);
}

void TestAdding::savedFileHoldsAddsAndDeletes()
{
    WorkingFolder folder;
    fixture::write(folder);
    const QByteArray startBytes1 = folder.read(QStringLiteral("Kotoban1.txt"));
    const QByteArray startBytes2 = folder.read(QStringLiteral("Kotoban2.txt"));
    FormDriver form(folder.path());

    // Category 1: the first record deleted, then a new example added.
    form.showRecord(1, 1);
    form.remove();
    form.typeClass(1, 1, QStringLiteral("社会"));
    form.typeClass(1, 2, QStringLiteral("歴史"));
    form.typeClass(1, 3, QStringLiteral("ほめたい"));
    form.typeSentence(1, QStringLiteral("年表を作って,流れを整理しました。"));
    form.add();
    // Category 3: an example with four empty texts.
    form.chooseCategory(3);
    form.add();
    QCOMPARE(form.dialogs->calls.size(), 1); // the delete confirmation

    QVERIFY(form.window.mnuFileSave_Click());
    QCOMPARE(form.dialogs->calls.size(), 1);

    QVector<QStringList> expected1 = fixture::category1().mid(1);
    expected1.append({"社会", "歴史", "ほめたい", "年表を作って,流れを整理しました。"});
    QCOMPARE(folder.read(QStringLiteral("Kotoban1.txt")), dataFile(QStringLiteral("学習について"), expected1));
    QVERIFY(folder.read(QStringLiteral("Kotoban1.txt"))
                .endsWith(encodeText(QStringLiteral("\"社会\",\"歴史\",\"ほめたい\",\"年表を作って,流れを整理しました。\"\r\n"),
                                     Encoding::Cp932)
                              .bytes));
    QCOMPARE(folder.read(QStringLiteral("Kotoban1.bak")), startBytes1);
    QCOMPARE(folder.read(QStringLiteral("Kotoban2.txt")), startBytes2);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Kotoban2.bak"))));

    QVector<QStringList> expected3 = fixture::category3();
    expected3.append({"", "", "", ""});
    QCOMPARE(folder.read(QStringLiteral("Kotoban3.txt")), dataFile(QStringLiteral("日常生活について"), expected3));
    QVERIFY(folder.read(QStringLiteral("Kotoban3.txt")).endsWith("\"\",\"\",\"\",\"\"\r\n"));
}

QTEST_MAIN(TestAdding)
#include "tst_adding.moc"
