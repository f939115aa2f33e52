#include <QTest>

#include "ClassSamples.h"
#include "Codec.h"
#include "StarterRules.h"
#include "TestFiles.h"
#include "WordingRules.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(ClassBook)

namespace {

QStringList describeRules(const WordingRules &parsed)
{
    QStringList lines;
    for (const WordingRule &rule : parsed.rules)
        lines.append(QStringLiteral("%1: %2|%3%4")
                         .arg(rule.line)
                         .arg(rule.written(), rule.suggestion ? QStringLiteral("例：") : QString(), rule.replacement));
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

// "×表記|○表記" each, read as the rules file reads them.
QList<WordingRule> rules(const QStringList &pairs)
{
    QList<WordingRule> list;
    for (QString pair : pairs)
        list += parseWordingRules(pair.replace(u'|', u'\t')).rules;
    return list;
}

QString starterPath() { return QStringLiteral(KOTOBAN_STARTER_DATA "/") + WordingRulesFileName; }

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
    void starterKanaWords_data();
    void starterKanaWords();
    void starterAdditions();
    void addingToTheTeachersFile();
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
    QTest::newRow("what stands around the word, an example of a rewording, and their mistakes")
        << QStringLiteral("［ひらがな］事［漢字以外］\tこと\n怠けがち\t例：自分のペースで\n[ひらがな]事[漢字以外]\tこと\n"
                          "［る事\tこと\n事［］\tこと\n［る］\tこと\n調［べ］る\t\n消極的\t例：\n")
        << QStringList{QStringLiteral("1: ［ひらがな］事［漢字以外］|こと"), QStringLiteral("2: 怠けがち|例：自分のペースで"),
                       QStringLiteral("3! 同じ×表記が 1 行目にもあります。"), QStringLiteral("4! ［ ］が閉じていません。"),
                       QStringLiteral("5! ［ ］の中に文字がありません。"), QStringLiteral("6! ×表記に、［ ］のほかの言葉がありません。"),
                       QStringLiteral("7! ［ ］は×表記の前か後ろにだけ書けます。"),
                       QStringLiteral("8! 「例：」のあとに、言いかえの例がありません。")};
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
    writeAll(path, bytes);
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
    const QString formal = QStringLiteral("［ひらがな］事［漢字以外］|こと");
    QTest::newRow("what stands around: the edge of the text meets only 以外")
        << QStringList{formal} << QStringLiteral("事が見る事る事実る事") << QStringList{"0@4+1", "0@9+1"};
    QTest::newRow("characters listed, several classes, half-width brackets")
        << QStringList{QStringLiteral("[た、カタカナ]時[の・に]|とき")} << QStringLiteral("見た時にゲーム時の一時に来た時間")
        << QStringList{"0@2+1", "0@7+1"};
    QTest::newRow("a character outside the BMP before the word")
        << QStringList{QStringLiteral("［漢字］さん|君")} << QStringLiteral("𠮷さんとあさん") << QStringList{"0@2+2"};
}

// The starter's kana words fire on the formal use only, never inside an ordinary word.
void TestWordingRules::starterKanaWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("hits"); // 事→こと, or 落ち着きがない:例 for an example
    QTest::newRow("formal nouns") << QStringLiteral("調べる事ができ、聞く時に、集めた物を見せた所")
                                  << QStringList{"事→こと", "時→とき", "物→もの", "所→ところ"};
    QTest::newRow("ordinary words") << QStringLiteral("仕事の時間、生き物のいる場所、休み時間、習い事、出来事、事実、物語を作った物語")
                                    << QStringList{};
    QTest::newRow("など, not 平等 or 等しい") << QStringLiteral("平等に等しく分け、国語や算数等を学ぶ") << QStringList{"等→など"};
    QTest::newRow("auxiliaries after て only") << QStringLiteral("やって見る。見る。お願い致します。一致して。書いて下さい。")
                                               << QStringList{"見→み", "致し→いたし", "下さい→ください"};
    QTest::newRow("negative expressions: an example, not a replacement; 幼稚園 is no fault")
        << QStringLiteral("落ち着きがない。幼稚園のころ。幼稚な") << QStringList{"落ち着きがない:例", "幼稚:例"};
}

void TestWordingRules::starterKanaWords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, hits);
    const WordingRules starter = loadWordingRules(starterPath());
    const WordingMatcher matcher(starter.rules);
    QStringList found;
    for (const WordingHit &hit : matcher.hits(text)) {
        const WordingRule &rule = starter.rules[hit.rule];
        QCOMPARE(text.mid(hit.start, hit.length), rule.avoid);
        found.append(rule.suggestion ? rule.avoid + QStringLiteral(":例") : rule.avoid + u'→' + rule.replacement);
    }
    QCOMPARE(found, hits);
}

// The teacher's own file takes up the starter's sections it lacks, and only those.
void TestWordingRules::starterAdditions()
{
    // The sections the starter holds: each block between blank lines that has rules, by its heading.
    QStringList headings;
    QList<int> counts;
    for (const QString &block : QString::fromUtf8(readAll(starterPath())).split(QStringLiteral("\r\n\r\n"))) {
        const QStringList lines = block.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        const auto rules = std::count_if(lines.cbegin(), lines.cend(), [](const QString &line) { return !line.startsWith(u'#'); });
        if (rules > 0) {
            headings.append(lines.first().mid(1).trimmed());
            counts.append(int(rules));
        }
    }
    const StarterAddition all = ::starterAdditions(QString());
    QCOMPARE(all.sections, headings);
    QCOMPARE(all.sectionRules, counts);

    // A file from the older starter: its two sections stay, one of its words is not added again.
    const QString older = QStringLiteral("# 表記をそろえる言葉\r\n友達\t友だち\r\n\r\n# 所見には使わない言葉\r\n落ち着きがない\t\r\n");
    const StarterAddition added = ::starterAdditions(older);
    QCOMPARE(added.sections, headings.mid(2));
    QCOMPARE(added.sectionRules, (QList<int>{counts[2], counts[3] - 1}));
    QVERIFY(!added.text.contains(QStringLiteral("落ち着きがない")));
    QCOMPARE(::starterAdditions(older + added.text).ruleCount, 0);
}

void TestWordingRules::addingToTheTeachersFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(WordingRulesFileName);
    // Missing: the whole starter.
    StarterFileChange change = addStarterSections(path);
    QVERIFY(change.ok && change.created);
    QCOMPARE(describeRules({{}, loadWordingRules(path).errors, false}), QStringList{});

    // Her file in Shift_JIS with CR LF: kept byte for byte, the sections added the same way, the old file kept.
    const QByteArray hers = encodeText(QStringLiteral("# 表記をそろえる言葉\r\n子供\tこども"), Encoding::Cp932).bytes;
    writeAll(path, hers);
    change = addStarterSections(path);
    QVERIFY2(change.ok, qPrintable(change.error));
    const QByteArray after = readAll(path);
    QVERIFY(after.startsWith(hers + "\r\n"));
    const DecodedText decoded = decodeDataFile(after);
    QCOMPARE(decoded.encoding, Encoding::Cp932);
    QVERIFY(!decoded.text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    const WordingRules read = loadWordingRules(path);
    QCOMPARE(describeRules({{}, read.errors, false}), QStringList{});
    QCOMPARE(read.rules.first().replacement, QStringLiteral("こども"));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("表記ルール.bak"))), hers);
    // Asked again: nothing more to add, nothing written.
    change = addStarterSections(path);
    QVERIFY(change.ok && change.added.isEmpty());
    QCOMPARE(readAll(path), after);
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
    QTest::newRow("a rule with conditions: only where they hold")
        << QStringLiteral("［ひらがな］事［漢字以外］|こと") << oneFieldClass({QStringLiteral("見る事と仕事と大事な事実と聞く事")})
        << QStringList{QStringLiteral("見ることと仕事と大事な事実と聞くこと")} << 2;
    QTest::newRow("an example is not put in") << QStringLiteral("消極的|例：慎重") << oneFieldClass({QStringLiteral("消極的")})
                                               << QStringList{QStringLiteral("消極的")} << 0;
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
