#include <QTest>

#include "ClassEditing.h"
#include "ClassNotation.h"

// Each row starts from a small class, applies one operation written as words, and checks
// the whole class afterwards: a text that moved to the wrong pupil or field shows up.

namespace {

ClassEdit apply(ClassBook &book, const QString &operation)
{
    const QStringList w = operation.split(u' ');
    const QString op = w[0];
    if (op == QLatin1String("addField"))
        return addField(book, w[1], w[2].toInt());
    if (op == QLatin1String("renameField"))
        return renameField(book, w[1].toInt(), w.value(2));
    if (op == QLatin1String("limit"))
        return setFieldLimit(book, w[1].toInt(), w[2].toInt());
    if (op == QLatin1String("moveField"))
        return moveField(book, w[1].toInt(), w[2].toInt());
    if (op == QLatin1String("removeField"))
        return removeField(book, w[1].toInt());
    const auto details = [](const QString &notation) { return detailsOf(pupilFrom(notation)); };
    if (op == QLatin1String("addPupil"))
        return addPupil(book, details(w.mid(1).join(u' ')));
    if (op == QLatin1String("editPupil"))
        return editPupil(book, w[1].toInt(), details(w.mid(2).join(u' ')));
    if (op == QLatin1String("movePupil"))
        return movePupil(book, w[1].toInt(), w[2].toInt());
    if (op == QLatin1String("removePupil"))
        return removePupil(book, w[1].toInt());
    if (op == QLatin1String("setText"))
        return setText(book, w[1].toInt(), w[2].toInt(), w.mid(3).join(u' ').replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n")));
    qFatal("unknown operation");
}

const QStringList TwoPupils = {QStringLiteral("1|青木 空|男|空A|空B"), QStringLiteral("2|井上 海|女|海A|")};

} // namespace

class TestClassEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newClassHasOneField()
    {
        const ClassBook book = newClassBook(QStringLiteral(" 3年2組  2学期 "));
        QCOMPARE(book.name, QStringLiteral("3年2組 2学期"));
        QCOMPARE(fieldsNotation(book.fields), QStringLiteral("所見:200"));
        QVERIFY(book.pupils.isEmpty());
    }

    void operations_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("refusal"); // part of the reason, empty when it must succeed
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fieldsAfter");
        QTest::addColumn<QStringList>("pupilsAfter");

        const QString two = QStringLiteral("所見:200,道徳:100");
        QTest::newRow("add field: every pupil gets an empty text")
            << two << TwoPupils << "addField 外国語 0" << "" << 2 << "所見:200,道徳:100,外国語:0"
            << QStringList{"1|青木 空|男|空A|空B|", "2|井上 海|女|海A||"};
        QTest::newRow("add field: short text lists are padded first")
            << two << QStringList{"1|青木 空|男|空A"} << "addField 外国語 50" << "" << 2
            << "所見:200,道徳:100,外国語:50" << QStringList{"1|青木 空|男|空A||"};
        QTest::newRow("add field: duplicate name refused")
            << two << TwoPupils << "addField 道徳 0" << "もうあります" << -1 << two << TwoPupils;
        QTest::newRow("add field: empty name refused")
            << two << TwoPupils << "addField 　 0" << "名前" << -1 << two << TwoPupils;
        QTest::newRow("add field: negative limit refused")
            << two << TwoPupils << "addField 外国語 -1" << "上限" << -1 << two << TwoPupils;
        QTest::newRow("rename field keeps texts")
            << two << TwoPupils << "renameField 1 特別の教科道徳" << "" << 1 << "所見:200,特別の教科道徳:100" << TwoPupils;
        QTest::newRow("rename field to its own name")
            << two << TwoPupils << "renameField 1 道徳" << "" << 1 << two << TwoPupils;
        QTest::newRow("rename field to another's name refused")
            << two << TwoPupils << "renameField 1 所見" << "もうあります" << -1 << two << TwoPupils;
        QTest::newRow("limit changed") << two << TwoPupils << "limit 0 250" << "" << 0 << "所見:250,道徳:100" << TwoPupils;
        QTest::newRow("limit above the maximum refused")
            << two << TwoPupils << "limit 0 10001" << "上限" << -1 << two << TwoPupils;
        QTest::newRow("move field: texts move with it")
            << two << TwoPupils << "moveField 0 1" << "" << 1 << "道徳:100,所見:200"
            << QStringList{"1|青木 空|男|空B|空A", "2|井上 海|女||海A"};
        QTest::newRow("move field out of range refused")
            << two << TwoPupils << "moveField 0 2" << "動かせません" << -1 << two << TwoPupils;
        QTest::newRow("remove field removes its texts only")
            << two << TwoPupils << "removeField 0" << "" << 0 << "道徳:100"
            << QStringList{"1|青木 空|男|空B", "2|井上 海|女|"};
        QTest::newRow("the last field stays")
            << "所見:200" << QStringList{"1|青木 空|男|空A"} << "removeField 0" << "一つだけ" << -1 << "所見:200"
            << QStringList{"1|青木 空|男|空A"};

        QTest::newRow("add pupil in number order")
            << two << TwoPupils << "addPupil 0|上田 陸|男" << "" << 2 << two
            << QStringList{"1|青木 空|男|空A|空B", "2|井上 海|女|海A|", "0|上田 陸|男||"};
        QTest::newRow("add pupil between")
            << two << QStringList{"1|青木 空|男|a|b", "3|井上 海|女|c|d"} << "addPupil 2|上田 陸|男" << "" << 1 << two
            << QStringList{"1|青木 空|男|a|b", "2|上田 陸|男||", "3|井上 海|女|c|d"};
        QTest::newRow("add pupil: name kept as typed, only its ends trimmed")
            << two << QStringList{} << "addPupil 4| 上田　 陸 |男" << "" << 0 << two << QStringList{"4|上田　 陸|男||"};
        QTest::newRow("add pupil: number taken refused")
            << two << TwoPupils << "addPupil 2|上田 陸|男" << "井上 海" << -1 << two << TwoPupils;
        QTest::newRow("add pupil: no name refused")
            << two << TwoPupils << "addPupil 5| |男" << "氏名" << -1 << two << TwoPupils;
        QTest::newRow("edit pupil: new number moves the pupil with the texts")
            << two << TwoPupils << "editPupil 0 9|青木 そら|男" << "" << 1 << two
            << QStringList{"2|井上 海|女|海A|", "9|青木 そら|男|空A|空B"};
        QTest::newRow("edit pupil: keeping the own number is fine")
            << two << TwoPupils << "editPupil 1 2|井上 うみ|女" << "" << 1 << two
            << QStringList{"1|青木 空|男|空A|空B", "2|井上 うみ|女|海A|"};
        QTest::newRow("edit pupil: another's number refused")
            << two << TwoPupils << "editPupil 0 2|青木 空|男" << "井上 海" << -1 << two << TwoPupils;
        QTest::newRow("move pupil down swaps numbers")
            << two << TwoPupils << "movePupil 0 1" << "" << 1 << two
            << QStringList{"1|井上 海|女|海A|", "2|青木 空|男|空A|空B"};
        QTest::newRow("move unnumbered pupil up takes the number")
            << two << QStringList{"1|青木 空|男|a|b", "0|上田 陸|男|c|d"} << "movePupil 1 -1" << "" << 0 << two
            << QStringList{"1|上田 陸|男|c|d", "0|青木 空|男|a|b"};
        QTest::newRow("move first pupil up refused")
            << two << TwoPupils << "movePupil 0 -1" << "動かせません" << -1 << two << TwoPupils;
        QTest::newRow("remove pupil")
            << two << TwoPupils << "removePupil 0" << "" << 0 << two << QStringList{"2|井上 海|女|海A|"};
        QTest::newRow("remove pupil out of range refused")
            << two << TwoPupils << "removePupil 2" << "選んで" << -1 << two << TwoPupils;
        QTest::newRow("set text folds CR LF")
            << two << TwoPupils << "setText 1 1 一行目\\r\\n二行目" << "" << 1 << two
            << QStringList{"1|青木 空|男|空A|空B", "2|井上 海|女|海A|一行目\n二行目"};
        QTest::newRow("set text outside the class refused")
            << two << TwoPupils << "setText 0 2 x" << "選んで" << -1 << two << TwoPupils;
    }
    void operations()
    {
        QFETCH(QString, fields);
        QFETCH(QStringList, pupils);
        QFETCH(QString, operation);
        QFETCH(QString, refusal);
        QFETCH(int, index);
        QFETCH(QString, fieldsAfter);
        QFETCH(QStringList, pupilsAfter);

        ClassBook book = classFrom(fields, pupils);
        const ClassEdit edit = apply(book, operation);
        QCOMPARE(edit.ok, refusal.isEmpty());
        if (!edit.ok)
            QVERIFY2(edit.reason.contains(refusal), qPrintable(edit.reason));
        QCOMPARE(edit.index, index);
        QCOMPARE(fieldsNotation(book.fields), fieldsAfter);
        QCOMPARE(pupilsNotation(book), pupilsAfter);
    }

    void whatHoldsText()
    {
        const ClassBook book = classFrom(QStringLiteral("所見:200,道徳:100,外国語:0"),
                                         {QStringLiteral("1|青木 空|男|空A| "), QStringLiteral("2|井上 海|女|"),
                                          QStringLiteral("3|上田 陸|男||\n|外")});
        QCOMPARE(fieldHasText(book, 0), true);
        QCOMPARE(fieldHasText(book, 1), false); // blanks and line breaks only
        QCOMPARE(fieldHasText(book, 2), true);
        QCOMPARE(pupilHasText(book, 0), true);
        QCOMPARE(pupilHasText(book, 1), false);
        QCOMPARE(pupilHasText(book, 2), true);
        QCOMPARE(pupilHasText(book, 3), false);
    }

    void sortingKeepsUnnumberedLast()
    {
        ClassBook book = classFrom(QStringLiteral("所見:0"),
                                   {QStringLiteral("0|乙|"), QStringLiteral("12|丙|"), QStringLiteral("0|甲|"),
                                    QStringLiteral("3|丁|")});
        sortPupils(book);
        QCOMPARE(pupilsNotation(book), (QStringList{"3|丁|", "12|丙|", "0|乙|", "0|甲|"}));
        QCOMPARE(pupilByNumber(book, 12), 1);
        QCOMPARE(pupilByNumber(book, 0), -1);
    }
};

QTEST_APPLESS_MAIN(TestClassEditing)
#include "tst_classediting.moc"
