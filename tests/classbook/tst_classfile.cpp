#include <QJsonArray>
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
        if (!book.pupils.isEmpty()) {
            book.pupils.first().kana = QStringLiteral("かな");
            book.pupils.first().calledAs = QStringLiteral("そらちゃん");
        }

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

    // A hand edit or a newer minor version adds keys; a save after an edit keeps them where
    // they were, with the pupil they belong to even when the pupils are put in order.
    void unknownKeysAreKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("where"); // "" for the top level, else the pupil's 出席番号
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("value"); // compact JSON
        const QByteArray head = R"({"format":"kotoban-class","version":2,"fields":[{"name":"所見"}],)";
        QTest::newRow("top-level string") << head + R"("school":"北町小","pupils":[]})" << "" << "school"
                                          << QByteArray(R"("北町小")");
        QTest::newRow("top-level object")
            << head + R"("printing":{"margin":12,"paper":["A4"]},"pupils":[]})" << "" << "printing"
            << QByteArray(R"({"margin":12,"paper":["A4"]})");
        QTest::newRow("pupil key stays with its pupil when the pupils are sorted")
            << head + R"("pupils":[{"number":2,"name":"井上 海","health":"眼鏡"},{"number":1,"name":"青木 空"}]})"
            << "2" << "health" << QByteArray(R"("眼鏡")");
        QTest::newRow("pupil key of a version 1 file")
            << QByteArray(R"({"format":"kotoban-class","version":1,"fields":[{"name":"所見"}],)"
                          R"("pupils":[{"number":1,"name":"青木 空","club":{"name":"理科"}}]})")
            << "1" << "club" << QByteArray(R"({"name":"理科"})");
    }
    void unknownKeysAreKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, where);
        QFETCH(QString, key);
        QFETCH(QByteArray, value);
        ClassFileRead read = readClassFile(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        if (!read.book.pupils.isEmpty())
            read.book.pupils.last().texts[0] = QStringLiteral("書き足した文。");
        const QJsonObject root = QJsonDocument::fromJson(classFileBytes(read.book)).object();
        QJsonObject holder = root;
        for (const QJsonValue pupil : root.value(QStringLiteral("pupils")).toArray()) {
            if (QString::number(pupil[QStringLiteral("number")].toInt()) == where)
                holder = pupil.toObject();
        }
        QVERIFY(where.isEmpty() || holder != root);
        const QJsonValue kept = holder.value(key);
        const QByteArray written = kept.isObject() ? QJsonDocument(kept.toObject()).toJson(QJsonDocument::Compact)
                                                   : QJsonDocument(QJsonArray{kept}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
        QCOMPARE(written, value);
        QCOMPARE(root.value(QStringLiteral("version")).toInt(), ClassFileVersion);
        QCOMPARE(readClassFile(classFileBytes(read.book)).book, read.book);
    }

    // A key this version reads is not kept aside as unknown: what the teacher cleared stays cleared.
    void clearedKeysStayCleared_data()
    {
        QTest::addColumn<QByteArray>("pupil");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("呼び名") << QByteArray(R"("calledAs":"ゆうとさん")") << QByteArray("calledAs");
        QTest::newRow("notes") << QByteArray(R"("notes":[{"date":"2025-01-10","text":"朝の会"}])") << QByteArray("notes");
    }
    void clearedKeysStayCleared()
    {
        QFETCH(QByteArray, pupil);
        QFETCH(QByteArray, key);
        ClassFileRead read = readClassFile(R"({"format":"kotoban-class","version":2,"fields":[{"name":"所見"}],
            "pupils":[{"number":1,"name":"渡辺優斗",)" + pupil + "}]}");
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(classFileBytes(read.book).contains(key));
        read.book.pupils[0].calledAs.clear();
        read.book.pupils[0].notes.clear();
        QVERIFY(!classFileBytes(read.book).contains(key));
    }

    // Qt hands out a key without the byte order mark in front of it: "\uFEFFcalledAs" from a
    // hand edit must not come back from a save as the pupil's 呼び名.
    void aKeyThatCannotBeKeptIsNotTakenForAKnownOne()
    {
        const ClassFileRead read = readClassFile("{\"format\":\"kotoban-class\",\"version\":2,\"fields\":[{\"name\":\"a\"}],"
                                                 "\"pupils\":[{\"name\":\"x\",\"\xEF\xBB\xBF" "calledAs\":\"y\"}]}");
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.book.pupils[0].calledAs, QString());
        QCOMPARE(readClassFile(classFileBytes(read.book)).book.pupils[0].calledAs, QString());
    }

    // Version 1 files have no notes; version 2 ones keep them newest first, their kinds listed.
    void notes_data()
    {
        QTest::addColumn<QByteArray>("root");   // keys beside the fields
        QTest::addColumn<QByteArray>("pupil");  // keys beside the pupil's name
        QTest::addColumn<QStringList>("notes"); // "day|kind|text"
        QTest::addColumn<QStringList>("kinds");
        QTest::newRow("a version 1 file: none, the default kinds")
            << QByteArray(R"("version":1)") << QByteArray() << QStringList{} << QStringList{"学習", "生活", "行事", "係", "友だち"};
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

    // The class's 点検の設定 come back as written; an older file has none and gets the defaults.
    void checkSettings()
    {
        ClassBook book = classFrom(QStringLiteral("所見:200"), {});
        book.checks.style = WritingStyle::Consistent;
        book.checks.sentenceLimit = 0;
        book.checks.grade = JuniorHighGrade;
        book.checks.setOn(CheckKind::Variants, false);
        book.checks.setOn(CheckKind::Empty, false);
        const ClassFileRead read = readClassFile(classFileBytes(book));
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.book.checks, book.checks);
        const ClassFileRead older = readClassFile(R"({"format":"kotoban-class","version":1,"fields":[{"name":"a"}]})");
        QVERIFY(older.ok);
        QCOMPARE(older.book.checks, CheckSettings());
        QVERIFY(older.book.checks.isOn(CheckKind::Style) && older.book.checks.sentenceLimit == 60);
        // A kind a later version adds is one this version does not check anyway.
        const ClassFileRead later = readClassFile(
            R"({"format":"kotoban-class","version":2,"checks":{"off":["style","rhythm"]},"fields":[{"name":"a"}]})");
        QVERIFY(later.ok && !later.book.checks.isOn(CheckKind::Style) && later.book.checks.isOn(CheckKind::Names));
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
        QTest::newRow("check settings not an object") << head + R"("checks":3,"fields":[{"name":"a"}]})" << "点検の設定";
        QTest::newRow("an unknown 文体") << head + R"("checks":{"style":"casual"},"fields":[{"name":"a"}]})" << "点検の設定";
        QTest::newRow("a grade past 中学") << head + R"("checks":{"grade":8},"fields":[{"name":"a"}]})" << "点検の設定";
        QTest::newRow("unknown naming rule")
            << head + R"("naming":"nickname","fields":[{"name":"a"}]})" << "名前の呼び方";
        QTest::newRow("呼び名 not a string")
            << head + R"("fields":[{"name":"a"}],"pupils":[{"name":"x","calledAs":7}]})" << "1 人目";
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
