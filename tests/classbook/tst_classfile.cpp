#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "ClassFile.h"
#include "ClassNotation.h"

class TestClassFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<int>("naming");
        QTest::newRow("empty class") << "所見:200" << QStringList{} << int(NamingRule::FamilySan);
        QTest::newRow("texts with line breaks, quotes and backslashes")
            << "所見:200,道徳:0" << QStringList{"1|青木 空|男|一行目\n二行目|\"引用\" \\ ,"} << int(NamingRule::GivenSan);
        QTest::newRow("characters outside code page 932")
            << "総合所見:250" << QStringList{"7|𠮷田 彩|女|👍 よくできました。ゔ", "0|Zoë|"} << int(NamingRule::FamilyBySex);
        QTest::newRow("many fields") << "a:1,b:2,c:3,d:10000" << QStringList{"3|x||1|2|3|4"} << int(NamingRule::FamilySan);
    }
    void roundTrip()
    {
        QFETCH(QString, fields);
        QFETCH(QStringList, pupils);
        QFETCH(int, naming);
        ClassBook book = classFrom(fields, pupils);
        for (Pupil &pupil : book.pupils) {
            while (pupil.texts.size() < book.fields.size())
                pupil.texts.append(QString());
        }
        book.naming = NamingRule(naming);
        if (!book.pupils.isEmpty())
            book.pupils.first().kana = QStringLiteral("かな");

        const QByteArray bytes = classFileBytes(book);
        const ClassFileRead read = readClassFile(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.book, book);
        QCOMPARE(classFileBytes(read.book), bytes);
        QVERIFY(bytes.contains("\"format\": \"kotoban-class\""));
    }

    void shortTextListsArePadded()
    {
        const ClassFileRead read = readClassFile(
            R"({"format":"kotoban-class","version":1,"fields":[{"name":"所見","limit":200},{"name":"道徳"}],
                "pupils":[{"number":2,"name":"井上 海"},{"number":1,"name":"青木 空","texts":["空A"]}]})");
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(fieldsNotation(read.book.fields), QStringLiteral("所見:200,道徳:0"));
        QCOMPARE(pupilsNotation(read.book), (QStringList{"1|青木 空||空A|", "2|井上 海|||"}));
    }

    // Version 1 files have no notes; version 2 ones keep them newest first, their kinds listed.
    void notes_data()
    {
        QTest::addColumn<QByteArray>("root");   // keys beside the fields
        QTest::addColumn<QByteArray>("pupil");  // keys beside the pupil's name
        QTest::addColumn<QStringList>("notes"); // "day|kind|text"
        QTest::addColumn<QStringList>("kinds");
        QTest::newRow("a version 1 file: none, the default kinds")
            << QByteArray(R"("version":1)") << QByteArray() << QStringList{} << defaultNoteTags();
        QTest::newRow("newest first, one day's notes in the file's order")
            << QByteArray(R"("version":2,"noteTags":["学習"])")
            << QByteArray(R"(,"notes":[{"date":"2025-01-10","text":"古い"},
                 {"date":"2025-01-20","tag":"学習","text":"朝\n昼"},{"date":"2025-01-10","text":"同じ日"}])")
            << QStringList{"2025-01-20|学習|朝\n昼", "2025-01-10||古い", "2025-01-10||同じ日"} << QStringList{"学習"};
        QTest::newRow("a note's kind missing from the list joins it, doubles and blanks go")
            << QByteArray(R"("version":2,"noteTags":["係"," 係 ",""])")
            << QByteArray(R"(,"notes":[{"date":"2025-03-01","tag":"読書"}])") << QStringList{"2025-03-01|読書|"}
            << QStringList{"係", "読書"};
    }
    void notes()
    {
        QFETCH(QByteArray, root);
        QFETCH(QByteArray, pupil);
        QFETCH(QStringList, notes);
        QFETCH(QStringList, kinds);
        const ClassFileRead read = readClassFile(R"({"format":"kotoban-class",)" + root
                                                 + R"(,"fields":[{"name":"所見"}],"pupils":[{"name":"x")" + pupil + "}]}");
        QVERIFY2(read.ok, qPrintable(read.error));
        QStringList found;
        for (const PupilNote &note : read.book.pupils[0].notes)
            found.append(QStringLiteral("%1|%2|%3").arg(note.date.toString(Qt::ISODate), note.tag, note.text));
        QCOMPARE(found, notes);
        QCOMPARE(read.book.noteTags, kinds);
        // Written as version 2, and read back the same.
        const QByteArray written = classFileBytes(read.book);
        QVERIFY(written.contains("\"version\": 2"));
        QCOMPARE(readClassFile(written).book, read.book);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray head = R"({"format":"kotoban-class","version":1,)";
        QTest::newRow("empty file") << QByteArray() << "こわれています";
        QTest::newRow("cut off") << head + R"("fields":[{"name":"所見")" << "こわれています";
        QTest::newRow("not an object") << QByteArray("[1,2]") << "学級ファイルではありません";
        QTest::newRow("a spreadsheet") << QByteArray("番号,氏名\r\n") << "学級ファイルではありません";
        QTest::newRow("byte order mark is fine, cut off is not") << QByteArray("\xEF\xBB\xBF{\"format\"") << "こわれています";
        QTest::newRow("another format") << QByteArray(R"({"format":"spreadsheet","version":1})")
                                        << "学級ファイルではありません";
        QTest::newRow("newer version") << QByteArray(R"({"format":"kotoban-class","version":3,"fields":[]})")
                                       << "新しい版のことばん（形式 3）";
        QTest::newRow("version missing") << QByteArray(R"({"format":"kotoban-class","fields":[]})") << "形式の版";
        QTest::newRow("no fields") << head + R"("fields":[]})" << "欄がありません";
        QTest::newRow("field without name") << head + R"("fields":[{"limit":3}]})" << "1 番目の欄";
        QTest::newRow("negative limit") << head + R"("fields":[{"name":"a","limit":-5}]})" << "1 番目の欄";
        QTest::newRow("text not a string")
            << head + R"("fields":[{"name":"a"}],"pupils":[{"name":"x","texts":[3]}]})" << "1 人目の文章";
        QTest::newRow("more texts than fields")
            << head + R"("fields":[{"name":"a"}],"pupils":[{"name":"x","texts":["1","2"]}]})" << "文章が欄より多い";
        QTest::newRow("unknown naming rule")
            << head + R"("naming":"nickname","fields":[{"name":"a"}]})" << "名前の呼び方";
        const QByteArray pupil = R"("fields":[{"name":"a"}],"pupils":[{"name":"x","notes":)";
        QTest::newRow("notes not a list") << head + pupil + R"({}}]})" << "1 人目のメモ";
        QTest::newRow("a note without a day") << head + pupil + R"([{"text":"y"}]}]})" << "1 人目のメモ（1 件目）";
        QTest::newRow("a note's day not a day") << head + pupil + R"([{"date":"2025-01-10"},{"date":"1月10日"}]}]})"
                                                << "1 人目のメモ（2 件目）";
        QTest::newRow("kinds not a list of words") << head + R"("noteTags":[1],"fields":[{"name":"a"}]})" << "メモの種類";
        QTest::newRow("fractional number")
            << head + R"("fields":[{"name":"a"}],"pupils":[{"number":1.5,"name":"x"}]})" << "1 人目";
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const ClassFileRead read = readClassFile(bytes);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
    }
};

QTEST_APPLESS_MAIN(TestClassFile)
#include "tst_classfile.moc"
