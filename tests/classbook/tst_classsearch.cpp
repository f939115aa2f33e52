#include <QTest>

#include "ClassSamples.h"
#include "ClassSearch.h"
#include "ExampleUsage.h"

// Looking things up in a class: words in the search box, a pupil in the quick-entry list, and
// who already has an example sentence.
namespace {

// Two pupils, two fields, notes newest first.
ClassBook sample()
{
    ClassBook book = classOf({field(QStringLiteral("所見"), 0), field(QStringLiteral("道徳"), 0)},
                             {pupil(1, QStringLiteral("青木 空"), {QStringLiteral("リレーでＡＢＣ走。"), QStringLiteral("abcの歌")},
                                    QStringLiteral("あおき そら")),
                              pupil(12, QStringLiteral("井上 海"), {QStringLiteral("あああ"), QString()},
                                    QStringLiteral("いのうえ うみ"))});
    book.pupils[1].notes = {{QDate(2025, 1, 20), QString(), QStringLiteral("リレーの\nアンカー")},
                            {QDate(2025, 1, 10), QString(), QStringLiteral("青木さんと")}};
    return book;
}

QStringList described(const SearchResult &result)
{
    QStringList lines;
    for (const SearchHit &hit : result.hits) {
        lines.append(QStringLiteral("%1/%2/%3 %4+%5 %6")
                         .arg(hit.pupil).arg(hit.field).arg(hit.note).arg(hit.start).arg(hit.length).arg(hit.context));
    }
    if (result.truncated)
        lines.append(QStringLiteral("more"));
    return lines;
}

} // namespace

class TestClassSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void search_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("maxHits");
        QTest::addColumn<QStringList>("hits"); // pupil/column/note start+length context
        QTest::newRow("full and half width, upper and lower case alike")
            << " abc " << 10 << QStringList{"0/0/-1 4+3 リレーでＡＢＣ走。", "0/1/-1 0+3 abcの歌"};
        QTest::newRow("names, fields, then notes; a note's line break as a blank")
            << "リレー" << 10 << QStringList{"0/0/-1 0+3 リレーでＡＢＣ走。", "1/-3/0 0+3 リレーの アンカー"};
        QTest::newRow("a name and a note naming the pupil") << "青木" << 10 << QStringList{"0/-2/-1 0+2 青木 空", "1/-3/1 0+2 青木さんと"};
        QTest::newRow("kana") << "うみ" << 10 << QStringList{"1/-1/-1 5+2 いのうえ うみ"};
        QTest::newRow("hits do not overlap") << "ああ" << 10 << QStringList{"1/0/-1 0+2 あああ"};
        QTest::newRow("no more than asked for") << "リ" << 1 << QStringList{"0/0/-1 0+1 リレーでＡＢＣ走。", "more"};
        QTest::newRow("blanks find nothing") << "　" << 10 << QStringList{};
    }
    void search()
    {
        QFETCH(QString, words);
        QFETCH(int, maxHits);
        QFETCH(QStringList, hits);
        QCOMPARE(described(searchClass(sample(), words, maxHits)), hits);
    }

    void context_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("around");
        QTest::addColumn<QString>("context");
        QTest::newRow("cut on both sides") << "あいうえおかきくけこ" << 4 << 2 << "…うえおかき…";
        QTest::newRow("at the start") << "あいうえお" << 0 << 2 << "あいう…";
        QTest::newRow("a character outside the plane stays whole before") << "𠮷野あいう" << 2 << 1 << "𠮷野あ…";
        QTest::newRow("and after") << "あい𠮷う" << 0 << 2 << "あい𠮷…";
        QTest::newRow("line breaks and tabs as blanks") << "朝\r\n\t昼" << 0 << 5 << "朝   昼";
    }
    void context()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, around);
        QFETCH(QString, context);
        QCOMPARE(hitContext(text, start, 1, around), context);
    }

    void choosingPupils_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<bool>>("chosen"); // 1 青木 空 (あおき そら), 12 井上 海, 0 上田 陸
        QTest::newRow("nothing typed: everyone") << "" << QList<bool>{true, true, true};
        QTest::newRow("a number is that number, not its digits") << "1" << QList<bool>{true, false, false};
        QTest::newRow("full-width digits and 番") << "１２番" << QList<bool>{false, true, false};
        QTest::newRow("no pupil 0") << "0" << QList<bool>{false, false, false};
        QTest::newRow("part of a name, blanks left out") << "木空" << QList<bool>{true, false, false};
        QTest::newRow("kana") << "あおき" << QList<bool>{true, false, false};
        QTest::newRow("a kanji two share") << "上" << QList<bool>{false, true, true};
    }
    void choosingPupils()
    {
        QFETCH(QString, typed);
        QFETCH(QList<bool>, chosen);
        const ClassBook book = classOf({field(QStringLiteral("所見"), 0)},
                                       {pupil(1, QStringLiteral("青木 空"), {}, QStringLiteral("あおき そら")),
                                        pupil(12, QStringLiteral("井上 海"), {}), pupil(0, QStringLiteral("上田 陸"), {})});
        QList<bool> found;
        for (const Pupil &p : book.pupils)
            found.append(pupilMatches(p, typed));
        QCOMPARE(found, chosen);
    }

    void exampleUsage_data()
    {
        QTest::addColumn<QString>("example");
        QTest::addColumn<int>("naming");
        QTest::addColumn<QString>("line");
        QTest::newRow("〇〇 is each pupil's own name")
            << "〇〇は、係の仕事を最後までやりとげました。" << int(NamingRule::FamilySan)
            << "この例文は 2 人が使っています：1番 青木さん、3番 上田さん";
        QTest::newRow("named as the class names them")
            << "〇〇は、係の仕事を最後までやりとげました。" << int(NamingRule::FamilyBySex)
            << "この例文は 1 人が使っています：1番 青木さん";
        QTest::newRow("any one of its sentences counts, in any field")
            << "友だちに優しく声をかけていました。新しい文をここに書きます。" << int(NamingRule::FamilySan)
            << "この例文は 2 人が使っています：2番 井上さん、3番 上田さん";
        QTest::newRow("nobody yet") << "図書室でたくさんの本を読みました。" << int(NamingRule::FamilySan)
                                    << "この例文は、この学級ではまだだれも使っていません。";
        QTest::newRow("too short to compare: nothing said") << "よくできました。" << int(NamingRule::FamilySan) << "";
    }
    void exampleUsage()
    {
        QFETCH(QString, example);
        QFETCH(int, naming);
        QFETCH(QString, line);
        ClassBook book = classOf(
            {field(QStringLiteral("所見"), 0), field(QStringLiteral("道徳"), 0)},
            {pupil(1, QStringLiteral("青木 空"), {QStringLiteral("青木さんは、係の仕事を最後までやりとげました。"), QString()}, {},
                   QStringLiteral("女")),
             pupil(2, QStringLiteral("井上 海"), {QStringLiteral("よくできました。"), QStringLiteral("友だちに優しく声をかけていました。")}),
             pupil(3, QStringLiteral("上田 陸"),
                   {QStringLiteral("友だちに優しく声をかけていました。上田さんは、係の仕事を最後までやりとげました。")}, {},
                   QStringLiteral("男"))});
        book.naming = NamingRule(naming);
        QCOMPARE(exampleUsageLine(book, ::exampleUsage(book, DuplicateSentences(book), example)), line);
    }

    void manyUsersAreCounted()
    {
        QStringList texts;
        for (int i = 0; i < 5; ++i)
            texts.append(QStringLiteral("図書室でたくさんの本を読みました。"));
        const ClassBook book = oneFieldClass(texts);
        QCOMPARE(exampleUsageLine(book, ::exampleUsage(book, DuplicateSentences(book), texts[0]), 2),
                 QStringLiteral("この例文は 5 人が使っています：1番 児童1さん、2番 児童2さん、ほか 3 人"));
    }
};

QTEST_APPLESS_MAIN(TestClassSearch)
#include "tst_classsearch.moc"
