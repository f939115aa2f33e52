#include <QTest>

#include "ClassSamples.h"
#include "Codec.h"
#include "ColumnCopy.h"
#include "CsvExport.h"
#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(ClassBook)
Q_DECLARE_METATYPE(CsvEncoding)

namespace {

// Awkward on purpose: numbers out of order, a pupil without one, commas, quotes, line breaks
// of every kind, characters outside the BMP.
ClassBook awkwardClass()
{
    return classOf({field(QStringLiteral("所見"), 200), field(QStringLiteral("道徳, 特活"), 0)},
                   {pupil(2, QStringLiteral("佐藤 𠮷男"), {QStringLiteral("「はい」と言った。\r\n次の行"), QStringLiteral("a\"b\"")},
                          QStringLiteral("さとう よしお")),
                    pupil(0, QStringLiteral("転入 生"), {QStringLiteral("読めなかった") + QChar(0xFFFD), QStringLiteral("👍🏽")}),
                    pupil(1, QStringLiteral("青木, 花"), {QStringLiteral("一\n二\r三"), QString()})});
}

} // namespace

class TestTextExports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvField_data();
    void csvField();
    void utf8Bytes();
    void cp932Bytes();
    void refusals_data();
    void refusals();
    void files_data();
    void files();
    void csvReplacesALinkNeverItsTarget();
    void columnCopy_data();
    void columnCopy();
};

void TestTextExports::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << QStringLiteral("よく考えた") << QStringLiteral("よく考えた");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("comma") << QStringLiteral("赤,青") << QStringLiteral("\"赤,青\"");
    QTest::newRow("quotes doubled") << QStringLiteral("\"よし\"") << QStringLiteral("\"\"\"よし\"\"\"");
    QTest::newRow("CR LF inside becomes LF") << QStringLiteral("一\r\n二") << QStringLiteral("\"一\n二\"");
    QTest::newRow("lone CR becomes LF") << QStringLiteral("一\r二") << QStringLiteral("\"一\n二\"");
    QTest::newRow("full-width comma and blanks need nothing") << QStringLiteral(" 赤，青 ") << QStringLiteral(" 赤，青 ");
    QTest::newRow("a tab needs nothing") << QStringLiteral("a\tb") << QStringLiteral("a\tb");
    QTest::newRow("formula-like text as written, for the school system") << QStringLiteral("=1+2") << QStringLiteral("=1+2");
}

void TestTextExports::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(::csvField(text), field);
}

void TestTextExports::utf8Bytes()
{
    const CsvBytes csv = csvBytes(awkwardClass(), CsvEncoding::Utf8Bom);
    QVERIFY(csv.refusals.isEmpty());
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + QStringLiteral("出席番号,氏名,ふりがな,所見,\"道徳, 特活\"\r\n"
                         "1,\"青木, 花\",,\"一\n二\n三\",\r\n"
                         "2,佐藤 𠮷男,さとう よしお,\"「はい」と言った。\n次の行\",\"a\"\"b\"\"\"\r\n"
                         ",転入 生,,読めなかった\uFFFD,👍🏽\r\n")
              .toUtf8();
    QCOMPARE(csv.bytes, expected);
}

void TestTextExports::cp932Bytes()
{
    ClassBook book = oneFieldClass({QStringLiteral("①〜髙\r\n\"x\"")});
    book.pupils[0].name = QStringLiteral("髙橋");
    const CsvBytes csv = csvBytes(book, CsvEncoding::Cp932);
    QVERIFY(csv.refusals.isEmpty());
    // Bytes spelled out, not derived from the codec under test: no byte order mark, ① from
    // the NEC row, 〜 as Windows writes ～, 髙 from the IBM rows, CR LF ending each line.
    const QByteArray expected("\x8f\x6f\x90\xc8\x94\xd4\x8d\x86,\x8e\x81\x96\xbc,\x82\xd3\x82\xe8\x82\xaa\x82\xc8,\x8f\x8a\x8c\xa9\r\n"
                              "1,\xfb\xfc\x8b\xb4,,\"\x87\x40\x81\x60\xfb\xfc\n\"\"x\"\"\"\r\n");
    QCOMPARE(csv.bytes, expected);
    QCOMPARE(decodeDataFile(csv.bytes).text, csvText(book).replace(QStringLiteral("〜"), QStringLiteral("～")));
}

void TestTextExports::refusals_data()
{
    QTest::addColumn<ClassBook>("book");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("by pupil in number order, then column, the header first")
        << classOf({field(QStringLiteral("𠮷の記録"), 0), field(QStringLiteral("道徳"), 0)},
                   {pupil(3, QStringLiteral("𠮷田 ゔぃ"), {QStringLiteral("😀と😀"), QStringLiteral("ok")}, QStringLiteral("よしだ")),
                    pupil(1, QStringLiteral("青木"), {QStringLiteral("ok"), QStringLiteral("読めない") + QChar(0xFFFD)},
                          QStringLiteral("ゔ"))})
        << QStringList{QStringLiteral("-1/3 𠮷"), QStringLiteral("1/2 ゔ"), QStringLiteral("1/4 ") + QChar(0xFFFD),
                       QStringLiteral("0/1 𠮷ゔ"), QStringLiteral("0/3 😀")};
    QTest::newRow("what code page 932 holds passes")
        << oneFieldClass({QStringLiteral("①㈱Ⅰ髙〜−‖—¢£¬ｶﾅ")}) << QStringList{};
}

void TestTextExports::refusals()
{
    QFETCH(ClassBook, book);
    QFETCH(QStringList, expected);
    QStringList found;
    for (const Cp932Refusal &refusal : cp932Refusals(book))
        found.append(QStringLiteral("%1/%2 %3").arg(refusal.pupil).arg(refusal.column).arg(refusal.characters));
    QCOMPARE(found, expected);
    const CsvBytes csv = csvBytes(book, CsvEncoding::Cp932);
    QCOMPARE(csv.bytes.isEmpty(), !expected.isEmpty());
    QCOMPARE(csv.refusals.size(), expected.size());
}

void TestTextExports::files_data()
{
    QTest::addColumn<QByteArray>("before"); // the file already there; null for none
    QTest::addColumn<CsvEncoding>("encoding");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("status");
    QTest::newRow("new file") << QByteArray() << CsvEncoding::Utf8Bom << false << int(ExportStatus::Written);
    QTest::newRow("an existing file is not replaced unasked") << QByteArray("old") << CsvEncoding::Utf8Bom << false
                                                              << int(ExportStatus::TargetExists);
    QTest::newRow("replaced when the teacher said so") << QByteArray("old") << CsvEncoding::Utf8Bom << true
                                                       << int(ExportStatus::Written);
    QTest::newRow("refused: nothing written, the old file stays") << QByteArray("old") << CsvEncoding::Cp932 << true
                                                                  << int(ExportStatus::Refused);
    QTest::newRow("refused: no new file") << QByteArray() << CsvEncoding::Cp932 << false << int(ExportStatus::Refused);
}

void TestTextExports::files()
{
    QFETCH(QByteArray, before);
    QFETCH(CsvEncoding, encoding);
    QFETCH(bool, overwrite);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("3年2組.csv"));
    if (!before.isNull())
        writeAll(path, before);
    const ClassBook book = awkwardClass();
    const ExportResult result = exportCsv(path, book, encoding, overwrite);
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.refusals.size(), status == int(ExportStatus::Refused) ? 3 : 0);
    if (result.ok())
        QCOMPARE(readAll(path), csvBytes(book, encoding).bytes);
    else if (!before.isNull())
        QCOMPARE(readAll(path), before);
    // Nothing left beside it.
    QCOMPARE(entries(dir.path()), (result.ok() || !before.isNull()) ? QStringList{QStringLiteral("3年2組.csv")} : QStringList{});

    // A folder that is not there: a reason, no file.
    const ExportResult failed = exportCsv(dir.filePath(QStringLiteral("none/x.csv")), book, CsvEncoding::Utf8Bom, false);
    QCOMPARE(failed.status, ExportStatus::Failed);
    QVERIFY(!failed.error.isEmpty());
}

void TestTextExports::csvReplacesALinkNeverItsTarget()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("大事な表.xlsx"));
    writeAll(target, "not the class");
    const QString path = dir.filePath(QStringLiteral("3年2組.csv"));
    QVERIFY(QFile::link(target, path));
    QVERIFY(exportCsv(path, awkwardClass(), CsvEncoding::Utf8Bom, true).ok());
    QCOMPARE(readAll(target), QByteArray("not the class"));
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(readAll(path), csvBytes(awkwardClass(), CsvEncoding::Utf8Bom).bytes);
}

void TestTextExports::columnCopy_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("copied");
    QTest::newRow("one row per pupil, CR LF after each")
        << QStringList{QStringLiteral("一人目"), QStringLiteral("二人目")} << QStringLiteral("一人目\r\n二人目\r\n");
    QTest::newRow("line breaks inside a cell: quoted, LF")
        << QStringList{QStringLiteral("一行目\r\n二行目"), QStringLiteral("x\ry")} << QStringLiteral("\"一行目\n二行目\"\r\n\"x\ny\"\r\n");
    QTest::newRow("quotes and tabs quoted, quotes doubled")
        << QStringList{QStringLiteral("\"よし\"と言う"), QStringLiteral("a\tb"), QStringLiteral("a,b")}
        << QStringLiteral("\"\"\"よし\"\"と言う\"\r\n\"a\tb\"\r\na,b\r\n");
    QTest::newRow("an empty field keeps its row")
        << QStringList{QString(), QStringLiteral("𠮷")} << QStringLiteral("\r\n𠮷\r\n");
    QTest::newRow("what Excel takes for a formula: a formula giving the text")
        << QStringList{QStringLiteral("=1+2"), QStringLiteral("+合格"), QStringLiteral("-係"), QStringLiteral("@家"), QStringLiteral("a=b")}
        << QStringLiteral("\"=\"\"=1+2\"\"\"\r\n\"=\"\"+合格\"\"\"\r\n\"=\"\"-係\"\"\"\r\n\"=\"\"@家\"\"\"\r\na=b\r\n");
    QTest::newRow("its line breaks and quotes")
        << QStringList{QStringLiteral("-一\r\n\"二\"")}
        << QStringLiteral("\"=\"\"-一\"\"&CHAR(10)&\"\"\"\"\"\"二\"\"\"\"\"\"\"\r\n");
    QTest::newRow("its strings within Excel's 255 characters")
        << QStringList{QStringLiteral("-") + QString(300, u'あ')}
        << QStringLiteral("\"=\"\"-") + QString(254, u'あ') + QStringLiteral("\"\"&\"\"") + QString(46, u'あ')
               + QStringLiteral("\"\"\"\r\n");
}

void TestTextExports::columnCopy()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, copied);
    ClassBook book = oneFieldClass(texts);
    std::reverse(book.pupils.begin(), book.pupils.end()); // the copy goes by 出席番号, not class order
    QCOMPARE(columnCopyText(book, 0), copied);
}

QTEST_GUILESS_MAIN(TestTextExports)
#include "tst_textexports.moc"
