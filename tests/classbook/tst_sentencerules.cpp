#include <QTest>

#include "JoyoKanji.h"
#include "SentenceRules.h"

// How a sentence ends (文体 and the ending compared for repetition), and the kanji tables.
class TestSentenceRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ending_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("style"); // 敬, 常, or - for a sentence not judged
        QTest::addColumn<QString>("shown");
        QTest::newRow("ました") << QStringLiteral("毎日練習しました。") << "敬" << QStringLiteral("〜ました。");
        QTest::newRow("ています") << QStringLiteral("進んで取り組んでいます。") << "敬" << QStringLiteral("〜ます。");
        QTest::newRow("でした, exclamation") << QStringLiteral("見事な演技でした！") << "敬" << QStringLiteral("〜でした！");
        QTest::newRow("ませんでした") << QStringLiteral("一度も休みませんでした。") << "敬" << QStringLiteral("〜ませんでした。");
        QTest::newRow("てください in kanji") << QStringLiteral("ご家庭でもほめて下さい。") << "敬" << QStringLiteral("〜下さい。");
        QTest::newRow("ですね: the particle stays shown") << QStringLiteral("楽しみですね。") << "敬" << QStringLiteral("〜ですね。");
        QTest::newRow("でしょうか") << QStringLiteral("次は何に挑戦するでしょうか。") << "敬" << QStringLiteral("〜でしょうか。");
        QTest::newRow("した") << QStringLiteral("最後までやり遂げた。") << "常" << QStringLiteral("〜げた。");
        QTest::newRow("である") << QStringLiteral("学級の中心である。") << "常" << QStringLiteral("〜ある。");
        QTest::newRow("思う") << QStringLiteral("今後の成長に期待したいと思う。") << "常" << QStringLiteral("〜思う。");
        QTest::newRow("adjective in kana") << QStringLiteral("笑顔がとても素晴らしい。") << "常" << QStringLiteral("〜しい。");
        QTest::newRow("adjective after its kanji") << QStringLiteral("意欲が高い。") << "常" << QStringLiteral("〜高い。");
        QTest::newRow("ない") << QStringLiteral("忘れ物が一度もない。") << "常" << QStringLiteral("〜ない。");
        QTest::newRow("だ with a particle") << QStringLiteral("頼もしい存在だね。") << "常" << QStringLiteral("〜在だね。");
        QTest::newRow("no end mark, at a line end") << QStringLiteral("毎日よく読む") << "常" << QStringLiteral("〜読む");
        QTest::newRow("polite speech quoted in a plain sentence")
            << QStringLiteral("「がんばります。」と話した。") << "常" << QStringLiteral("〜した。");
        QTest::newRow("plain speech quoted in a polite sentence")
            << QStringLiteral("「やった。」と喜んでいました。") << "敬" << QStringLiteral("〜ました。");
        QTest::newRow("a note in brackets after the predicate")
            << QStringLiteral("リレーで一位になりました（運動会）。") << "敬" << QStringLiteral("〜ました。");
        QTest::newRow("体言止め") << QStringLiteral("努力を重ねた一年。") << "-" << QString();
        QTest::newRow("a noun in kana") << QStringLiteral("大切にしたいこと。") << "-" << QString();
        QTest::newRow("a noun from a verb") << QStringLiteral("友だちへの思い。") << "-" << QString();
        QTest::newRow("くらい") << QStringLiteral("毎日三十分くらい。") << "-" << QString();
        QTest::newRow("a counter") << QStringLiteral("学級の自慢の一つ。") << "-" << QString();
        QTest::newRow("a greeting") << QStringLiteral("ありがとう。") << "-" << QString();
        QTest::newRow("only a quotation") << QStringLiteral("「がんばります。」") << "-" << QString();
        QTest::newRow("katakana, numbers, Latin") << QStringLiteral("目標は５０mのタイム、ＯＫ。") << "-" << QString();
    }
    void ending()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, style);
        QFETCH(QString, shown);
        const SentenceEnding ending = sentenceTail(sentence).ending;
        const QString judged = ending.style == SentenceStyle::Polite ? QStringLiteral("敬")
            : ending.style == SentenceStyle::Plain                    ? QStringLiteral("常")
                                                                      : QStringLiteral("-");
        QCOMPARE(judged, style);
        QCOMPARE(ending.shown, shown);
        if (!shown.isEmpty()) // the shown ending starts where the sentence has it
            QVERIFY(sentence.mid(ending.start).startsWith(shown.mid(1, 2)));
    }

    void endingKey_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("key");
        QTest::newRow("three characters before the end mark") << QStringLiteral("進んで取り組んでいます。") << QStringLiteral("います");
        QTest::newRow("quotations set aside") << QStringLiteral("「はい。」と答えました（授業）。") << QStringLiteral("ました");
        QTest::newRow("no end mark: nothing to compare") << QStringLiteral("毎日練習しました") << QString();
        QTest::newRow("too short") << QStringLiteral("はい。") << QString();
    }
    void endingKey()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, key);
        const EndingKey found = sentenceTail(sentence).key;
        QCOMPARE(found.key, key);
        if (!key.isEmpty())
            QCOMPARE(sentence.mid(found.start, 3), key);
    }

    // The tables as the notices give them: 2,136 characters; 80, 160, 200, 202, 193 and 191 by grade.
    void tableSizes()
    {
        const int expected[] = {2136, 80, 160, 200, 202, 193, 191};
        for (int grade = 0; grade <= 6; ++grade)
            QCOMPARE(joyoTableSize(grade), expected[grade]);
    }

    void kanji_data()
    {
        QTest::addColumn<uint>("character");
        QTest::addColumn<bool>("kanji");
        QTest::addColumn<int>("grade");
        QTest::newRow("一, first grade") << uint(U'一') << true << 1;
        QTest::newRow("曜, second grade") << uint(U'曜') << true << 2;
        QTest::newRow("岡, fourth grade since 2020") << uint(U'岡') << true << 4;
        QTest::newRow("嵐, in the table but no grade's") << uint(U'嵐') << true << 7;
        QTest::newRow("𠮟, outside the BMP") << uint(U'𠮟') << true << 7;
        QTest::newRow("叱, the form allowed beside it") << uint(U'叱') << true << 7;
        QTest::newRow("綺, outside the table") << uint(U'綺') << true << 0;
        QTest::newRow("𠮷, outside the table and the BMP") << uint(U'𠮷') << true << 0;
        QTest::newRow("々 is a mark") << uint(U'々') << false << 0;
        QTest::newRow("〇 is a numeral") << uint(U'〇') << false << 0;
        QTest::newRow("kana") << uint(U'あ') << false << 0;
    }
    void kanji()
    {
        QFETCH(uint, character);
        QFETCH(bool, kanji);
        QFETCH(int, grade);
        QCOMPARE(isKanji(character), kanji);
        QCOMPARE(joyoGrade(character), grade);
    }
};

QTEST_APPLESS_MAIN(TestSentenceRules)
#include "tst_sentencerules.moc"
