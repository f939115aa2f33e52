#include <QFile>
#include <QTest>

#include "DataFile.h"
#include "TestFiles.h"

// Hand-edited data files (written by data/make-fixtures.py) come back byte for byte when
// nothing changed, and with only the changed field's bytes different after a correction.

namespace {

QByteArray write(const DataFileContent &content, Encoding encoding)
{
    return encodeDataFile(content.title, content.storedTitle, content.records, encoding);
}

// Where a text is held: record and field, or -1.
QPair<int, int> find(const DataFileContent &content, const QString &text)
{
    for (int r = 0; r < content.records.size(); ++r)
        for (int f = 0; f < 4; ++f)
            if (content.records[r].field[f] == text)
                return {r, f};
    return {-1, -1};
}

} // namespace

class TestPreservation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handEditedFiles_data();
    void handEditedFiles();
    void recordsMoveWithTheirBytes();
    void lineProblems_data();
    void lineProblems();
};

void TestPreservation::handEditedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("corrected"); // the text of the field the teacher corrects
    QTest::addColumn<QByteArray>("lineEnd"); // what a new record's line ends with, in ASCII

    QTest::newRow("UTF-16 LE") << "utf16le" << Encoding::Utf16Le << "音読が上手です。" << QByteArray("\r\n");
    QTest::newRow("UTF-16 BE") << "utf16be" << Encoding::Utf16Be << "音読が上手です。" << QByteArray("\r\n");
    QTest::newRow("UTF-8 with a Shift_JIS line") << "utf8-one-sjis-line" << Encoding::Cp932 << "音読が上手です。"
                                                 << QByteArray("\r\n");
    QTest::newRow("stray bytes") << "stray-bytes" << Encoding::Cp932 << "計算が速い。" << QByteArray("\r\n");
    QTest::newRow("literal U+FFFD") << "literal-fffd" << Encoding::Utf8 << "音読が上手です。" << QByteArray("\r\n");
    QTest::newRow("doubled quotes") << "doubled-quotes" << Encoding::Cp932 << "よく働く。" << QByteArray("\r\n");
    QTest::newRow("three and five fields") << "field-counts" << Encoding::Cp932 << "音読が上手です。"
                                           << QByteArray("\r\n");
    QTest::newRow("LF only") << "lf-only" << Encoding::Cp932 << "音読が上手です。" << QByteArray("\n");
    QTest::newRow("mixed, no last line end") << "mixed-line-ends" << Encoding::Cp932 << "音読が上手です。"
                                             << QByteArray("\r\n");
    QTest::newRow("bare fields, blanks, two-line sentence") << "bare-fields" << Encoding::Cp932 << "音読が上手です。"
                                                            << QByteArray("\r\n");
}

void TestPreservation::handEditedFiles()
{
    QFETCH(QString, name);
    QFETCH(Encoding, encoding);
    QFETCH(QString, corrected);
    QFETCH(QByteArray, lineEnd);

    const QByteArray bytes = testData(name + QStringLiteral(".txt"));
    for (const bool emptyMeansUnset : {true, false}) {
        const LoadedFile loaded = loadDataFile(bytes, emptyMeansUnset);
        QCOMPARE(loaded.encoding, encoding);

        // Nothing changed: the same bytes, whatever the reader made of them.
        QVERIFY(write(loaded.content, encoding) == bytes);

        // One field corrected: only its bytes differ.
        DataFileContent content = loaded.content;
        const QPair<int, int> at = find(content, corrected);
        QVERIFY2(at.first >= 0, qPrintable(corrected));
        content.records[at.first].field[at.second] = QStringLiteral("直した文。");
        QVERIFY(write(content, encoding) == testData(name + QStringLiteral(".corrected.txt")));

        // One record added: the file as it was, then the new record on a line of its own.
        content = loaded.content;
        Example added;
        added.field = {QStringLiteral("行事"), QString(), QStringLiteral("ほめたい"), QStringLiteral("新しい例文。")};
        content.records.append(added);
        const QString addedLine = QStringLiteral("\"行事\",,\"ほめたい\",\"新しい例文。\"") + QString::fromLatin1(lineEnd);
        const bool endsWithLineEnd = bytes.endsWith('\n') || bytes.endsWith(QByteArray("\n\0", 2))
                                     || bytes.endsWith(QByteArray("\0\n", 2));
        const QByteArray expected = bytes + encodeFragment((endsWithLineEnd ? QString() : QString::fromLatin1(lineEnd)) + addedLine, encoding).bytes;
        QVERIFY(write(content, encoding) == expected);

        // Read again, the library is what the teacher left.
        const LoadedFile again = loadDataFile(write(content, encoding), emptyMeansUnset);
        QCOMPARE(again.content.records, content.records);
    }
}

void TestPreservation::recordsMoveWithTheirBytes()
{
    // Deleting a record and changing a class leave every other record's bytes alone, and
    // a field read as unset that becomes empty text is written as "" (the two are told apart).
    const QByteArray start = encodeText(QStringLiteral("\"t\"\r\n \"a\" , b,,\"x\"\r\n\"c\",\"d\",\"e\",\"y\"\r\n"
                                                       "f,g,h,z\r\n"),
                                        Encoding::Cp932)
                                 .bytes;
    DataFileContent content = loadDataFile(start, true).content;
    QCOMPARE(content.records.size(), 3);
    QVERIFY(content.records[0].field[2].isNull());

    content.records.removeAt(1);
    QVERIFY(encodeDataFile(content.title, content.storedTitle, content.records, Encoding::Cp932)
            == QByteArray("\"t\"\r\n \"a\" , b,,\"x\"\r\nf,g,h,z\r\n"));

    content.records[0].field[2] = QStringLiteral("");
    content.records[1].field[0] = QStringLiteral("F");
    QVERIFY(encodeDataFile(content.title, content.storedTitle, content.records, Encoding::Cp932)
            == QByteArray("\"t\"\r\n \"a\" , b,\"\",\"x\"\r\n\"F\",g,h,z\r\n"));

    // A line ended by a lone CR stays apart from an empty field ended by LF that a delete
    // brings next to it.
    const QByteArray crThenLf("\"t\"\r\n\"a\",\"b\",\"c\",\"d\"\r\"x\",\"y\",\"z\",\"w\",\n\"e\",\"f\",\"g\"\r\n");
    DataFileContent crContent = loadDataFile(crThenLf, true).content;
    QCOMPARE(crContent.records.size(), 3);
    crContent.records.removeAt(1);
    const QByteArray written = encodeDataFile(crContent.title, crContent.storedTitle, crContent.records, Encoding::Cp932);
    QVERIFY(written == QByteArray("\"t\"\r\n\"a\",\"b\",\"c\",\"d\"\r\n\n\"e\",\"f\",\"g\"\r\n"));
    QCOMPARE(loadDataFile(written, true).content.records, crContent.records);

    // A new title is written anew, on the title's own line.
    QVERIFY(encodeDataFile(QStringLiteral("T"), content.storedTitle, {}, Encoding::Cp932) == QByteArray("\"T\"\r\n"));
}

void TestPreservation::lineProblems_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("fieldCountLines");
    QTest::addColumn<int>("unclosedQuoteLine");

    QTest::newRow("well formed") << "\"t\"\r\n\"a\",\"b\",\"c\",\"d\"\r\n" << QList<int>{} << 0;
    QTest::newRow("three, then five") << "\"t\"\r\n\"a\",\"b\",\"c\"\r\n\"a\",\"b\",\"c\",\"d\",\"e\"\r\n"
                                      << QList<int>{2, 3} << 0;
    QTest::newRow("blank line") << "\"t\"\r\n\r\n\"a\",\"b\",\"c\",\"d\"\r\n" << QList<int>{2} << 0;
    QTest::newRow("blank lines at the end: only the last is harmless")
        << "\"t\"\r\n\"a\",\"b\",\"c\",\"d\"\r\n\r\n\r\n" << QList<int>{3} << 0;
    QTest::newRow("title of two fields") << "\"t\",\"u\"\n\"a\",\"b\",\"c\",\"d\"\n" << QList<int>{1} << 0;
    QTest::newRow("two-line sentence counts as one line") << "\"t\"\r\n\"a\",\"b\",\"c\",\"x\r\ny\"\r\n\"a\",\"b\"\r\n"
                                                          << QList<int>{4} << 0;
    QTest::newRow("CR line ends") << "\"t\"\r\"a\",\"b\",\"c\",\"d\"\r\"a\"\r" << QList<int>{3} << 0;
    QTest::newRow("cut off at the end") << "\"t\"\r\n\"a\",\"b\"" << QList<int>{2} << 0;
    QTest::newRow("unclosed quote") << "\"t\"\r\n\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"h\r\n"
                                    << QList<int>{} << 3;
    QTest::newRow("empty") << "" << QList<int>{} << 0;
}

void TestPreservation::lineProblems()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, fieldCountLines);
    QFETCH(int, unclosedQuoteLine);

    const LoadedFile loaded = loadDataFile(encodeText(text, Encoding::Cp932).bytes, true);
    QCOMPARE(loaded.content.fieldCountLines, fieldCountLines);
    QCOMPARE(loaded.content.unclosedQuoteLine, unclosedQuoteLine);
}

QTEST_GUILESS_MAIN(TestPreservation)
#include "tst_preservation.moc"
