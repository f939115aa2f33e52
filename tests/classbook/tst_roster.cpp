#include <QTest>

#include "ClassNotation.h"
#include "Codec.h"
#include "Roster.h"

// Rosters are written with "\t" or "," between cells and "\n" between rows.

namespace {

QString rolesNotation(const RosterTable &table)
{
    QStringList roles;
    for (RosterRole role : table.roles)
        roles.append(rosterRoleCaption(role));
    return roles.join(u',');
}

// Pupils as "number|name|kana|sex".
QStringList pupilsOf(const QList<Pupil> &pupils)
{
    QStringList lines;
    for (const Pupil &pupil : pupils)
        lines.append(QStringLiteral("%1|%2|%3|%4").arg(pupil.number).arg(pupil.name, pupil.kana, pupil.sex));
    return lines;
}

const QString Ignore = QStringLiteral("（使わない）");

} // namespace

class TestRoster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("rows"); // cells joined by '/'
        QTest::newRow("plain CSV, CR LF") << "1,青木\r\n2,井上\r\n" << "," << QStringList{"1/青木", "2/井上"};
        QTest::newRow("quoted separator") << "\"上田, 陸\",男" << "," << QStringList{"上田, 陸/男"};
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << "," << QStringList{"say \"hi\"/x"};
        QTest::newRow("line break inside quotes") << "\"一\r\n二\",x\n3,y" << "," << QStringList{"一\n二/x", "3/y"};
        QTest::newRow("empty cells kept") << "1,,男\n" << "," << QStringList{"1//男"};
        QTest::newRow("empty and blank rows left out") << "\n1\t青木\n\t\n\n2\t井上" << "\t"
                                                        << QStringList{"1/青木", "2/井上"};
        QTest::newRow("lone CR ends a row") << "a\rb" << "," << QStringList{"a", "b"};
        QTest::newRow("quote inside a cell is text") << "5in\"ch,x" << "," << QStringList{"5in\"ch/x"};
        QTest::newRow("unterminated quote keeps the rest") << "\"abc\n,def" << "," << QStringList{"abc\n,def"};
    }
    void splitting()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QStringList, rows);
        QStringList joined;
        for (const QStringList &row : splitDelimited(text, separator[0]))
            joined.append(row.join(u'/'));
        QCOMPARE(joined, rows);
    }

    void roles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasHeader");
        QTest::addColumn<QString>("roles");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("header, spreadsheet copy")
            << "出席番号\t氏名\tふりがな\t性別\n1\t青木 空\tあおき そら\t男\n2\t井上 海\tいのうえ うみ\t女\n" << true
            << "出席番号,氏名,ふりがな,性別" << QStringList{"1|青木 空|あおき そら|男", "2|井上 海|いのうえ うみ|女"}
            << QStringList{};
        QTest::newRow("header names in other words, other order")
            << "名前,性別,No.,よみがな,住所\n青木 空,男,１,あおき,東町\n" << true
            << "氏名,性別,出席番号,ふりがな," + Ignore << QStringList{"1|青木 空|あおき|男"} << QStringList{};
        QTest::newRow("header with blanks and full width")
            << "ＮＯ,氏　名,カナ\n3,上田 陸,ウエダ リク\n" << true << "出席番号,氏名,ふりがな"
            << QStringList{"3|上田 陸|ウエダ リク|"} << QStringList{};
        QTest::newRow("no header: number, name, kana, sex guessed")
            << "1\t青木 空\tあおき そら\t男\n2\t井上 海\tいのうえ うみ\t女" << false << "出席番号,氏名,ふりがな,性別"
            << QStringList{"1|青木 空|あおき そら|男", "2|井上 海|いのうえ うみ|女"} << QStringList{};
        QTest::newRow("no header: names only")
            << "青木 空\n井上 海\n" << false << "氏名" << QStringList{"0|青木 空||", "0|井上 海||"} << QStringList{};
        QTest::newRow("no header: second column not kana")
            << "1,青木 空,東町\n2,井上 海,西町" << false << "出席番号,氏名," + Ignore
            << QStringList{"1|青木 空||", "2|井上 海||"} << QStringList{};
        QTest::newRow("no header: ragged rows")
            << "1,青木 空\n2,井上 海,いのうえ" << false << "出席番号,氏名,ふりがな"
            << QStringList{"1|青木 空||", "2|井上 海|いのうえ|"} << QStringList{};
        QTest::newRow("rows without a name are reported")
            << "番号,氏名\n1,青木 空\n2,\n" << true << "出席番号,氏名" << QStringList{"1|青木 空||"}
            << QStringList{"3行目: 氏名がないので取り込みません。"};
        QTest::newRow("number that is no number is reported")
            << "番号,氏名\n一,青木 空\n" << true << "出席番号,氏名" << QStringList{"0|青木 空||"}
            << QStringList{"2行目: 出席番号が数ではないので、番号なしで取り込みます（青木 空）。"};
        QTest::newRow("header without a name column")
            << "番号,性別\n1,男\n" << true << "出席番号,性別" << QStringList{} << QStringList{"氏名の列がありません。"};
        QTest::newRow("byte order mark in text") << "\uFEFF氏名\n青木 空" << true << "氏名" << QStringList{"0|青木 空||"}
                                                 << QStringList{};
        QTest::newRow("empty") << "" << false << "" << QStringList{} << QStringList{"氏名の列がありません。"};
    }
    void roles()
    {
        QFETCH(QString, text);
        QFETCH(bool, hasHeader);
        QFETCH(QString, roles);
        QFETCH(QStringList, pupils);
        QFETCH(QStringList, problems);
        const RosterTable table = readRoster(text);
        QCOMPARE(table.hasHeader, hasHeader);
        QCOMPARE(rolesNotation(table), roles);
        const RosterPupils read = rosterPupils(table);
        QCOMPARE(pupilsOf(read.pupils), pupils);
        QCOMPARE(read.problems, problems);
    }

    void correctedRolesAreUsed()
    {
        RosterTable table = readRoster(QStringLiteral("1,東町,青木 空\n2,西町,井上 海"));
        table.roles = {RosterRole::Number, RosterRole::Ignore, RosterRole::Name};
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"1|青木 空||", "2|井上 海||"}));
        table.hasHeader = true;
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"2|井上 海||"}));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("番号,氏名,ふりがな\r\n1,髙橋 ①子,たかはし\r\n2,井上 海,いのうえ\r\n");
        QTest::newRow("UTF-8") << text.toUtf8();
        QTest::newRow("UTF-8 with byte order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        const EncodedText cp932 = encodeText(text, Encoding::Cp932);
        QVERIFY(cp932.unencodable.isEmpty());
        QTest::newRow("code page 932") << cp932.bytes;
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        const RosterTable table = readRosterBytes(bytes);
        QVERIFY(table.hasHeader);
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"1|髙橋 ①子|たかはし|", "2|井上 海|いのうえ|"}));
    }

    void merging_data()
    {
        QTest::addColumn<QStringList>("before");   // number|name|sex|texts...
        QTest::addColumn<QStringList>("incoming"); // number|name|sex
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("counts"); // added/updated/unchanged/problems
        const QStringList two = {"1|青木 空|男|空A|空B", "2|井上 海|女|海A|"};
        QTest::newRow("into an empty class") << QStringList{} << QStringList{"2|井上 海|女", "1|青木 空|男"}
                                             << QStringList{"1|青木 空|男||", "2|井上 海|女||"} << "2/0/0/0";
        QTest::newRow("same number updates the name, texts stay")
            << two << QStringList{"1|青木 そら|男"} << QStringList{"1|青木 そら|男|空A|空B", "2|井上 海|女|海A|"}
            << "0/1/0/0";
        QTest::newRow("new numbers are added in order, nobody dropped")
            << two << QStringList{"3|上田 陸|男", "0|転入 生|"}
            << QStringList{"1|青木 空|男|空A|空B", "2|井上 海|女|海A|", "3|上田 陸|男||", "0|転入 生|||"} << "2/0/0/0";
        QTest::newRow("missing sex does not erase the known one")
            << two << QStringList{"2|井上 海|"} << two << "0/0/1/0";
        QTest::newRow("no number matches by name")
            << two << QStringList{"0|井上 海|女"} << two << "0/0/1/0";
        QTest::newRow("second row with the same number is a problem")
            << QStringList{} << QStringList{"1|青木 空|男", "1|井上 海|女"} << QStringList{"1|青木 空|男||"} << "1/0/0/1";
    }
    void merging()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, incoming);
        QFETCH(QStringList, after);
        QFETCH(QString, counts);
        ClassBook book = classFrom(QStringLiteral("所見:200,道徳:100"), before);
        QList<Pupil> pupils;
        for (const QString &line : incoming)
            pupils.append(pupilFrom(line));
        const RosterMerge merge = mergeRoster(book, pupils);
        QCOMPARE(pupilsNotation(book), after);
        QCOMPARE(QStringLiteral("%1/%2/%3/%4").arg(merge.added).arg(merge.updated).arg(merge.unchanged).arg(merge.problems.size()),
                 counts);
    }
};

QTEST_APPLESS_MAIN(TestRoster)
#include "tst_roster.moc"
