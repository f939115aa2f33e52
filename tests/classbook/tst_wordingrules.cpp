#include <QTest>

#include "ClassSamples.h"
#include "Codec.h"
#include "WordingRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(ClassBook)

namespace {

QStringList describeRules(const WordingRules &parsed)
{
    QStringList lines;
    for (const WordingRule &rule : parsed.rules)
        lines.append(QStringLiteral("%1: %2|%3").arg(rule.line).arg(rule.avoid, rule.replacement));
    for (const WordingRuleError &error : parsed.errors)
        lines.append(QStringLiteral("%1! %2").arg(error.line).arg(error.message));
    return lines;
}

QStringList describeHits(const QList<WordingHit> &hits)
{
    QStringList lines;
    for (const WordingHit &hit : hits)
        lines.append(QStringLiteral("%1@%2+%3").arg(hit.rule).arg(hit.start).arg(hit.length));
    return lines;
}

QList<WordingRule> rules(const QStringList &pairs)
{
    QList<WordingRule> list;
    for (const QString &pair : pairs) {
        const QStringList parts = pair.split(u'|');
        list.append({parts[0], parts.value(1), int(list.size()) + 1});
    }
    return list;
}

} // namespace

class TestWordingRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void load_data();
    void load();
    void starterFileIsClean();
    void matcher_data();
    void matcher();
    void replaceOne_data();
    void replaceOne();
    void replaceAll_data();
    void replaceAll();
};

void TestWordingRules::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("rules, comments, blank lines, CR LF, byte order mark")
        << QStringLiteral("\uFEFF# 学年の決まり\r\n友達\t友だち\r\n\r\n  # 字下げしたコメント\r\n子供\t子ども\r\n")
        << QStringList{QStringLiteral("2: 友達|友だち"), QStringLiteral("5: 子供|子ども")};
    QTest::newRow("a word to avoid, blanks around the parts ignored")
        << QStringLiteral("ダメ\t\n 落ち着きがない \t　\n友達 \t 友だち")
        << QStringList{QStringLiteral("1: ダメ|"), QStringLiteral("2: 落ち着きがない|"), QStringLiteral("3: 友達|友だち")};
    QTest::newRow("every kind of bad line, with its number; the good lines still count")
        << QStringLiteral("友達 友だち\n\t友だち\n子供\t子ども\t子供たち\n一緒\t一緒\n友達\tお友達\n子供\t子ども\n子供\tこども\n")
        << QStringList{QStringLiteral("6: 子供|子ども"),
                       QStringLiteral("1! タブがありません。「×表記」と「○表記」の間はタブで区切ってください。"),
                       QStringLiteral("2! ×表記がありません。"),
                       QStringLiteral("3! タブが二つ以上あります。一行に一つの決まりを書いてください。"),
                       QStringLiteral("4! ×表記と○表記が同じです。"),
                       QStringLiteral("5! ○表記が×表記を含んでいるので、置き換えても直りません。"),
                       QStringLiteral("7! 同じ×表記が 6 行目にもあります。")};
    QTest::newRow("empty file") << QString() << QStringList{};
}

void TestWordingRules::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(describeRules(parseWordingRules(text)), expected);
}

void TestWordingRules::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const QString text = QStringLiteral("友達\t友だち\r\n子供\t子ども\r\n");
    QTest::newRow("UTF-8") << text.toUtf8() << QStringList{QStringLiteral("1: 友達|友だち"), QStringLiteral("2: 子供|子ども")};
    QTest::newRow("UTF-8 with BOM") << encodeText(text, Encoding::Utf8Bom).bytes
                                    << QStringList{QStringLiteral("1: 友達|友だち"), QStringLiteral("2: 子供|子ども")};
    QTest::newRow("saved as Shift_JIS by an older editor") << encodeText(text, Encoding::Cp932).bytes
                                                           << QStringList{QStringLiteral("1: 友達|友だち"), QStringLiteral("2: 子供|子ども")};
    QTest::newRow("undecodable bytes: that rule is left out and named")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("友達\t友だち\n").toUtf8() + QByteArray("\xFF\xFE\t\xE5\x8F\x8B\n")
        << QStringList{QStringLiteral("1: 友達|友だち"), QStringLiteral("2! 読めない文字があります。UTF-8 で保存してください。")};
}

void TestWordingRules::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(WordingRulesFileName);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const WordingRules loaded = loadWordingRules(path);
    QVERIFY(!loaded.fileMissing);
    QCOMPARE(describeRules(loaded), expected);

    // No file: no rules and nothing to report. A folder in its place cannot be read: said so.
    const WordingRules missing = loadWordingRules(dir.filePath(QStringLiteral("none.txt")));
    QVERIFY(missing.fileMissing);
    QVERIFY(missing.rules.isEmpty() && missing.errors.isEmpty());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const WordingRules folder = loadWordingRules(dir.filePath(QStringLiteral("folder")));
    QCOMPARE(describeRules(folder), QStringList{QStringLiteral("0! 表記ルールのファイルを読めません（同じ名前のフォルダーがあります）。")});
}

void TestWordingRules::starterFileIsClean()
{
    const WordingRules starter = loadWordingRules(QStringLiteral(KOTOBAN_STARTER_DATA "/") + WordingRulesFileName);
    QVERIFY(!starter.fileMissing);
    QCOMPARE(describeRules({{}, starter.errors, false}), QStringList{});
    QVERIFY(starter.rules.size() >= 10);
    QVERIFY(std::any_of(starter.rules.cbegin(), starter.rules.cend(),
                        [](const WordingRule &rule) { return !rule.hasReplacement(); }));
}

void TestWordingRules::matcher_data()
{
    QTest::addColumn<QStringList>("ruleList");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("hits");
    QTest::newRow("several rules, one pass") << QStringList{QStringLiteral("友達|友だち"), QStringLiteral("子供|子ども")}
                                             << QStringLiteral("子供と友達と子供") << QStringList{"1@0+2", "0@3+2", "1@6+2"};
    QTest::newRow("same first character: the longer rule first")
        << QStringList{QStringLiteral("子供|子ども"), QStringLiteral("子供たち|子どもたち")} << QStringLiteral("子供たちと子供")
        << QStringList{"1@0+4", "0@0+2", "0@5+2"};
    QTest::newRow("one rule's hits do not overlap") << QStringList{QStringLiteral("ああ|い")} << QStringLiteral("あああああ")
                                                    << QStringList{"0@0+2", "0@2+2"};
    QTest::newRow("characters outside the BMP") << QStringList{QStringLiteral("𠮷|吉")} << QStringLiteral("𠮷田𠮷")
                                                << QStringList{"0@0+2", "0@3+2"};
    QTest::newRow("a rule cut at the end of the text does not match") << QStringList{QStringLiteral("友達|友だち")}
                                                                      << QStringLiteral("よい友") << QStringList{};
    QTest::newRow("no rules") << QStringList{} << QStringLiteral("友達") << QStringList{};
}

void TestWordingRules::matcher()
{
    QFETCH(QStringList, ruleList);
    QFETCH(QString, text);
    QFETCH(QStringList, hits);
    QCOMPARE(describeHits(WordingMatcher(rules(ruleList)).hits(text)), hits);
}

void TestWordingRules::replaceOne_data()
{
    QTest::addColumn<int>("pupil");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("result");
    QTest::newRow("the hit is there") << 1 << 3 << QStringLiteral("友達") << QStringLiteral("一緒に友だちと友達");
    QTest::newRow("the text changed since the check") << 1 << 2 << QStringLiteral("友達") << QString();
    QTest::newRow("past the end") << 1 << 8 << QStringLiteral("友達") << QString();
    QTest::newRow("no such pupil") << 5 << 0 << QStringLiteral("友達") << QString();
}

void TestWordingRules::replaceOne()
{
    QFETCH(int, pupil);
    QFETCH(int, start);
    QFETCH(QString, expected);
    QFETCH(QString, result);
    const ClassBook book = oneFieldClass({QStringLiteral("友達"), QStringLiteral("一緒に友達と友達")});
    const std::optional<ClassBook> changed = replaceInField(book, pupil, 0, start, expected, QStringLiteral("友だち"));
    QCOMPARE(changed.has_value(), !result.isNull());
    if (!changed)
        return;
    QCOMPARE(changed->pupils[pupil].texts[0], result);
    // Only that field changed.
    ClassBook back = *changed;
    back.pupils[pupil].texts[0] = book.pupils[pupil].texts[0];
    QCOMPARE(back, book);
}

void TestWordingRules::replaceAll_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<ClassBook>("book");
    QTest::addColumn<QStringList>("texts"); // every field of every pupil afterwards, in order
    QTest::addColumn<int>("count");
    const ClassBook two = classOf({field(QStringLiteral("所見"), 0), field(QStringLiteral("道徳"), 0)},
                                  {pupil(1, QStringLiteral("友達 一郎"), {QStringLiteral("友達と友達"), QStringLiteral("友達")}),
                                   pupil(2, QStringLiteral("B"), {QStringLiteral("なし"), QString()})});
    QTest::newRow("every field of every pupil, names untouched")
        << QStringLiteral("友達|友だち") << two
        << QStringList{QStringLiteral("友だちと友だち"), QStringLiteral("友だち"), QStringLiteral("なし"), QString()} << 3;
    QTest::newRow("a word to avoid has nothing to put in")
        << QStringLiteral("友達|") << two
        << QStringList{QStringLiteral("友達と友達"), QStringLiteral("友達"), QStringLiteral("なし"), QString()} << 0;
    QTest::newRow("the places the check reported, no more")
        << QStringLiteral("ああ|あ") << oneFieldClass({QStringLiteral("あああああ")}) << QStringList{QStringLiteral("あああ")} << 2;
}

void TestWordingRules::replaceAll()
{
    QFETCH(QString, rule);
    QFETCH(ClassBook, book);
    QFETCH(QStringList, texts);
    QFETCH(int, count);
    const WordingRule wording = rules({rule}).first();
    const ReplaceAllResult result = replaceEverywhere(book, wording);
    QCOMPARE(result.count, count);
    QStringList after;
    for (const Pupil &p : result.book.pupils)
        after += p.texts;
    QCOMPARE(after, texts);
    QCOMPARE(result.book.pupils[0].name, book.pupils[0].name);
    // As many places replaced as the check found.
    int hits = 0;
    for (const Pupil &p : book.pupils) {
        for (const QString &text : p.texts)
            hits += int(WordingMatcher({wording}).hits(text).size());
    }
    QCOMPARE(count, wording.hasReplacement() ? hits : 0);
}

QTEST_GUILESS_MAIN(TestWordingRules)
#include "tst_wordingrules.moc"
