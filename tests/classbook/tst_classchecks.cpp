#include <QTest>

#include "ClassChecks.h"
#include "ClassSamples.h"
#include "Characters.h"
#include "CommentText.h"

#include <QRandomGenerator>

Q_DECLARE_METATYPE(ClassBook)

namespace {

// A finding in one line: kind, pupil/column, span, what was found, replacement, others.
QString describe(const Finding &f)
{
    static const char *const kinds[] = {"OverLimit",    "Empty",          "Duplicate",    "Placeholder",
                                        "HalfWidthKana", "NotCp932",      "Wording",      "Style",
                                        "RepeatedEnding", "LongSentence", "OutsideJoyo",  "NotYetLearned",
                                        "Variant",       "OtherPupilName", "WrongCallName", "NoNotes",
                                        "Formula",       "NoBlank"};
    static_assert(sizeof kinds / sizeof *kinds == int(FindingKind::NameWithoutBlank) + 1);
    QString line = QStringLiteral("%1 %2/%3").arg(QLatin1String(kinds[int(f.kind)])).arg(f.cell.pupil).arg(f.cell.field);
    if (f.length > 0)
        line += QStringLiteral(" %1+%2").arg(f.start).arg(f.length);
    if (!f.found.isEmpty())
        line += QStringLiteral(" ") + f.found;
    if (!f.replacement.isEmpty())
        line += QStringLiteral("→") + f.replacement;
    for (const int other : f.sharedBy) {
        if (other != f.cell.pupil)
            line += QStringLiteral(" +%1").arg(other);
    }
    return line;
}

QStringList describeAll(const QList<Finding> &findings)
{
    QStringList lines;
    for (const Finding &f : findings)
        lines.append(describe(f));
    return lines;
}

QStringList sentencesOf(const QString &text)
{
    QStringList sentences;
    for (const SentenceSpan &span : sentenceSpans(text))
        sentences.append(text.mid(span.start, span.length));
    return sentences;
}

const QList<WordingRule> SampleRules = {
    {QStringLiteral("友達"), QStringLiteral("友だち"), 1},
    {QStringLiteral("子供"), QStringLiteral("子ども"), 2},
    {QStringLiteral("子供たち"), QStringLiteral("子どもたち"), 3},
    {QStringLiteral("ダメ"), QString(), 4},
};

} // namespace

class TestClassChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sentences_data();
    void sentences();
    void countedLength_data();
    void countedLength();
    void cellMarks_data();
    void cellMarks();
    void duplicates_data();
    void duplicates();
    void duplicatesFollowEveryEdit();
    void findings_data();
    void findings();
    void duplicateMessageNamesTheOthers();
    void namesWithoutBlank_data();
    void namesWithoutBlank();
};

void TestClassChecks::sentences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("two sentences") << QStringLiteral("よく頑張りました。次も期待しています。")
                                   << QStringList{QStringLiteral("よく頑張りました。"), QStringLiteral("次も期待しています。")};
    QTest::newRow("line break ends one, blanks trimmed")
        << QStringLiteral("　友だちに優しい \n  本をよく読む　")
        << QStringList{QStringLiteral("友だちに優しい"), QStringLiteral("本をよく読む")};
    QTest::newRow("marks after the end stay with it")
        << QStringLiteral("本当？！すごい！")
        << QStringList{QStringLiteral("本当？！"), QStringLiteral("すごい！")};
    QTest::newRow("quoted speech is not cut")
        << QStringLiteral("先生は「よくできたね。」と話しました。次も。")
        << QStringList{QStringLiteral("先生は「よくできたね。」と話しました。"), QStringLiteral("次も。")};
    QTest::newRow("blank lines give nothing") << QStringLiteral("\r\n　\r\n") << QStringList{};
    QTest::newRow("unclosed quote ends at the line break")
        << QStringLiteral("「まだ。終わらない\n次の文。")
        << QStringList{QStringLiteral("「まだ。終わらない"), QStringLiteral("次の文。")};
}

void TestClassChecks::sentences()
{
    QFETCH(QString, text);
    QFETCH(QStringList, sentences);
    QCOMPARE(sentencesOf(text), sentences);
}

// The fast count is only a shortcut: it must say what the table's count says.
void TestClassChecks::countedLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("kana, kanji, full-width, line breaks") << QStringLiteral("よく考え、「１０問」ＯＫ！\r\n次。");
    QTest::newRow("combining sound mark") << QStringLiteral("か\u3099きくけこさしすせそ");
    QTest::newRow("half-width sound marks") << QStringLiteral("ｶﾞｯｺｳﾃﾞﾊﾟﾝ");
    QTest::newRow("emoji with modifier and joiner") << QStringLiteral("👍🏽👨‍👩‍👧と😀");
    QTest::newRow("variation selector") << QStringLiteral("葛\U000E0100城市");
    QTest::newRow("Hangul jamo") << QStringLiteral("\u1100\u1161\u11A8です");
    QTest::newRow("ideographic tone mark") << QStringLiteral("漢\u302A字");
    QTest::newRow("Latin with combining accent") << QStringLiteral("cafe\u0301");
}

void TestClassChecks::countedLength()
{
    QFETCH(QString, text);
    QCOMPARE(::countedLength(text), characterCount(text));
}

void TestClassChecks::cellMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("over");
    QTest::addColumn<bool>("empty");
    QTest::newRow("at the limit") << QStringLiteral("あいうえお") << 5 << 5 << false << false;
    QTest::newRow("one over") << QStringLiteral("あいうえおか") << 5 << 6 << true << false;
    QTest::newRow("line breaks do not push it over") << QStringLiteral("あい\r\nうえ\nお") << 5 << 5 << false << false;
    QTest::newRow("no limit") << QString(300, u'あ') << 0 << 300 << false << false;
    QTest::newRow("characters outside the BMP count once") << QStringLiteral("𠮷田👍🏽さん") << 4 << 5 << true << false;
    QTest::newRow("blanks only are empty") << QStringLiteral(" 　\r\n") << 5 << 2 << false << true;
    QTest::newRow("null is empty") << QString() << 5 << 0 << false << true;
}

void TestClassChecks::cellMarks()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(int, length);
    QFETCH(bool, over);
    QFETCH(bool, empty);
    const CellMarks marks = ::cellMarks(text, limit, true);
    QCOMPARE(marks.length, length);
    QCOMPARE(marks.overLimit, over);
    QCOMPARE(marks.empty, empty);
    QCOMPARE(marks.duplicate, !empty); // an empty cell never shows ≒
}

void TestClassChecks::duplicates_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("marked");
    const QString shared = QStringLiteral("友だちと協力して最後までやり遂げました。");
    QTest::newRow("two pupils, one sentence") << QStringList{shared, QStringLiteral("別の文です。") + shared, QStringLiteral("違う文章を書きました。")}
                                              << QList<int>{0, 1};
    QTest::newRow("blanks and line placement do not hide it")
        << QStringList{QStringLiteral("　") + shared + QStringLiteral(" "), QStringLiteral("はじめに。\n") + shared}
        << QList<int>{0, 1};
    QTest::newRow("short set phrases are ignored")
        << QStringList{QStringLiteral("よくできました。"), QStringLiteral("よくできました。")} << QList<int>{};
    QTest::newRow("ten characters count") << QStringList{QStringLiteral("あいうえおかきくけ。"), QStringLiteral("あいうえおかきくけ。")}
                                          << QList<int>{0, 1};
    QTest::newRow("nine do not") << QStringList{QStringLiteral("あいうえおかきく。"), QStringLiteral("あいうえおかきく。")}
                                 << QList<int>{};
    QTest::newRow("another end mark is another sentence")
        << QStringList{QStringLiteral("最後までよく頑張りました。"), QStringLiteral("最後までよく頑張りました！")} << QList<int>{};
    QTest::newRow("three pupils") << QStringList{shared, shared, shared} << QList<int>{0, 1, 2};
    QTest::newRow("twice in one pupil is not a duplicate") << QStringList{shared + shared, QString()} << QList<int>{};
}

void TestClassChecks::duplicates()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, marked);
    const ClassBook book = oneFieldClass(texts);
    const DuplicateSentences index(book);
    QList<int> found;
    for (int p = 0; p < texts.size(); ++p) {
        if (index.isMarked({p, 0}))
            found.append(p);
    }
    QCOMPARE(found, marked);
    // The full check lists the same pupils, each with the others holding the sentence.
    QList<int> listed;
    for (const Finding &f : checkClass(book, WordingMatcher({}))) {
        if (f.kind != FindingKind::DuplicateSentence)
            continue;
        listed.append(f.cell.pupil);
        QCOMPARE(f.sharedBy, marked);
        QCOMPARE(texts[f.cell.pupil].mid(f.start, f.length), f.found);
    }
    QCOMPARE(listed, marked);
}

// The kept index, after any sequence of edits, says what a fresh one says, and each edit
// reports exactly the cells whose mark changed.
void TestClassChecks::duplicatesFollowEveryEdit()
{
    const QStringList sentences{QStringLiteral("友だちと協力して最後までやり遂げました。"),
                                QStringLiteral("係の仕事に責任をもって取り組みました。"),
                                QStringLiteral("音読を毎日続け、すらすら読めるようになりました。"), QStringLiteral("短い。")};
    ClassBook book = classOf({field(QStringLiteral("所見"), 0), field(QStringLiteral("道徳"), 0)}, {});
    for (int p = 0; p < 6; ++p)
        book.pupils.append(pupil(p + 1, QStringLiteral("児童%1").arg(p), {QString(), QString()}));
    DuplicateSentences index(book);
    QRandomGenerator random(12);
    for (int step = 0; step < 300; ++step) {
        const CellRef cell{int(random.bounded(6)), int(random.bounded(2))};
        QString text;
        for (quint32 n = random.bounded(3); n > 0; --n)
            text += sentences[random.bounded(sentences.size())];
        const DuplicateSentences before = index;
        book.pupils[cell.pupil].texts[cell.field] = text;
        const QList<CellRef> changed = index.update(cell, text);
        const DuplicateSentences fresh(book);
        for (int p = 0; p < 6; ++p) {
            for (int f = 0; f < 2; ++f) {
                const CellRef c{p, f};
                QCOMPARE(index.isMarked(c), fresh.isMarked(c));
                QCOMPARE(changed.contains(c), before.isMarked(c) != fresh.isMarked(c));
            }
        }
    }
}

void TestClassChecks::findings_data()
{
    QTest::addColumn<ClassBook>("book");
    QTest::addColumn<bool>("cp932");
    QTest::addColumn<QStringList>("expected");
    const ClassField limited = field(QStringLiteral("所見"), 5);
    QTest::newRow("a text Excel would take for a formula")
        << classOf({field(QStringLiteral("所見"), 0)},
                   {pupil(1, QStringLiteral("A"), {QStringLiteral("=1+2 の計算ができた")}), pupil(2, QStringLiteral("B"), {QStringLiteral("-係の仕事")}),
                    pupil(3, QStringLiteral("C"), {QStringLiteral("＋全角の記号は式にならない")}), pupil(4, QStringLiteral("D"), {QStringLiteral("@係")})})
        << false << QStringList{QStringLiteral("Formula 0/0 0+1 ="), QStringLiteral("Formula 1/0 0+1 -"), QStringLiteral("Formula 3/0 0+1 @")};
    QTest::newRow("over the limit: the part beyond is selected")
        << classOf({limited}, {pupil(1, QStringLiteral("山田 花子"), {QStringLiteral("あいうえおかき")})}) << false
        << QStringList{QStringLiteral("OverLimit 0/0 5+2")};
    QTest::newRow("line breaks are skipped when counting to the limit")
        << classOf({limited}, {pupil(1, QStringLiteral("山田"), {QStringLiteral("あいう\r\nえおか")})}) << false
        << QStringList{QStringLiteral("OverLimit 0/0 7+1")};
    QTest::newRow("pairs are one character")
        << classOf({field(QStringLiteral("所見"), 2)},
                   {pupil(1, QStringLiteral("A"), {QStringLiteral("𠮷𠮷")}), pupil(2, QStringLiteral("B"), {QStringLiteral("𠮷𠮷𠮷")})})
        << false << QStringList{QStringLiteral("OverLimit 1/0 4+2")};
    QTest::newRow("empty and blank fields, nothing else about them")
        << classOf({limited, field(QStringLiteral("道徳"), 0)}, {pupil(1, QStringLiteral("A"), {QString(), QStringLiteral("　\r\n")})})
        << true << QStringList{QStringLiteral("Empty 0/0"), QStringLiteral("Empty 0/1")};
    QTest::newRow("a field missing from a short texts list is empty")
        << classOf({limited, field(QStringLiteral("道徳"), 0)}, {pupil(1, QStringLiteral("A"), {QStringLiteral("はい。")})})
        << false << QStringList{QStringLiteral("Empty 0/1")};
    QTest::newRow("placeholders, both forms, not mixed")
        << oneFieldClass({QStringLiteral("〇〇さんは○○くんと〇○"), QStringLiteral("〇〇〇")}) << false
        << QStringList{QStringLiteral("Placeholder 0/0 0+2 〇〇"), QStringLiteral("Placeholder 0/0 5+2 ○○"),
                       QStringLiteral("Placeholder 1/0 0+2 〇〇")};
    QTest::newRow("half-width katakana with the full-width form")
        << oneFieldClass({QStringLiteral("ｶﾞｯｺｳで｢ﾊｲ｣")}) << false
        << QStringList{QStringLiteral("HalfWidthKana 0/0 0+5 ｶﾞｯｺｳ→ガッコウ"), QStringLiteral("HalfWidthKana 0/0 6+4 ｢ﾊｲ｣→「ハイ」")};
    QTest::newRow("code page 932 only when asked")
        << oneFieldClass({QStringLiteral("𠮷田さんと①")}) << false << QStringList{};
    QTest::newRow("code page 932: names, kana and texts; U+FFFD too; input-method forms pass")
        << classOf({field(QStringLiteral("所見"), 0)},
                   {pupil(1, QStringLiteral("髙橋 😀"), {QStringLiteral("〜−ゔ𠮷ゔ") + QChar(0xFFFD)}, QStringLiteral("たかはし"))})
        << true
        << QStringList{QStringLiteral("NotCp932 0/-2 3+2 😀"), QStringLiteral("NotCp932 0/0 2+1 ゔ"),
                       QStringLiteral("NotCp932 0/0 3+2 𠮷"), QString(QStringLiteral("NotCp932 0/0 6+1 ")) + QChar(0xFFFD)};
    QTest::newRow("wording: replacement, overlapping rules, avoided word, in text order")
        << oneFieldClass({QStringLiteral("子供たちは友達とダメと言わない。友達")}) << false
        << QStringList{QStringLiteral("Wording 0/0 0+4 子供たち→子どもたち"), QStringLiteral("Wording 0/0 0+2 子供→子ども"),
                       QStringLiteral("Wording 0/0 5+2 友達→友だち"), QStringLiteral("Wording 0/0 8+2 ダメ"),
                       QStringLiteral("Wording 0/0 16+2 友達→友だち")};
    const QString shared = QStringLiteral("友だちと協力して最後までやり遂げました。");
    QTest::newRow("by pupil and column; a cell's own findings first, then by place")
        << classOf({limited}, {pupil(1, QStringLiteral("A"), {QStringLiteral("〇〇さん。") + shared}),
                               pupil(2, QStringLiteral("B"), {shared})})
        << false
        << QStringList{QStringLiteral("OverLimit 0/0 5+20"), QStringLiteral("Placeholder 0/0 0+2 〇〇"),
                       QStringLiteral("Duplicate 0/0 5+20 ") + shared + QStringLiteral(" +1"),
                       QStringLiteral("OverLimit 1/0 5+15"), QStringLiteral("Duplicate 1/0 0+20 ") + shared + QStringLiteral(" +0")};
}

void TestClassChecks::findings()
{
    QFETCH(ClassBook, book);
    QFETCH(bool, cp932);
    QFETCH(QStringList, expected);
    CheckOptions options;
    options.cp932 = cp932;
    // The kinds a school's writing rules add have tests of their own.
    for (const CheckKind kind : {CheckKind::Style, CheckKind::RepeatedEnding, CheckKind::SentenceLength,
                                 CheckKind::Kanji, CheckKind::Variants, CheckKind::Names})
        book.checks.setOn(kind, false);
    QCOMPARE(describeAll(checkClass(book, WordingMatcher(SampleRules), options)), expected);
}

void TestClassChecks::duplicateMessageNamesTheOthers()
{
    const QString shared = QStringLiteral("友だちと協力して最後までやり遂げました。");
    const ClassBook book = oneFieldClass({shared, shared, shared, shared, shared});
    const QList<Finding> found = checkClass(book, WordingMatcher({}));
    QCOMPARE(found.size(), 5);
    QCOMPARE(findingMessage(found[0], book),
             QStringLiteral("同じ文が 2番 児童2、3番 児童3、4番 児童4 ほか 1 人にもあります：「") + shared + u'」');
    QCOMPARE(pupilLabel(pupil(0, QStringLiteral("番号なし"), {})), QStringLiteral("番号なし"));
}

// 〇〇 needs 姓 or 名 under every rule; a name without a blank cannot give them unless a
// 呼び名 says how the pupil is called.
void TestClassChecks::namesWithoutBlank_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("calledAs");
    QTest::addColumn<bool>("listed");
    QTest::newRow("no blank") << QStringLiteral("渡辺優斗") << QString() << true;
    QTest::newRow("blanks only at the ends") << QStringLiteral(" 青木空　") << QString() << true;
    QTest::newRow("full-width blank") << QStringLiteral("森　葵") << QString() << false;
    QTest::newRow("no blank, but a 呼び名") << QStringLiteral("林陽菜") << QStringLiteral("ひなさん") << false;
}

void TestClassChecks::namesWithoutBlank()
{
    QFETCH(QString, name);
    QFETCH(QString, calledAs);
    QFETCH(bool, listed);
    ClassBook book = classOf({field(QStringLiteral("所見"), 0)}, {pupil(1, name, {QStringLiteral("はい。")})});
    book.pupils[0].calledAs = calledAs;
    CheckOptions options;
    QVERIFY(checkClass(book, WordingMatcher({}), options).isEmpty());
    options.names = true;
    const QList<Finding> found = checkClass(book, WordingMatcher({}), options);
    QCOMPARE(describeAll(found), listed ? QStringList{QStringLiteral("NoBlank 0/-2")} : QStringList{});
    if (listed)
        QVERIFY(findingMessage(found[0], book).contains(QStringLiteral("〇〇が「%1さん」になります").arg(name.trimmed())));
}

QTEST_GUILESS_MAIN(TestClassChecks)
#include "tst_classchecks.moc"
