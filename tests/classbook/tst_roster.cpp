#include <QTest>

#include "ClassNotation.h"
#include "Codec.h"
#include "Roster.h"
#include "RosterMatch.h"

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

// "number|name/kana|sex|texts...": the class notation with an optional ふりがな after a slash.
Pupil pupilWithKana(const QString &notation)
{
    Pupil pupil = pupilFrom(notation);
    const qsizetype slash = pupil.name.indexOf(u'/');
    if (slash >= 0) {
        pupil.kana = pupil.name.mid(slash + 1);
        pupil.name.truncate(slash);
    }
    return pupil;
}

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
        QTest::addColumn<int>("headerRow");
        QTest::addColumn<QString>("roles");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("header, spreadsheet copy")
            << "出席番号\t氏名\tふりがな\t性別\n1\t青木 空\tあおき そら\t男\n2\t井上 海\tいのうえ うみ\t女\n" << 0
            << "出席番号,氏名,ふりがな,性別" << QStringList{"1|青木 空|あおき そら|男", "2|井上 海|いのうえ うみ|女"}
            << QStringList{};
        QTest::newRow("header names in other words, other order")
            << "名前,性別,No.,よみがな,住所\n青木 空,男,１,あおき,東町\n" << 0
            << "氏名,性別,出席番号,ふりがな," + Ignore << QStringList{"1|青木 空|あおき|男"} << QStringList{};
        QTest::newRow("header with blanks and full width")
            << "ＮＯ,氏　名,カナ\n3,上田 陸,ウエダ リク\n" << 0 << "出席番号,氏名,ふりがな"
            << QStringList{"3|上田 陸|ウエダ リク|"} << QStringList{};
        QTest::newRow("no header: number, name, kana, sex guessed")
            << "1\t青木 空\tあおき そら\t男\n2\t井上 海\tいのうえ うみ\t女" << -1 << "出席番号,氏名,ふりがな,性別"
            << QStringList{"1|青木 空|あおき そら|男", "2|井上 海|いのうえ うみ|女"} << QStringList{};
        QTest::newRow("no header: names only")
            << "青木 空\n井上 海\n" << -1 << "氏名" << QStringList{"0|青木 空||", "0|井上 海||"} << QStringList{};
        QTest::newRow("no header: second column not kana")
            << "1,青木 空,東町\n2,井上 海,西町" << -1 << "出席番号,氏名," + Ignore
            << QStringList{"1|青木 空||", "2|井上 海||"} << QStringList{};
        QTest::newRow("no header: ragged rows")
            << "1,青木 空\n2,井上 海,いのうえ" << -1 << "出席番号,氏名,ふりがな"
            << QStringList{"1|青木 空||", "2|井上 海|いのうえ|"} << QStringList{};
        QTest::newRow("rows without a name are reported")
            << "番号,氏名\n1,青木 空\n2,\n" << 0 << "出席番号,氏名" << QStringList{"1|青木 空||"}
            << QStringList{"3行目: 氏名がないので取り込みません。"};
        QTest::newRow("number that is no number is reported")
            << "番号,氏名\n一,青木 空\n" << 0 << "出席番号,氏名" << QStringList{"0|青木 空||"}
            << QStringList{"2行目: 出席番号が数ではないので、番号なしで取り込みます（青木 空）。"};
        QTest::newRow("header without a name column")
            << "番号,性別\n1,男\n" << 0 << "出席番号,性別" << QStringList{} << QStringList{"氏名の列がありません。"};
        QTest::newRow("byte order mark in text") << "\uFEFF氏名\n青木 空" << 0 << "氏名" << QStringList{"0|青木 空||"}
                                                 << QStringList{};
        QTest::newRow("empty") << "" << -1 << "" << QStringList{} << QStringList{"氏名の列がありません。"};
        QTest::newRow("title rows above the header")
            << "令和6年度　3年2組　名簿\n\n作成 4月1日,担任 森\n番号,氏名\n1,青木 空\n" << 2 << "出席番号,氏名"
            << QStringList{"1|青木 空||"} << QStringList{};
        QTest::newRow("a title line without tabs above cells copied from a spreadsheet")
            << "令和6年度　4年1組　名簿\r\n\r\n番号\t氏名\r\n1\t青木, 空\r\n" << 1 << "出席番号,氏名"
            << QStringList{"1|青木, 空||"} << QStringList{};
        QTest::newRow("姓 and 名 in columns of their own, joined with a full-width blank")
            << "番号\t姓\t名\tふりがな（姓）\tメイ\n1\t青木\t空\tあおき\tそら\n2\t井上\t\tいのうえ\t\n" << 0
            << "出席番号,姓,名,ふりがな（姓）,ふりがな（名）" << QStringList{"1|青木　空|あおき　そら|", "2|井上|いのうえ|"}
            << QStringList{};
        QTest::newRow("性別 as 1 and 2") << "番号,氏名,性別\n1,青木 空,1\n2,井上 海,２\n3,上田 陸,不明\n" << 0
                                     << "出席番号,氏名,性別"
                                     << QStringList{"1|青木 空||男", "2|井上 海||女", "3|上田 陸||不明"} << QStringList{};
        QTest::newRow("性別 as M and F, guessed without a header") << "青木 空,M\n井上 海,f\n" << -1 << "氏名,性別"
                                                                 << QStringList{"0|青木 空||男", "0|井上 海||女"}
                                                                 << QStringList{};
        QTest::newRow("names and kana kept as typed, only their ends trimmed")
            << "氏名,ふりがな\n 青木　空 ,あおき　 そら\n井上  海,いのうえ うみ\n" << 0 << "氏名,ふりがな"
            << QStringList{"0|青木　空|あおき　 そら|", "0|井上  海|いのうえ うみ|"} << QStringList{};
        QTest::newRow("a header repeated further down is no pupil")
            << "番号,氏名\n1,青木 空\n番号,氏名\n2,井上 海\n" << 0 << "出席番号,氏名"
            << QStringList{"1|青木 空||", "2|井上 海||"} << QStringList{};
    }
    void roles()
    {
        QFETCH(QString, text);
        QFETCH(int, headerRow);
        QFETCH(QString, roles);
        QFETCH(QStringList, pupils);
        QFETCH(QStringList, problems);
        const RosterTable table = readRoster(text);
        QCOMPARE(table.headerRow, headerRow);
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
        table.headerRow = 0;
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"2|井上 海||"}));
    }

    void sexCodesCanBeReadTheOtherWay()
    {
        RosterTable table = readRoster(QStringLiteral("氏名,性別\n青木 空,1\n井上 海,2\n上田 陸,M\n"));
        QVERIFY(hasSexCodes(table));
        table.sexCodes = SexCodes::OneIsGirl;
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"0|青木 空||女", "0|井上 海||男", "0|上田 陸||男"}));
        QVERIFY(!hasSexCodes(readRoster(QStringLiteral("氏名,性別\n青木 空,男\n"))));
    }

    // A line that cannot be read, or rows run together by a quote left open, are named with
    // their lines and left out; the rows around them come in whole.
    void brokenRowsAreLeftOut_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<QStringList>("problems");
        const QString unreadable = QStringLiteral("読めない文字があるので取り込みません（文字コードが違うか、"
                                                  "ファイルがこわれています）。名簿を直してから取り込んでください。");
        const QString open = QStringLiteral("引用符（\"）が閉じていないので、行がひとつにつながっています。"
                                            "名簿を直してから取り込んでください。");
        QTest::newRow("stray byte in UTF-8")
            << QByteArray("番号,氏名,ふりがな\r\n1,青木 空,あおき そら\r\n2,井上 ハ\xFFナ,いのうえ はな\r\n3,上田 陸,うえだ りく\r\n")
            << QStringList{"1|青木 空|あおき そら|", "3|上田 陸|うえだ りく|"} << QStringList{"3行目: " + unreadable};
        QByteArray cp932 = encodeText(QStringLiteral("番号,氏名\r\n1,青木 空\r\n2,井上 ハナ\r\n"), Encoding::Cp932).bytes;
        cp932.insert(cp932.indexOf("\r\n2,") + 6, '\xFF');
        QTest::newRow("stray byte in code page 932") << cp932 << QStringList{"1|青木 空||"} << QStringList{"3行目: " + unreadable};
        QTest::newRow("quote left open to the end")
            << QByteArray("番号,氏名\n1,\"青木 空\n2,井上 海\n3,上田 陸\n") << QStringList{}
            << QStringList{"2〜4行目: " + open};
        QTest::newRow("stray quotes join the rows between them")
            << QByteArray("番号,氏名\n1,\"青木 空\n2,井上 海\"\n3,上田 陸\n") << QStringList{"3|上田 陸||"}
            << QStringList{"2〜3行目: " + open};
    }
    void brokenRowsAreLeftOut()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, pupils);
        QFETCH(QStringList, problems);
        const RosterPupils read = rosterPupils(readRosterBytes(bytes));
        QCOMPARE(pupilsOf(read.pupils), pupils);
        QCOMPARE(read.problems, problems);
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
        QCOMPARE(table.headerRow, 0);
        QCOMPARE(pupilsOf(rosterPupils(table).pupils), (QStringList{"1|髙橋 ①子|たかはし|", "2|井上 海|いのうえ|"}));
    }

    // Each row: a class (number|name/kana|sex|text), a roster (number|name/kana|sex), and
    // the class after the merge with the plan's own proposals. changes: one letter per
    // roster row (+ new, = unchanged, U updated, R renumbered, M renamed; ? when the
    // teacher is asked); missing: the class pupils no row is.
    void matching_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("roster");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QStringList>("missing");
        const QStringList five = {"1|青木 空|男|空の文", "2|井上 海|女|海の文", "3|上田 陸|男|陸の文",
                                  "4|江藤 晴|女|晴の文", "5|小川 森|男|森の文"};
        QTest::newRow("newcomer at 3: everyone after moves down one, texts follow")
            << five << QStringList{"1|青木 空|男", "2|井上 海|女", "3|加藤 光|女", "4|上田 陸|男", "5|江藤 晴|女", "6|小川 森|男"}
            << QStringList{"1|青木 空|男|空の文", "2|井上 海|女|海の文", "3|加藤 光|女|", "4|上田 陸|男|陸の文",
                           "5|江藤 晴|女|晴の文", "6|小川 森|男|森の文"}
            << "==+RRR" << QStringList{};
        QTest::newRow("renumbered by several")
            << five << QStringList{"1|新井 光|", "2|石田 優|", "3|青木 空|", "4|井上 海|", "5|上田 陸|", "6|江藤 晴|", "7|小川 森|"}
            << QStringList{"1|新井 光||", "2|石田 優||", "3|青木 空|男|空の文", "4|井上 海|女|海の文", "5|上田 陸|男|陸の文",
                           "6|江藤 晴|女|晴の文", "7|小川 森|男|森の文"}
            << "++RRRRR" << QStringList{};
        QTest::newRow("a pupil leaves: kept, without the number the roster gave another")
            << five << QStringList{"1|青木 空|", "2|上田 陸|", "3|江藤 晴|", "4|小川 森|"}
            << QStringList{"1|青木 空|男|空の文", "2|上田 陸|男|陸の文", "3|江藤 晴|女|晴の文", "4|小川 森|男|森の文",
                           "0|井上 海|女|海の文"}
            << "=RRR" << QStringList{"2番 井上 海"};
        QTest::newRow("a renamed child is asked about, a new child until answered")
            << five << QStringList{"1|青木 空|", "2|井上 海|", "3|上田 陸|", "4|藤田 晴|女", "5|小川 森|"}
            << QStringList{"1|青木 空|男|空の文", "2|井上 海|女|海の文", "3|上田 陸|男|陸の文", "4|藤田 晴|女|",
                           "5|小川 森|男|森の文", "0|江藤 晴|女|晴の文"}
            << "===+?=" << QStringList{"4番 江藤 晴"};
        QTest::newRow("a number whose pupil is still in the roster is no rename")
            << QStringList{"1|青木 空|男|空の文", "2|井上 海|女|海の文"} << QStringList{"1|加藤 光|", "2|青木 空|", "3|井上 海|"}
            << QStringList{"1|加藤 光||", "2|青木 空|男|空の文", "3|井上 海|女|海の文"} << "+RR" << QStringList{};
        QTest::newRow("two of one name who kept their numbers")
            << QStringList{"1|佐藤 翔|男|一人目", "2|佐藤 翔|男|二人目"} << QStringList{"2|佐藤 翔|", "1|佐藤 翔|"}
            << QStringList{"1|佐藤 翔|男|一人目", "2|佐藤 翔|男|二人目"} << "==" << QStringList{};
        QTest::newRow("two of one name moved: asked, proposed in their order")
            << QStringList{"2|佐藤 翔|男|一人目", "3|佐藤 翔|男|二人目"} << QStringList{"1|青木 空|", "3|佐藤 翔|", "4|佐藤 翔|"}
            << QStringList{"1|青木 空||", "3|佐藤 翔|男|一人目", "4|佐藤 翔|男|二人目"} << "+R?R?" << QStringList{};
        QTest::newRow("two of one name told apart by ふりがな")
            << QStringList{"1|佐藤 翔/さとう しょう|男|しょうの文", "2|佐藤 翔/さとう かける|男|かけるの文"}
            << QStringList{"1|佐藤 翔/さとう かける|", "2|佐藤 翔/さとう しょう|"}
            << QStringList{"1|佐藤 翔|男|かけるの文", "2|佐藤 翔|男|しょうの文"} << "RR" << QStringList{};
        QTest::newRow("blanks of every kind match; the roster's way of writing is taken")
            << QStringList{"1|青木 空|男|空の文", "2|井上　海|女|海の文", "3|上田陸|男|陸の文"}
            << QStringList{"1|青木　空|", "2|井上 \u3000 海|", "3|上田陸|"}
            << QStringList{"1|青木　空|男|空の文", "2|井上 \u3000 海|女|海の文", "3|上田陸|男|陸の文"} << "UU=" << QStringList{};
        QTest::newRow("other differences are not folded")
            << QStringList{"1|ＡＩ 空|男|空の文"} << QStringList{"1|AI 空|"} << QStringList{"1|AI 空||", "0|ＡＩ 空|男|空の文"}
            << "+?" << QStringList{"1番 ＡＩ 空"};
        QTest::newRow("same name, other ふりがな: asked, a new child until answered")
            << QStringList{"1|青木 空/あおき そら|男|空の文"} << QStringList{"1|青木 空/あおき くう|"}
            << QStringList{"1|青木 空||", "0|青木 空|男|空の文"} << "+?" << QStringList{"1番 青木 空"};
        QTest::newRow("a roster without numbers matches by name and keeps the numbers")
            << five << QStringList{"0|小川 森|", "0|青木 空|", "0|江藤 晴|", "0|上田 陸|", "0|井上 海|"} << five
            << "=====" << QStringList{};
        // The rows the merge had before names decided who is who.
        const QStringList two = {"1|青木 空|男|空A", "2|井上 海|女|海A"};
        QTest::newRow("into an empty class") << QStringList{} << QStringList{"2|井上 海|女", "1|青木 空|男"}
                                             << QStringList{"1|青木 空|男|", "2|井上 海|女|"} << "++" << QStringList{};
        QTest::newRow("same number, another name: the texts stay with their child")
            << two << QStringList{"1|青木 そら|男"} << QStringList{"1|青木 そら|男|", "2|井上 海|女|海A", "0|青木 空|男|空A"}
            << "+?" << QStringList{"1番 青木 空", "2番 井上 海"};
        QTest::newRow("new numbers are added in order, nobody dropped")
            << two << QStringList{"3|上田 陸|男", "0|転入 生|"}
            << QStringList{"1|青木 空|男|空A", "2|井上 海|女|海A", "3|上田 陸|男|", "0|転入 生||"} << "++"
            << QStringList{"1番 青木 空", "2番 井上 海"};
        QTest::newRow("missing sex does not erase the known one")
            << two << QStringList{"2|井上 海|"} << two << "=" << QStringList{"1番 青木 空"};
        QTest::newRow("second row with the same number is left out")
            << QStringList{} << QStringList{"1|青木 空|男", "1|井上 海|女"} << QStringList{"1|青木 空|男|"} << "+"
            << QStringList{};
    }
    void matching()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, roster);
        QFETCH(QStringList, after);
        QFETCH(QString, changes);
        QFETCH(QStringList, missing);
        ClassBook book = classFrom(QStringLiteral("所見:200"), {});
        for (const QString &line : before)
            book.pupils.append(pupilWithKana(line));
        QList<Pupil> pupils;
        for (const QString &line : roster)
            pupils.append(pupilWithKana(line));
        const RosterPlan plan = planRoster(book, pupils);
        QString planned;
        for (int row = 0; row < plan.rows.size(); ++row)
            planned += QString(u"+=URM"[int(rowChange(plan, row))]) + (plan.rows[row].asked() ? "?" : "");
        QCOMPARE(planned, changes);
        const RosterMerge merge = applyRosterPlan(book, plan);
        QVERIFY2(merge.ok, qPrintable(merge.reason));
        QCOMPARE(pupilsNotation(book), after);
        QCOMPARE(merge.missing, missing);
    }

    // The teacher's answers in the preview: the renamed child keeps the texts, and one class
    // pupil cannot be given to two rows.
    void answers()
    {
        ClassBook book = classFrom(QStringLiteral("所見:200"), {"3|佐藤 翔|男|一人目", "4|佐藤 翔|男|二人目", "6|江藤 晴|女|晴の文"});
        const QList<Pupil> roster = {pupilWithKana("4|佐藤 翔|"), pupilWithKana("5|佐藤 翔|"), pupilWithKana("6|藤田 晴|女")};
        RosterPlan plan = planRoster(book, roster);
        QCOMPARE(rosterChoices(plan.rows[2]), (QList<int>{2, -1}));
        QCOMPARE(rosterChoiceCaption(plan, 2, 2), QStringLiteral("同じ子（名前を変える）　6番：江藤 晴 → 藤田 晴"));
        plan.rows[2].pupil = 2;
        plan.rows[1].pupil = 0;
        QVERIFY(choiceProblem(plan).contains(QStringLiteral("3番 佐藤 翔")));
        const ClassBook untouched = book;
        QVERIFY(!applyRosterPlan(book, plan).ok);
        QCOMPARE(book, untouched);
        plan.rows[0].pupil = 1;
        const RosterMerge merge = applyRosterPlan(book, plan);
        QVERIFY2(merge.ok, qPrintable(merge.reason));
        QCOMPARE(pupilsNotation(book), (QStringList{"4|佐藤 翔|男|二人目", "5|佐藤 翔|男|一人目", "6|藤田 晴|女|晴の文"}));
        QCOMPARE(merge.renamed, QStringList{"6番：江藤 晴 → 藤田 晴"});
        QCOMPARE(merge.renumbered, QStringList{"佐藤 翔（3→5番）"});
    }
};

QTEST_APPLESS_MAIN(TestRoster)
#include "tst_roster.moc"
