#include <QTest>

#include "Category.h"

// The rules of one category without a window: narrowing, editing with its refusals,
// browsing.

namespace {

// "first|second|third|sentence" per record; "~" stands for an unset field.
QList<Example> records(const QStringList &lines)
{
    QList<Example> result;
    for (const QString &line : lines) {
        Example example;
        const QStringList fields = line.split(u'|');
        for (int f = 0; f < 4; ++f)
            example.field[f] = fields.value(f) == QStringLiteral("~") ? QString() : fields.value(f);
        result.append(example);
    }
    return result;
}

Category loaded(int index, const QStringList &lines)
{
    Category category(categoryRules()[index]);
    category.load(categoryRules()[index].defaultTitle, records(lines));
    return category;
}

// Two first-level classes share the second-level class 全体; record 4 has an unset
// second-level class.
const QStringList library{
    QStringLiteral("国語|全体|ほめたい|音読が上手です。"),     // 1
    QStringLiteral("算数|全体|ほめたい|計算が正確です。"),     // 2
    QStringLiteral("国語|全体|がんばろう|字をていねいに。"),   // 3
    QStringLiteral("国語|~|ほめたい|発表がよくできます。"),     // 4
    QStringLiteral("算数|図形|ほめたい|図をかくのが上手。"),   // 5
    QStringLiteral("国語|全体|ほめたい|本をよく読みます。"),   // 6
    QStringLiteral("5教科|A|大|大文字。"),                      // 7
    QStringLiteral("5教科|a|小|小文字。"),                      // 8
};

} // namespace

class TestCategory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void narrowing_data();
    void narrowing();
    void secondLevelFirstMatch();
    void emptyCategorySeedsOneEmptyClass();
    void editing();
    void refusals_data();
    void refusals();
    void onlyExampleStays();
    void capacityKeepsTheRestAside();
    void stepping_data();
    void stepping();
};

void TestCategory::narrowing_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QList<int>>("firstLevel");
    QTest::addColumn<QStringList>("secondClasses");
    QTest::addColumn<QList<int>>("secondLevel");
    QTest::addColumn<QStringList>("thirdClasses");
    QTest::addColumn<QList<int>>("listed");

    const QStringList secondOfKokugo{QStringLiteral("全体"), QString()};
    QTest::newRow("category 1") << 0 << "国語" << "全体" << "ほめたい" << QList<int>{1, 3, 4, 6} << secondOfKokugo
                                << QList<int>{1, 3, 6} << QStringList{"ほめたい", "がんばろう"} << QList<int>{1, 6};
    QTest::newRow("categories 2 and 3 alike here")
        << 1 << "国語" << "全体" << "がんばろう" << QList<int>{1, 3, 4, 6} << secondOfKokugo << QList<int>{1, 3, 6}
        << QStringList{"ほめたい", "がんばろう"} << QList<int>{3};
    QTest::newRow("the unset class is one class with empty text")
        << 0 << "国語" << "" << "ほめたい" << QList<int>{1, 3, 4, 6} << secondOfKokugo << QList<int>{4}
        << QStringList{"ほめたい"} << QList<int>{4};
    QTest::newRow("classes are exact texts: half-width 5, lower-case a")
        << 0 << "5教科" << "a" << "小" << QList<int>{7, 8} << QStringList{"A", "a"} << QList<int>{8}
        << QStringList{"小"} << QList<int>{8};
    QTest::newRow("unknown first level") << 0 << "英語" << "全体" << "ほめたい" << QList<int>{} << QStringList{}
                                         << QList<int>{} << QStringList{} << QList<int>{};
    QTest::newRow("unknown second level") << 2 << "国語" << "新しい区分" << "ほめたい" << QList<int>{1, 3, 4, 6}
                                          << secondOfKokugo << QList<int>{} << QStringList{} << QList<int>{};
    QTest::newRow("unknown third level") << 0 << "算数" << "全体" << "新しい観点" << QList<int>{2, 5}
                                         << QStringList{"全体", "図形"} << QList<int>{2} << QStringList{"ほめたい"}
                                         << QList<int>{};
}

void TestCategory::narrowing()
{
    QFETCH(int, category);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, third);
    const Category model = loaded(category, library);
    QCOMPARE(model.firstLevelClasses(), (QStringList{"国語", "算数", "5教科"}));

    const Narrowed one = model.narrowFirst(first);
    QTEST(one.records, "firstLevel");
    QTEST(one.nextClasses, "secondClasses");
    const Narrowed two = model.narrowSecond(one.records, first, second);
    QTEST(two.records, "secondLevel");
    QTEST(two.nextClasses, "thirdClasses");
    QTEST(model.narrowThird(two.records, third), "listed");
}

void TestCategory::secondLevelFirstMatch()
{
    // The second-level search of categories 2 and 3 looks for its first match under the
    // first-level class too; every later one is matched on the second-level class alone.
    const QStringList crossing{QStringLiteral("行事|全体|ほめたい|運動会で活躍。"),
                               QStringLiteral("道徳|全体|ほめたい|思いやりがあります。")};
    for (int index : {0, 1, 2}) {
        const Category model = loaded(index, crossing);
        const QList<int> everything{1, 2};
        const QList<int> expected = index == 0 ? QList<int>{1, 2} : QList<int>{2};
        QCOMPARE(model.narrowSecond(everything, QStringLiteral("道徳"), QStringLiteral("全体")).records, expected);
    }
}

void TestCategory::emptyCategorySeedsOneEmptyClass()
{

    Category empty(categoryRules()[2]);
    QCOMPARE(empty.firstLevelClasses(), QStringList{QString()});
    QCOMPARE(empty.count(), 0);
    QCOMPARE(empty.record(1), Example());
    QCOMPARE(empty.title(), QStringLiteral("日常生活について"));
}

void TestCategory::editing()
{
    Category model = loaded(0, library);
    QVERIFY(!model.changed());

    const Example added = records({QStringLiteral("理科|実験|ほめたい|観察が細かい。")}).first();
    const EditResult add = model.add(added);
    QVERIFY(add.ok());
    QCOMPARE(add.record, 9);
    QCOMPARE(model.record(9), added);
    QVERIFY(model.changed());
    QCOMPARE(model.firstLevelClasses(), (QStringList{"国語", "算数", "5教科", "理科"}));

    const EditResult corrected = model.correct(6, QStringLiteral("本をたくさん読みます。"));
    QVERIFY(corrected.ok());
    QCOMPARE(model.record(6).sentence(), QStringLiteral("本をたくさん読みます。"));
    QCOMPARE(model.record(6).firstClass(), QStringLiteral("国語"));

    // Removing closes the gap; the record shown afterwards is the one before the
    // browsing position, never below the first.
    model.setPosition(3);
    const EditResult removed = model.remove(3);
    QVERIFY(removed.ok());
    QCOMPARE(removed.record, 2);
    QCOMPARE(model.count(), 8);
    QCOMPARE(model.record(3).sentence(), QStringLiteral("発表がよくできます。"));
    model.setPosition(1);
    QCOMPARE(model.remove(1).record, 1);
    QCOMPARE(model.recordsToSave().size(), 7);
}

void TestCategory::refusals_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QStringList>("refused");
    const int cp932 = int(Encoding::Cp932);
    QTest::newRow("storable") << 0 << cp932 << "①髙橋さんは～よく" << QStringList{};
    QTest::newRow("double quote ends a field") << 0 << cp932 << "\"はい\"と言えます" << QStringList{"\""};
    QTest::newRow("outside code page 932, each once")
        << 1 << cp932 << "𠮷田さんと𠮷野さん😀" << QStringList{"𠮷", "😀"};
    QTest::newRow("half-width yen and overline come back changed") << 2 << cp932 << "¥100‾" << QStringList{"¥", "‾"};
    QTest::newRow("UTF-8 holds them") << 1 << int(Encoding::Utf8Bom) << "𠮷田さん😀" << QStringList{};
    // U+FFFD stands for bytes that could not be read; the file would get '?'.
    QTest::newRow("U+FFFD pasted, code page 932") << 0 << cp932 << "読めない\uFFFD文字" << QStringList{"\uFFFD"};
    QTest::newRow("U+FFFD pasted, UTF-8") << 1 << int(Encoding::Utf8) << "読めない\uFFFD文字" << QStringList{"\uFFFD"};
    QTest::newRow("U+FFFD pasted, UTF-16") << 2 << int(Encoding::Utf16Le) << "𠮷と\uFFFD" << QStringList{"\uFFFD"};
}

void TestCategory::refusals()
{
    QFETCH(int, category);
    QFETCH(int, encoding);
    QFETCH(QString, sentence);
    QFETCH(QStringList, refused);
    Category model = loaded(category, library);
    model.origin.encoding = Encoding(encoding);
    const QList<Example> before = model.recordsToSave();

    Example example = model.record(1);
    example.field[3] = sentence;
    for (const EditResult &result : {model.add(example), model.correct(1, sentence)}) {
        QCOMPARE(result.ok(), refused.isEmpty());
        QCOMPARE(result.characters, refused);
        if (!result.ok())
            QCOMPARE(int(result.refusal), int(EditRefusal::Unstorable));
    }
    if (!refused.isEmpty()) {
        QCOMPARE(model.recordsToSave(), before);
        QVERIFY(!model.changed());
    }
    // A class with a character the file cannot hold is refused as well.
    if (!refused.isEmpty()) {
        Example classed = model.record(1);
        classed.field[1] = sentence;
        QVERIFY(!model.add(classed).ok());
    }

    for (int record : {0, -1, model.count() + 1}) {
        QCOMPARE(int(model.correct(record, QStringLiteral("文")).refusal), int(EditRefusal::NothingSelected));
        QCOMPARE(int(model.remove(record).refusal), int(EditRefusal::NothingSelected));
    }
}

void TestCategory::onlyExampleStays()
{
    Category model = loaded(1, {QStringLiteral("道徳|思いやり|ほめたい|優しい。")});
    const EditResult result = model.remove(1);
    QVERIFY(result.ok());
    QCOMPARE(result.record, 1);
    QCOMPARE(model.count(), 1);
    QCOMPARE(model.record(1).sentence(), QStringLiteral("優しい。"));
}

void TestCategory::capacityKeepsTheRestAside()
{
    QStringList lines;
    for (int i = 1; i <= EDLimit + 5; ++i)
        lines += QStringLiteral("分類%1|観点|ほめたい|例文その%2。").arg(i % 3).arg(i);
    Category model = loaded(0, lines);
    QCOMPARE(model.count(), EDLimit);
    QCOMPARE(model.overflow().size(), 5);
    QCOMPARE(model.overflow().first().sentence(), QStringLiteral("例文その301。"));

    const EditResult full = model.add(model.record(1));
    QCOMPARE(int(full.refusal), int(EditRefusal::Full));
    QCOMPARE(model.count(), EDLimit);
    // What the category cannot show goes back after what it can, unchanged.
    QVERIFY(model.remove(2).ok());
    const QList<Example> saved = model.recordsToSave();
    QCOMPARE(saved.size(), EDLimit + 4);
    QCOMPARE(saved[EDLimit - 1].sentence(), QStringLiteral("例文その301。"));
    QCOMPARE(saved.last().sentence(), QStringLiteral("例文その305。"));
    // Room again: an add goes to the end of the shown examples, before those kept aside.
    QVERIFY(model.add(model.record(1)).ok());
    QCOMPARE(model.recordsToSave()[EDLimit - 1], model.record(1));
}

void TestCategory::stepping_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("expected");
    QTest::newRow("forward") << 6 << 2 << +1 << 3;
    QTest::newRow("forward wraps") << 6 << 6 << +1 << 1;
    QTest::newRow("back") << 6 << 2 << -1 << 1;
    QTest::newRow("back wraps") << 6 << 1 << -1 << 6;
    QTest::newRow("one example") << 1 << 1 << +1 << 1;
    QTest::newRow("past the end comes round") << 6 << 9 << +1 << 1;
    QTest::newRow("empty forward") << 0 << 1 << +1 << 1;
    QTest::newRow("empty back") << 0 << 1 << -1 << 0;
}

void TestCategory::stepping()
{
    QFETCH(int, count);
    QFETCH(int, from);
    QFETCH(int, direction);
    const Category model = loaded(0, library.mid(0, count));
    QTEST(model.step(from, direction), "expected");
}

QTEST_GUILESS_MAIN(TestCategory)
#include "tst_category.moc"
