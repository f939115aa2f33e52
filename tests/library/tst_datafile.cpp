#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include "Category.h"
#include "DataFile.h"
#include "TestFiles.h"

// Records are written in a compact notation in this file: the four fields joined by '|',
// an unset (null) field as "∅", empty text as nothing between the bars.

namespace {

const QString Unset = QStringLiteral("∅");

QString show(const QString &field) { return field.isNull() ? Unset : field; }

QStringList notation(const QVector<Example> &records)
{
    QStringList lines;
    for (const Example &example : records) {
        QStringList fields;
        for (const QString &field : example.field)
            fields += show(field);
        lines += fields.join(u'|');
    }
    return lines;
}

QVector<Example> examples(const QStringList &lines)
{
    QVector<Example> records;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'|');
        Q_ASSERT(fields.size() == 4);
        Example example;
        for (int f = 0; f < 4; ++f)
            example.field[f] = fields[f] == Unset ? QString() : (fields[f].isEmpty() ? QStringLiteral("") : fields[f]);
        records += example;
    }
    return records;
}

// Category 3 reads every unset place as empty text.
QStringList withoutUnset(QStringList lines)
{
    for (QString &line : lines)
        line.replace(Unset, QString());
    return lines;
}

// Control characters made visible, for failure messages.
QByteArray visible(const QString &text)
{
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("<CR>")).replace(u'\n', QStringLiteral("<LF>"));
    return shown.toUtf8();
}

bool anyFieldHas(const DataFileContent &content, QChar c)
{
    if (content.title.contains(c))
        return true;
    for (const Example &example : content.records)
        for (const QString &field : example.field)
            if (field.contains(c))
                return true;
    return false;
}

QString randomText(QRandomGenerator &random, const QString &alphabet, int maxLength)
{
    QString text;
    const int length = int(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Encoding)

class TestDataFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reader_data();
    void reader();
    void writer_data();
    void writer();
    void cutShortRecordIsSavedPerCategory();
    void roundTrip();
    void starterLibrary_data();
    void starterLibrary();
    void recordsBeyondCapacityComeBackUnchanged_data();
    void recordsBeyondCapacityComeBackUnchanged();
    void randomTextsNeverHang();
    void randomExamplesRoundTrip();
};

void TestDataFile::reader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title"); // "∅" for none
    QTest::addColumn<QStringList>("records"); // as read in categories 1 and 2

    const QString t = QStringLiteral("\"学習について\"\r\n");

    // The plain format.
    QTest::newRow("title and records")
        << t + "\"５教科\",\"全体\",\"ほめたい\",\"理解力あり。\"\r\n\"国語\",\"読む\",\"がんばらせたい\",\"音読を続けましょう。\"\r\n"
        << "学習について"
        << QStringList{"５教科|全体|ほめたい|理解力あり。", "国語|読む|がんばらせたい|音読を続けましょう。"};
    QTest::newRow("title only") << t << "学習について" << QStringList{};
    QTest::newRow("empty file") << "" << Unset << QStringList{};
    QTest::newRow("empty title") << "\"\"\r\n\"a\",\"b\",\"c\",\"d\"\r\n" << "" << QStringList{"a|b|c|d"};
    QTest::newRow("comma inside quotes")
        << t + "\"a,b\",\"c\",\"d\",\"はい, そうです。\"\r\n" << "学習について" << QStringList{"a,b|c|d|はい, そうです。"};
    QTest::newRow("bare fields") << "学習\r\na,b,c,理解力あり。\r\n" << "学習" << QStringList{"a|b|c|理解力あり。"};

    // Fields are counted, not lines.
    QTest::newRow("record spanning lines")
        << t + "\"a\",\"b\"\r\n\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"h\"\r\n" << "学習について" << QStringList{"a|b|c|d", "e|f|g|h"};
    QTest::newRow("five fields shift later records")
        << t + "\"a\",\"b\",\"c\",\"d\",\"x\"\r\n\"e\",\"f\",\"g\",\"h\"\r\n"
        << "学習について" << QStringList{"a|b|c|d", "x|e|f|g", "h|∅|∅|∅"};
    QTest::newRow("title with an unquoted comma")
        << "学習,について\r\n\"a\",\"b\",\"c\",\"d\"\r\n" << "学習" << QStringList{"について|a|b|c", "d|∅|∅|∅"};

    // What the end of the file cuts off still counts.
    QTest::newRow("record cut short") << t + "\"a\",\"b\"" << "学習について" << QStringList{"a|b|∅|∅"};
    QTest::newRow("cut short after a comma") << t + "\"a\"," << "学習について" << QStringList{"a|∅|∅|∅"};
    QTest::newRow("unterminated quote")
        << t + "\"a\",\"b\",\"c\",\"未完の\r\n文" << "学習について" << QStringList{"a|b|c|未完の\n文"};
    QTest::newRow("unterminated quote in a class") << t + "\"a\",\"b" << "学習について" << QStringList{"a|b|∅|∅"};

    // Blanks and empty places.
    QTest::newRow("leading half-width spaces skipped")
        << "  \"学習\"\r\n  \"a\",   \"b\",  c ,\"d\"\r\n" << "学習" << QStringList{"a|b|c |d"};
    QTest::newRow("full-width spaces kept")
        << t + "　\"a\",\"b\",　c　,\"d\"\r\n" << "学習について" << QStringList{"　\"a\"|b|　c　|d"};
    QTest::newRow("spaces only between commas") << t + "\"a\",   ,\"c\",\"d\"\r\n" << "学習について" << QStringList{"a|∅|c|d"};
    QTest::newRow("all unset") << t + ",,,\r\n" << "学習について" << QStringList{"∅|∅|∅|∅"};
    QTest::newRow("all empty text") << t + "\"\",\"\",\"\",\"\"\r\n" << "学習について" << QStringList{"|||"};
    QTest::newRow("unset record between others")
        << t + "\"a\",,,\r\n,,,\r\n\"e\",\"f\",\"g\",\"h\"\r\n" << "学習について"
        << QStringList{"a|∅|∅|∅", "∅|∅|∅|∅", "e|f|g|h"};
    QTest::newRow("unset and empty classes in neighbouring records stay apart")
        << t + "\"a\",,\"\",\"d\"\r\n\"a\",\"\",,\"d\"\r\n" << "学習について" << QStringList{"a|∅||d", "a||∅|d"};
    QTest::newRow("empty line is an empty field")
        << t + "\"a\",\"b\"\r\n\r\n\"d\"\r\n" << "学習について" << QStringList{"a|b|∅|d"};
    QTest::newRow("blank line after the last record")
        << t + "\"a\",\"b\",\"c\",\"d\"\r\n\r\n" << "学習について" << QStringList{"a|b|c|d", "∅|∅|∅|∅"};
    QTest::newRow("empty first line is an empty title")
        << "\r\n\"a\",\"b\",\"c\",\"d\"\r\n" << "" << QStringList{"a|b|c|d"};

    // Line ends of other systems.
    const QString lines = QStringLiteral("\"学習\"#\"a\",\"b\",\"c\",\"d\"#\"e\",\"f\",\"g\",\"h\"#");
    for (const char *end : {"\r\n", "\n", "\r"}) {
        QString text = lines;
        text.replace(u'#', QString::fromLatin1(end));
        QTest::addRow("line ends %s", visible(QString::fromLatin1(end)).constData())
            << text << "学習" << QStringList{"a|b|c|d", "e|f|g|h"};
    }
    QTest::newRow("mixed line ends")
        << "\"学習\"\n\"a\",\"b\"\r\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"h\"" << "学習" << QStringList{"a|b|c|d", "e|f|g|h"};
    QTest::newRow("blank line in lone CR file")
        << "\"学習\"\r\"a\",\"b\",\"c\",\"d\"\r\r" << "学習" << QStringList{"a|b|c|d", "∅|∅|∅|∅"};

    // A line break between quotes belongs to the field, held as "\n".
    QTest::newRow("quoted CR LF") << t + "\"a\",\"b\",\"c\",\"一行目\r\n二行目\"\r\n" << "学習について" << QStringList{"a|b|c|一行目\n二行目"};
    QTest::newRow("quoted LF") << t + "\"a\",\"b\",\"c\",\"一行目\n二行目\"\r\n" << "学習について" << QStringList{"a|b|c|一行目\n二行目"};
    QTest::newRow("quoted CR") << t + "\"a\",\"b\",\"c\",\"一行目\r二行目\"\r\n" << "学習について" << QStringList{"a|b|c|一行目\n二行目"};
    QTest::newRow("quoted blank lines")
        << t + "\"a\",\"b\",\"c\",\"\r\n\r\n\"\r\n" << "学習について" << QStringList{"a|b|c|\n\n"};

    // Characters after a closing quote are kept: a written double quote damages one field only
    // when no comma follows it.
    QTest::newRow("characters after the closing quote")
        << t + "\"ab\"cd,\"e\",\"f\",\"g\"\r\n" << "学習について" << QStringList{"abcd|e|f|g"};
    QTest::newRow("double quote in a sentence")
        << t + "\"a\",\"b\",\"c\",\"先生が\"はい\"と言った。\"\r\n" << "学習について"
        << QStringList{"a|b|c|先生がはい\"と言った。\""};
    QTest::newRow("double quote and comma in a sentence shift records")
        << t + "\"a\",\"b\",\"c\",\"x\"y,z\"\r\n\"e\",\"f\",\"g\",\"h\"\r\n" << "学習について"
        << QStringList{"a|b|c|xy", "z\"|e|f|g", "h|∅|∅|∅"};
}

void TestDataFile::reader()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QStringList, records);

    const DataFileContent unsetKept = parseDataFile(text, true);
    QCOMPARE(show(unsetKept.title), title);
    QCOMPARE(notation(unsetKept.records), records);

    // Category 3 reads the same places as empty text; the title is the same.
    const DataFileContent category3 = parseDataFile(text, false);
    QCOMPARE(show(category3.title), title);
    QCOMPARE(notation(category3.records), withoutUnset(records));
}

void TestDataFile::writer_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("expected");

    const QString t = QStringLiteral("\"学習について\"\r\n");
    QTest::newRow("title alone") << "学習について" << QStringList{} << t;
    QTest::newRow("no title") << QString() << QStringList{} << "\"\"\r\n";
    QTest::newRow("record") << "学習について" << QStringList{"５教科|全体|ほめたい|理解力あり。"}
                            << t + "\"５教科\",\"全体\",\"ほめたい\",\"理解力あり。\"\r\n";
    QTest::newRow("all unset") << "学習について" << QStringList{"∅|∅|∅|∅"} << t + ",,,\r\n";
    QTest::newRow("all empty text") << "学習について" << QStringList{"|||"} << t + "\"\",\"\",\"\",\"\"\r\n";
    QTest::newRow("cut short") << "学習について" << QStringList{"a|∅|∅|∅"} << t + "\"a\",,,\r\n";
    QTest::newRow("unset sentence") << "学習について" << QStringList{"a|b|c|∅"} << t + "\"a\",\"b\",\"c\",\r\n";
    QTest::newRow("line break") << "学習について" << QStringList{"a|b|c|一行目\n二行目\n"}
                                << t + "\"a\",\"b\",\"c\",\"一行目\r\n二行目\r\n\"\r\n";
    QTest::newRow("comma") << "学習について" << QStringList{"a,b|c|d|はい, そうです。"}
                           << t + "\"a,b\",\"c\",\"d\",\"はい, そうです。\"\r\n";
    QTest::newRow("double quote unchanged") << "学習について" << QStringList{"a|b|c|\"はい\"と言った。"}
                                            << t + "\"a\",\"b\",\"c\",\"\"はい\"と言った。\"\r\n";
    QTest::newRow("blanks unchanged") << " 学習 " << QStringList{" a |　b　|c|d "}
                                      << "\" 学習 \"\r\n\" a \",\"　b　\",\"c\",\"d \"\r\n";
    QTest::newRow("records in order") << "t" << QStringList{"1|a|b|c", "∅|∅|∅|∅", "2|a|b|c"}
                                      << "\"t\"\r\n\"1\",\"a\",\"b\",\"c\"\r\n,,,\r\n\"2\",\"a\",\"b\",\"c\"\r\n";
}

void TestDataFile::writer()
{
    QFETCH(QString, title);
    QFETCH(QStringList, records);
    QFETCH(QString, expected);
    QCOMPARE(visible(formatDataFile(title, examples(records))), visible(expected));
}

void TestDataFile::cutShortRecordIsSavedPerCategory()
{
    // A record the end of the file cut short keeps empty places in categories 1 and 2,
    // and is written with "" in category 3, where nothing is unset.
    const QString text = QStringLiteral("\"t\"\r\n\"a\"");
    const DataFileContent unsetKept = parseDataFile(text, true);
    QCOMPARE(formatDataFile(unsetKept.title, unsetKept.records), QStringLiteral("\"t\"\r\n\"a\",,,\r\n"));
    const DataFileContent category3 = parseDataFile(text, false);
    QCOMPARE(formatDataFile(category3.title, category3.records), QStringLiteral("\"t\"\r\n\"a\",\"\",\"\",\"\"\r\n"));
}

void TestDataFile::roundTrip()
{
    const QStringList records{
        "５教科|全体|ほめたい|理解力あり。",
        "a,b|,|,,|はい, そうです。",
        " 前後に空白 |　全角　|c|d ",
        "一行目\n二行目|b|c|\n\n三行目\n",
        "a|∅|∅|∅",
        "∅|b|∅|d",
        "|||",
        "∅|∅|∅|∅",
    };
    const QString written = formatDataFile(QStringLiteral("学習, について"), examples(records));
    const DataFileContent read = parseDataFile(written, true);
    QCOMPARE(read.title, QStringLiteral("学習, について"));
    QCOMPARE(notation(read.records), records);

    // Through the disk encoding too.
    for (Encoding encoding : {Encoding::Cp932, Encoding::Utf8, Encoding::Utf8Bom}) {
        const DecodedText decoded = decodeDataFile(encodeText(written, encoding).bytes);
        QCOMPARE(int(decoded.encoding), int(encoding));
        QCOMPARE(notation(parseDataFile(decoded.text, true).records), records);
    }

    const QStringList category3 = withoutUnset(records);
    QCOMPARE(notation(parseDataFile(formatDataFile(QStringLiteral("t"), examples(category3)), false).records),
             category3);
}

void TestDataFile::starterLibrary_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("emptyMeansUnset");
    QTest::addColumn<QString>("title");
    QTest::newRow("1") << "Kotoban1.txt" << true << "学習について";
    QTest::newRow("2") << "Kotoban2.txt" << true << "道徳、特活、総合、行事";
    QTest::newRow("3") << "Kotoban3.txt" << false << "日常生活について";
}

void TestDataFile::starterLibrary()
{
    QFETCH(QString, fileName);
    QFETCH(bool, emptyMeansUnset);
    QFETCH(QString, title);

    const QByteArray bytes = starterData(fileName);
    QVERIFY(!bytes.isEmpty());
    const DecodedText decoded = decodeDataFile(bytes);
    QCOMPARE(int(decoded.encoding), int(Encoding::Cp932));
    QCOMPARE(decoded.badLines, QList<int>());

    const DataFileContent content = parseDataFile(decoded.text, emptyMeansUnset);
    QCOMPARE(content.title, title);
    QVERIFY2(content.records.size() >= 60, QByteArray::number(content.records.size()).constData());
    QSet<QString> sentences;
    for (const Example &example : content.records) {
        for (const QString &field : example.field) {
            QVERIFY2(!field.isEmpty(), qPrintable(notation({example}).join(QString())));
            QVERIFY2(!field.contains(u'"') && !field.contains(u',') && !field.contains(u'\n'), qPrintable(field));
        }
        QVERIFY2(!sentences.contains(example.sentence()), qPrintable(example.sentence()));
        sentences.insert(example.sentence());
    }

    QVERIFY(encodeLibraryFile(content.title, content.records, decoded.encoding) == bytes);
}

void TestDataFile::recordsBeyondCapacityComeBackUnchanged_data()
{
    QTest::addColumn<Encoding>("encoding");
    QTest::newRow("code page 932") << Encoding::Cp932;
    QTest::newRow("UTF-8 with BOM") << Encoding::Utf8Bom;
}

void TestDataFile::recordsBeyondCapacityComeBackUnchanged()
{
    QFETCH(Encoding, encoding);

    QVector<Example> records;
    for (int i = 1; i <= 312; ++i) {
        Example example;
        example.field = {QStringLiteral("分類%1").arg(i % 7), QStringLiteral("観点%1").arg(i % 3),
                         i % 5 == 0 ? QString() : QStringLiteral("ほめたい"), QStringLiteral("例文その%1。").arg(i)};
        records += example;
    }
    const QByteArray bytes = encodeText(formatDataFile(QStringLiteral("学習について"), records), encoding).bytes;

    const DecodedText decoded = decodeDataFile(bytes);
    QCOMPARE(int(decoded.encoding), int(encoding));
    const DataFileContent content = parseDataFile(decoded.text, true);
    QCOMPARE(int(content.records.size()), 312);

    Category table(categoryRules()[0]);
    table.origin.encoding = encoding;
    table.load(content.title, content.records);
    QCOMPARE(table.count(), EDLimit);
    QCOMPARE(int(table.overflow().size()), 12);
    QCOMPARE(notation({table.record(1)}), notation({records[0]}));
    QCOMPARE(notation({table.record(300)}), notation({records[299]}));
    QCOMPARE(notation(table.overflow()), notation(records.mid(300)));
    QVERIFY(encodeLibraryFile(content.title, table.recordsToSave(), encoding) == bytes);

    // Editing the library leaves the records kept aside where they were: after the last row.
    QVERIFY(table.correct(300, QStringLiteral("訂正した例文。")).ok());
    QVERIFY(!table.add(records[0]).ok()); // full: nothing is added ahead of them
    const DataFileContent saved =
        parseDataFile(decodeDataFile(encodeLibraryFile(content.title, table.recordsToSave(), encoding)).text, true);
    QCOMPARE(int(saved.records.size()), 312);
    QCOMPARE(saved.records[299].sentence(), QStringLiteral("訂正した例文。"));
    QCOMPARE(notation(saved.records.mid(300)), notation(records.mid(300)));
}

void TestDataFile::randomTextsNeverHang()
{
    // Arbitrary hand-edited files: whatever they hold, reading ends, makes progress and
    // gives the same fields in both modes.
    QRandomGenerator random(1932);
    const QString alphabet = QStringLiteral("\",\r\n a\"あ漢　,\r\n");
    for (int round = 0; round < 5000; ++round) {
        const QString text = randomText(random, alphabet, 40);
        const DataFileContent unsetKept = parseDataFile(text, true);
        const DataFileContent category3 = parseDataFile(text, false);

        QVERIFY2(unsetKept.records.size() <= text.size(), visible(text).constData());
        QCOMPARE(unsetKept.title.isNull(), text.isEmpty());
        QCOMPARE(unsetKept.title, category3.title);
        QCOMPARE(unsetKept.records.size(), category3.records.size());
        for (qsizetype r = 0; r < unsetKept.records.size(); ++r) {
            for (int f = 0; f < 4; ++f) {
                const QString &a = unsetKept.records[r].field[f];
                const QString &b = category3.records[r].field[f];
                QVERIFY2(!b.isNull() && a == b, visible(text).constData());
                QVERIFY2(!a.contains(u'\r'), visible(text).constData());
            }
        }

        // Whatever was read without a double quote is written back so that it reads the same.
        if (!anyFieldHas(unsetKept, u'"')) {
            for (const DataFileContent *content : {&unsetKept, &category3}) {
                const bool mode = content == &unsetKept;
                const DataFileContent again = parseDataFile(formatDataFile(content->title, content->records), mode);
                QVERIFY2(again.title == content->title, visible(text).constData());
                QVERIFY2(notation(again.records) == notation(content->records), visible(text).constData());
            }
        }
    }
}

void TestDataFile::randomExamplesRoundTrip()
{
    // Any library the teacher can type (no double quote; the text boxes give line breaks
    // as "\n") is read back exactly as it was written, unset fields included.
    QRandomGenerator random(300);
    const QString alphabet = QStringLiteral(", \na\nあ漢　、");
    for (int round = 0; round < 2000; ++round) {
        const QString title = randomText(random, alphabet, 8) + u't';
        QVector<Example> records(random.bounded(6));
        for (Example &example : records)
            for (QString &field : example.field)
                field = random.bounded(5) == 0 ? QString() : (randomText(random, alphabet, 10) + QStringLiteral(""));
        const QString written = formatDataFile(title, records);

        const DataFileContent read = parseDataFile(decodeDataFile(encodeText(written, Encoding::Cp932).bytes).text, true);
        QVERIFY2(read.title == title, visible(written).constData());
        QVERIFY2(notation(read.records) == notation(records), visible(written).constData());

        const DataFileContent category3 = parseDataFile(written, false);
        QVERIFY2(notation(category3.records) == withoutUnset(notation(records)), visible(written).constData());
    }
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
