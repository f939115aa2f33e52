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
