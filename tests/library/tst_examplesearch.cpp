#include <QTest>

#include "ExampleSamples.h"
#include "ExampleSearch.h"

// Finding examples across the categories: words anywhere in a sentence or its classes, all
// of several words, characters compared as they are, narrowed by category and classes.

namespace {

// "category:record" for each example found, categories from 0.
QStringList names(const QList<FoundExample> &found)
{
    QStringList result;
    for (const FoundExample &example : found)
        result.append(QStringLiteral("%1:%2").arg(example.category).arg(example.record));
    return result;
}

} // namespace

class TestExampleSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void words_data();
    void words();
    void finding_data();
    void finding();
    void choices_data();
    void choices();
};

void TestExampleSearch::words_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one word") << "意欲" << QStringList{"意欲"};
    QTest::newRow("half-width blank") << "意欲 計算" << QStringList{"意欲", "計算"};
    QTest::newRow("full-width blanks, leading and trailing") << "　意欲　　計算 " << QStringList{"意欲", "計算"};
    QTest::newRow("a tab") << "意欲\t計算" << QStringList{"意欲", "計算"};
    QTest::newRow("blanks only") << " 　" << QStringList{};
}

void TestExampleSearch::words()
{
    QFETCH(QString, typed);
    QTEST(searchWords(typed), "expected");
}

void TestExampleSearch::finding_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    const QStringList all{"0:1", "0:2", "0:3", "0:4", "0:5", "0:6", "1:1", "1:2", "1:3", "2:1", "2:2"};
    QTest::newRow("nothing asked lists all") << -1 << QStringList{} << "" << all;
    QTest::newRow("blanks are no words") << -1 << QStringList{} << "　 " << all;
    QTest::newRow("part of a sentence") << -1 << QStringList{} << "意欲" << QStringList{"0:1", "0:3", "1:3"};
    QTest::newRow("several words must all match") << -1 << QStringList{} << "意欲 計算" << QStringList{"0:3"};
    QTest::newRow("a full-width blank separates too") << -1 << QStringList{} << "取り組み　図形" << QStringList{"0:4"};
    QTest::newRow("a class matches") << -1 << QStringList{} << "友情" << QStringList{"1:1", "1:2"};
    QTest::newRow("words from class and sentence") << -1 << QStringList{} << "行事 意欲" << QStringList{"1:3"};
    QTest::newRow("a word across two fields does not") << -1 << QStringList{} << "友情ほめたい" << QStringList{};
    QTest::newRow("hiragana is not katakana") << -1 << QStringList{} << "かめ" << QStringList{"2:1"};
    QTest::newRow("katakana is not hiragana") << -1 << QStringList{} << "カメ" << QStringList{"0:5"};
    QTest::newRow("half-width is not full-width") << -1 << QStringList{} << "ABC" << QStringList{"2:2"};
    QTest::newRow("full-width is not half-width") << -1 << QStringList{} << "ＡＢＣ" << QStringList{"0:6"};
    QTest::newRow("the placeholder is text") << -1 << QStringList{} << "〇〇" << QStringList{"0:1"};
    QTest::newRow("one category") << 0 << QStringList{} << "意欲" << QStringList{"0:1", "0:3"};
    QTest::newRow("first level") << 0 << QStringList{"国語"} << "" << QStringList{"0:1", "0:2", "0:6"};
    QTest::newRow("second level") << 0 << QStringList{"国語", "読む"} << "" << QStringList{"0:1", "0:6"};
    QTest::newRow("three levels") << 0 << QStringList{"国語", "読む", "ほめたい"} << "" << QStringList{"0:1"};
    QTest::newRow("classes and words") << 0 << QStringList{"国語"} << "歌" << QStringList{"0:6"};
    QTest::newRow("classes in every category") << -1 << QStringList{"行事"} << "" << QStringList{"1:2", "1:3"};
    QTest::newRow("a class of another category") << 2 << QStringList{"行事"} << "" << QStringList{};
    QTest::newRow("no match") << -1 << QStringList{} << "宇宙" << QStringList{};
}

void TestExampleSearch::finding()
{
    QFETCH(int, category);
    QFETCH(QStringList, classes);
    QFETCH(QString, typed);
    const std::array<Category, 3> library = sampleCategories();
    const Categories categories{&library[0], &library[1], &library[2]};
    QTEST(names(findExamples(categories, {category, classes, typed})), "expected");
}

void TestExampleSearch::choices_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first level of one") << 0 << QStringList{} << QStringList{"国語", "算数", "理科"};
    QTest::newRow("first level of all, each once")
        << -1 << QStringList{} << QStringList{"国語", "算数", "理科", "道徳", "行事", "生活"};
    QTest::newRow("second level") << 0 << QStringList{"国語"} << QStringList{"読む", "書く"};
    QTest::newRow("third level") << 0 << QStringList{"国語", "読む"} << QStringList{"ほめたい", "がんばろう"};
    QTest::newRow("below the third, none") << 0 << QStringList{"国語", "読む", "ほめたい"} << QStringList{};
    QTest::newRow("a class no example has") << 1 << QStringList{"体育"} << QStringList{};
}

void TestExampleSearch::choices()
{
    QFETCH(int, category);
    QFETCH(QStringList, classes);
    const std::array<Category, 3> library = sampleCategories();
    const Categories categories{&library[0], &library[1], &library[2]};
    QTEST(classChoices(categories, {category, classes, QString()}), "expected");
}

QTEST_GUILESS_MAIN(TestExampleSearch)
#include "tst_examplesearch.moc"
