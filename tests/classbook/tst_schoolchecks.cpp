#include <QTest>

#include "ClassChecks.h"
#include "ClassFile.h"
#include "ClassSamples.h"
#include "TestFiles.h"
#include "WordingRules.h"

Q_DECLARE_METATYPE(ClassBook)

namespace {

// A finding of the kinds the school's rules add, in one line: kind, pupil, span, what, and
// the replacement or the count.
QString describe(const Finding &f, const ClassBook &book)
{
    static const QHash<FindingKind, QString> kinds{
        {FindingKind::Style, QStringLiteral("Style")},
        {FindingKind::RepeatedEnding, QStringLiteral("Ending")},
        {FindingKind::LongSentence, QStringLiteral("Long")},
        {FindingKind::OutsideJoyo, QStringLiteral("Kanji")},
        {FindingKind::NotYetLearned, QStringLiteral("Unlearned")},
        {FindingKind::Variant, QStringLiteral("Variant")},
        {FindingKind::OtherPupilName, QStringLiteral("Other")},
        {FindingKind::WrongCallName, QStringLiteral("CallName")},
        {FindingKind::Wording, QStringLiteral("Wording")},
    };
    QString line = QStringLiteral("%1 %2 %3").arg(kinds.value(f.kind, QStringLiteral("?"))).arg(f.cell.pupil).arg(
        cellText(book, f.cell).mid(f.start, f.length));
    if (!f.replacement.isEmpty())
        line += QStringLiteral("→") + f.replacement;
    if (f.kind == FindingKind::RepeatedEnding || f.kind == FindingKind::Variant)
        line += QStringLiteral(" ×%1").arg(f.kind == FindingKind::Variant ? f.otherCount : f.count);
    if (f.kind == FindingKind::LongSentence || f.kind == FindingKind::NotYetLearned)
        line += QStringLiteral(" %1/%2").arg(f.textLength).arg(f.limit);
    return line;
}

QStringList describeAll(const ClassBook &book, const QList<WordingRule> &rules = {})
{
    QStringList lines;
    for (const Finding &f : checkClass(book, WordingMatcher(rules)))
        lines.append(describe(f, book));
    return lines;
}

// A class of the given texts whose pupils have names, and only the kinds given switched on.
ClassBook classWith(const QStringList &names, const QStringList &texts, std::initializer_list<CheckKind> kinds)
{
    ClassBook book = classOf({field(QStringLiteral("所見"), 0)}, {});
    for (int i = 0; i < texts.size(); ++i)
        book.pupils.append(pupil(i + 1, names.value(i, QStringLiteral("児童 %1").arg(i + 1)), {texts[i]}, QString(),
                                 i % 2 ? QStringLiteral("女") : QStringLiteral("男")));
    for (const CheckKind kind : checkKinds())
        book.checks.setOn(kind, std::find(kinds.begin(), kinds.end(), kind) != kinds.end());
    return book;
}

} // namespace

class TestSchoolChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findings_data()
    {
        QTest::addColumn<ClassBook>("book");
        QTest::addColumn<QStringList>("expected");
        const auto style = {CheckKind::Style};
        ClassBook book = classWith({}, {QStringLiteral("毎日練習した。「がんばります。」と話した。努力の一年。とても上手です。")}, style);
        QTest::newRow("敬体 class: each plain sentence; quotations and 体言止め are not") << book
            << QStringList{QStringLiteral("Style 0 した。"), QStringLiteral("Style 0 した。")};
        book.checks.style = WritingStyle::Plain;
        QTest::newRow("常体 class: the polite one") << book << QStringList{QStringLiteral("Style 0 です。")};
        book = classWith({}, {QStringLiteral("走りました。跳びました。投げた。"), QStringLiteral("走った。跳んだ。")}, style);
        book.checks.style = WritingStyle::Consistent;
        QTest::newRow("either style: the minority within a text, none in a text of one style") << book
            << QStringList{QStringLiteral("Style 0 げた。")};

        const auto endings = {CheckKind::RepeatedEnding};
        QTest::newRow("four alike: once, on the third, counting all four")
            << classWith({}, {QStringLiteral("走りました。跳びました。投げました。「勝った。」と言いました。")}, endings)
            << QStringList{QStringLiteral("Ending 0 ました。 ×4")};
        QTest::newRow("two alike, then another ending, then alike again: none")
            << classWith({}, {QStringLiteral("走りました。跳びました。投げています。泳ぎました。")}, endings) << QStringList{};

        ClassBook lengths = classWith({}, {QString(19, u'あ') + u'。', QString(20, u'い') + QStringLiteral("。\n") + QString(21, u'う')},
                                      {CheckKind::SentenceLength});
        lengths.checks.sentenceLimit = 20;
        QTest::newRow("a sentence at the limit is not over it; a line end ends one")
            << lengths << QStringList{QStringLiteral("Long 1 ") + QString(20, u'い') + QStringLiteral("。 21/20"),
                                      QStringLiteral("Long 1 ") + QString(21, u'う') + QStringLiteral(" 21/20")};
        lengths.checks.sentenceLimit = 0;
        QTest::newRow("length 0 checks no length") << lengths << QStringList{};

        const auto kanji = {CheckKind::Kanji};
        QTest::newRow("outside the table: neighbours together; names, numbers, Latin and marks pass")
            << classWith({QStringLiteral("桐山 翔"), QStringLiteral("芦田 凛")},
                         {QStringLiteral("桐山さんは綺麗な薔薇が嬉しい。"), QStringLiteral("翔と凛、５０m走とALT、時々〇〇。")}, kanji)
            << QStringList{QStringLiteral("Kanji 0 綺"), QStringLiteral("Kanji 0 薔薇"), QStringLiteral("Kanji 0 嬉")};
        book = classWith({}, {QStringLiteral("学校で曜日と県名を覚えた。")}, kanji);
        book.checks.grade = 1;
        QTest::newRow("first grade: each kanji of a later grade, with its grade") << book
            << QStringList{QStringLiteral("Unlearned 0 曜 2/1"), QStringLiteral("Unlearned 0 県 3/1"),
                           QStringLiteral("Unlearned 0 覚 4/1")};
        book.checks.grade = JuniorHighGrade;
        QTest::newRow("中学: the whole table is learned") << book << QStringList{};

        const auto variants = {CheckKind::Variants};
        const QStringList careful{QStringLiteral("丁寧に書く。"), QStringLiteral("ていねいに書き、丁寧に読む。"), QStringLiteral("丁寧さ。")};
        QTest::newRow("the rarer spelling, replaced by the usual one")
            << classWith({}, careful, variants) << QStringList{QStringLiteral("Variant 1 ていねい→丁寧 ×1")};
        QTest::newRow("出来事 is not 出来る") << classWith({}, {QStringLiteral("できた。できる。"), QStringLiteral("出来事。")}, variants)
                                            << QStringList{};
        QTest::newRow("a spelling inside a pupil's name is not counted")
            << classWith({QStringLiteral("丁寧 花子")}, {QStringLiteral("丁寧さんはていねいです。")}, variants) << QStringList{};

        const auto names = {CheckKind::Names};
        const QStringList class4{QStringLiteral("青木 空"), QStringLiteral("林 海"), QStringLiteral("小林 陸"), QStringLiteral("上田 空")};
        QTest::newRow("another pupil by 姓 and honorific, or full name; the own rule's name passes")
            << classWith(class4, {QStringLiteral("青木さんは林君と上田空と遊んだ。"), QString(), QString(), QString()}, names)
            << QStringList{QStringLiteral("Other 0 林君"), QStringLiteral("Other 0 上田空")};
        QTest::newRow("the pupil's own name called otherwise; 小林さん is not 林さん; 空さん is the own 名")
            << classWith(class4, {QStringLiteral("青木くんと空さん。"), QString(), QStringLiteral("小林さん。"), QString()}, names)
            << QStringList{QStringLiteral("CallName 0 青木くん→青木さん"), QStringLiteral("CallName 0 空さん→青木さん")};
        book = classWith(class4, {QStringLiteral("青木くんは空くん。"), QString(), QString(), QString()}, names);
        book.naming = NamingRule::FamilyBySex;
        QTest::newRow("姓＋くん for boys") << book << QStringList{QStringLiteral("CallName 0 空くん→青木くん")};
    }
    void findings()
    {
        QFETCH(ClassBook, book);
        QFETCH(QStringList, expected);
        QCOMPARE(describeAll(book), expected);
    }

    // A spelling the school's rules decide is left to them; with the rules off, the class's majority decides.
    void variantsAndRules()
    {
        ClassBook book = classWith({}, {QStringLiteral("ていねい。ていねい。丁寧。")}, {CheckKind::Variants, CheckKind::Wording});
        const QList<WordingRule> rule = parseWordingRules(QStringLiteral("丁寧\tていねい")).rules;
        QCOMPARE(describeAll(book, rule), QStringList{QStringLiteral("Wording 0 丁寧→ていねい")});
        book.checks.setOn(CheckKind::Wording, false);
        QCOMPARE(describeAll(book, rule), QStringList{QStringLiteral("Variant 0 丁寧→ていねい ×1")});
    }

    void messages_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("文体") << QString() << QStringLiteral("よく走った。") << QStringLiteral("常体の文末「〜った。」があります（この学級は敬体）。");
        QTest::newRow("endings") << QString() << QStringLiteral("見ました。来ました。寝ました。")
                                 << QStringLiteral("「〜ました。」で終わる文が 3 つ続いています。");
        QTest::newRow("length") << QString() << QString(61, u'あ') << QStringLiteral("一文が 61 字あります（この学級は 60 字まで）。");
        QTest::newRow("kanji") << QString() << QStringLiteral("嬉しいです。") << QStringLiteral("常用漢字表にない漢字「嬉」があります（嬉しい）。");
        QTest::newRow("a word with what stands around it") << QStringLiteral("［ひらがな］事\tこと") << QStringLiteral("見る事です。")
                                                         << QStringLiteral("「る事で」の「事」は「こと」と書きます。");
        QTest::newRow("an example of a rewording") << QStringLiteral("消極的\t例：慎重に考えて") << QStringLiteral("消極的です。")
                                                   << QStringLiteral("「消極的」は、たとえば「慎重に考えて」のように言いかえられます。");
        QTest::newRow("another pupil") << QString() << QStringLiteral("井上さんです。")
                                       << QStringLiteral("ほかの児童・生徒の名前「井上さん」があります（2番 井上 海）。");
        QTest::newRow("call name") << QString() << QStringLiteral("青木くんです。")
                                   << QStringLiteral("呼び方が「青木くん」になっています（この学級の呼び方では「青木さん」）。");
    }
    void messages()
    {
        QFETCH(QString, rules);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const ClassBook book = classWith({QStringLiteral("青木 空"), QStringLiteral("井上 海")}, {text, QString()}, {
            CheckKind::Style, CheckKind::RepeatedEnding, CheckKind::SentenceLength, CheckKind::Kanji, CheckKind::Names,
            CheckKind::Wording});
        const QList<Finding> found = checkClass(book, WordingMatcher(parseWordingRules(rules).rules));
        QVERIFY(!found.isEmpty());
        QCOMPARE(findingMessage(found.first(), book), message);
    }

    // A class written as teachers write, with one fault of each kind planted: each is listed,
    // and nothing else.
    void plantedFaults()
    {
        const ClassFileRead read = readClassFile(testData(QStringLiteral("class-of-35.json")));
        QVERIFY2(read.ok, qPrintable(read.error));
        const WordingRules rules = loadWordingRules(QStringLiteral(KOTOBAN_STARTER_DATA "/表記ルール.txt"));
        QStringList found;
        for (const Finding &f : checkClass(read.book, WordingMatcher(rules.rules)))
            found.append(QStringLiteral("%1 %2").arg(read.book.pupils[f.cell.pupil].number).arg(
                read.book.pupils[f.cell.pupil].texts[0].mid(f.start, f.length).left(8)));
        QCOMPARE(found, (QStringList{
            QStringLiteral("3 めた。"), QStringLiteral("5 ました。"), QStringLiteral("7 桐山さんが友だち"),
            QStringLiteral("9 綺"), QStringLiteral("10 嬉"), QStringLiteral("12 事"), QStringLiteral("13 時"),
            QStringLiteral("19 ていねい"), QStringLiteral("20 青木さん"), QStringLiteral("22 林くん"),
            QStringLiteral("25 落ち着きがない"), QStringLiteral("27 〇〇"), QStringLiteral("29 が見られます。こ"),
            QStringLiteral("30 学級の話し合いで"), QStringLiteral("31 学級の話し合いで")}));
    }
};

QTEST_APPLESS_MAIN(TestSchoolChecks)
#include "tst_schoolchecks.moc"
