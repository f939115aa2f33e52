#include <QSet>
#include <QTest>

#include "Naming.h"

class TestNaming : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void callNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("calledAs");
        QTest::addColumn<QString>("familySan");
        QTest::addColumn<QString>("givenSan");
        QTest::addColumn<QString>("bySex");
        QTest::addColumn<QString>("addressedBySex"); // the window's header and questions
        QTest::newRow("half-width blank")
            << "山田 太郎" << "男" << "" << "山田さん" << "太郎さん" << "山田くん" << "山田 太郎くん";
        QTest::newRow("full-width blank")
            << "佐藤　花子" << "女" << "" << "佐藤さん" << "花子さん" << "佐藤さん" << "佐藤　花子さん";
        QTest::newRow("first blank splits")
            << "森 由美 子" << "" << "" << "森さん" << "由美 子さん" << "森さん" << "森 由美 子さん";
        QTest::newRow("blanks around") << "　大野 翼 " << "男子" << "" << "大野さん" << "翼さん" << "大野くん" << "大野 翼くん";
        QTest::newRow("no blank: used whole")
            << "ジョン" << "男" << "" << "ジョンさん" << "ジョンさん" << "ジョンくん" << "ジョンくん";
        QTest::newRow("sex written otherwise is さん")
            << "木村 光" << "M" << "" << "木村さん" << "光さん" << "木村さん" << "木村 光さん";
        QTest::newRow("outside code page 932")
            << "𠮷田 彩" << "女" << "" << "𠮷田さん" << "彩さん" << "𠮷田さん" << "𠮷田 彩さん";
        QTest::newRow("呼び名 comes before every rule")
            << "渡辺優斗" << "男" << "ゆうとさん" << "ゆうとさん" << "ゆうとさん" << "ゆうとさん" << "渡辺優斗くん";
    }
    void callNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, sex);
        QFETCH(QString, calledAs);
        QFETCH(QString, familySan);
        QFETCH(QString, givenSan);
        QFETCH(QString, bySex);
        Pupil pupil;
        pupil.name = name;
        pupil.sex = sex;
        pupil.calledAs = calledAs;
        QCOMPARE(callName(pupil, NamingRule::FamilySan), familySan);
        QCOMPARE(callName(pupil, NamingRule::GivenSan), givenSan);
        QCOMPARE(callName(pupil, NamingRule::FamilyBySex), bySex);
        QTEST(addressedName(pupil, NamingRule::FamilyBySex), "addressedBySex");
        QCOMPARE(addressedName(pupil, NamingRule::FamilySan), name.trimmed() + QStringLiteral("さん"));
    }

    void placeholders_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("filled");
        QTest::newRow("kanji zero pair") << "〇〇は、よく本を読みます。" << "山田さんは、よく本を読みます。";
        QTest::newRow("white circle pair") << "○○の発表は立派でした。" << "山田さんの発表は立派でした。";
        QTest::newRow("two placeholders") << "〇〇は優しく、○○の周りには" << "山田さんは優しく、山田さんの周りには";
        QTest::newRow("honorific already written") << "〇〇さんは、〇〇くんと" << "山田さんは、山田さんと";
        QTest::newRow("placeholder at the end") << "がんばったね、〇〇" << "がんばったね、山田さん";
        QTest::newRow("no placeholder") << "毎日元気にあいさつできました。" << "毎日元気にあいさつできました。";
        QTest::newRow("a single circle stays") << "〇をつけました。" << "〇をつけました。";
        QTest::newRow("three circles stay") << "〇〇〇の中から" << "〇〇〇の中から";
        QTest::newRow("kanji year stays") << "二〇〇〇年" << "二〇〇〇年";
        QTest::newRow("kanji number after stays") << "〇〇一番" << "〇〇一番";
        QTest::newRow("mixed circles are not a pair") << "〇○です" << "〇○です";
        QTest::newRow("line breaks kept") << "〇〇は\n毎日" << "山田さんは\n毎日";
    }
    void placeholders()
    {
        QFETCH(QString, text);
        QFETCH(QString, filled);
        QCOMPARE(fillPlaceholders(text, QStringLiteral("山田さん")), filled);
        QCOMPARE(hasPlaceholder(text), filled != text);
    }

    void ruleKeysRoundTrip()
    {
        QSet<QString> captions;
        for (NamingRule rule : namingRules()) {
            NamingRule back = NamingRule::FamilySan;
            QVERIFY(namingRuleFromKey(namingRuleKey(rule), &back));
            QCOMPARE(back, rule);
            captions.insert(namingRuleCaption(rule));
        }
        QCOMPARE(captions.size(), 3);
        NamingRule untouched = NamingRule::GivenSan;
        QVERIFY(!namingRuleFromKey(QStringLiteral("nickname"), &untouched));
        QCOMPARE(untouched, NamingRule::GivenSan);
    }

    void namesForFilesAndSheets_data()
    {
        QTest::addColumn<int>("use");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("made");
        const int file = int(NameFor::File), sheet = int(NameFor::Sheet);
        QTest::newRow("sheet: as it is") << sheet << QStringLiteral("3年2組 2学期") << QStringLiteral("3年2組 2学期");
        QTest::newRow("sheet: forbidden characters in full width")
            << sheet << QStringLiteral("3/2組[前期]:*?\\") << QStringLiteral("3／2組［前期］：＊？＼");
        QTest::newRow("sheet: apostrophes at the ends go") << sheet << QStringLiteral("'R6' 3組'") << QStringLiteral("R6' 3組");
        QTest::newRow("sheet: control characters and line breaks become blanks")
            << sheet << QStringLiteral("3年\n2組\t") << QStringLiteral("3年 2組");
        QTest::newRow("sheet: 31 characters at most") << sheet << QString(40, u'組') << QString(31, u'組');
        QTest::newRow("sheet: a pair is not cut in half") << sheet << QString(30, u'組') + QStringLiteral("𠮷") << QString(30, u'組');
        QTest::newRow("sheet: empty") << sheet << QStringLiteral(" '' ") << QStringLiteral("所見");
        QTest::newRow("sheet: reserved name") << sheet << QStringLiteral("history") << QStringLiteral("history（所見）");
        QTest::newRow("file: as it is") << file << QStringLiteral("3年2組 2学期") << QStringLiteral("3年2組 2学期");
        QTest::newRow("file: forbidden characters in full width")
            << file << QStringLiteral("3/2組:\"前\"<後>|*?\\") << QStringLiteral("3／2組：”前”＜後＞｜＊？＼");
        QTest::newRow("file: brackets and apostrophes stay") << file << QStringLiteral("'R6' [3組]") << QStringLiteral("'R6' [3組]");
        QTest::newRow("file: line break in the middle, blanks at the ends")
            << file << QStringLiteral(" 3年\r\n2組\u2028 ") << QStringLiteral("3年  2組");
        QTest::newRow("file: long names are kept") << file << QString(40, u'組') << QString(40, u'組');
        QTest::newRow("file: never hidden") << file << QStringLiteral(".3組") << QStringLiteral("学級の所見.3組");
        QTest::newRow("file: never empty") << file << QStringLiteral("\t ") << QStringLiteral("学級の所見");
    }
    void namesForFilesAndSheets()
    {
        QFETCH(int, use);
        QFETCH(QString, name);
        QFETCH(QString, made);
        QCOMPARE(nameFor(NameFor(use), name), made);
    }
};


QTEST_APPLESS_MAIN(TestNaming)
#include "tst_naming.moc"
