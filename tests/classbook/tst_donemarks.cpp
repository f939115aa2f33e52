#include <QTest>

#include "ClassEditing.h"
#include "ClassFile.h"
#include "ClassNotation.h"
#include "DoneMarks.h"

// Each row applies a few operations to a two-pupil, two-field class and reads every cell's
// 完了 state: o open, d done, c changed since done; pupils separated by "|".

namespace {

bool apply(ClassBook &book, const QString &operation)
{
    const QStringList w = operation.split(u' ');
    auto n = [&w](int i) { return w.value(i).toInt(); };
    if (w[0] == QLatin1String("mark"))
        return setDone(book, n(1), n(2), true).ok;
    if (w[0] == QLatin1String("unmark"))
        return setDone(book, n(1), n(2), false).ok;
    if (w[0] == QLatin1String("toggle"))
        return toggleDone(book, n(1), n(2)).ok;
    if (w[0] == QLatin1String("text"))
        return setText(book, n(1), n(2), w.mid(3).join(u' ')).ok;
    if (w[0] == QLatin1String("moveField"))
        return moveField(book, n(1), n(2)).ok;
    if (w[0] == QLatin1String("removeField"))
        return removeField(book, n(1)).ok;
    if (w[0] == QLatin1String("addField"))
        return addField(book, w[1], 0).ok;
    if (w[0] == QLatin1String("reload")) {
        const ClassFileRead read = readClassFile(classFileBytes(book));
        book = read.book;
        return read.ok;
    }
    qFatal("unknown operation");
}

QString states(const ClassBook &book)
{
    QStringList pupils;
    for (int p = 0; p < book.pupils.size(); ++p) {
        QString cells;
        for (int f = 0; f < book.fields.size(); ++f) {
            const DoneState state = doneState(book, p, f);
            cells += state == DoneState::Open ? u'o' : state == DoneState::Done ? u'd' : u'c';
        }
        pupils.append(cells);
    }
    return pupils.join(u'|');
}

} // namespace

class TestDoneMarks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void marks_data()
    {
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing marked") << QStringList{} << "oo|oo";
        QTest::newRow("marked") << QStringList{"mark 1 0"} << "oo|do";
        QTest::newRow("an empty field can be marked") << QStringList{"mark 1 1"} << "oo|od";
        QTest::newRow("changed after marking keeps the mark")
            << QStringList{"mark 0 0", "text 0 0 書き直した。"} << "co|oo";
        QTest::newRow("changed back to the marked text is done again")
            << QStringList{"mark 0 0", "text 0 0 書き直した。", "text 0 0 空A"} << "do|oo";
        QTest::newRow("a line break style alone is no change")
            << QStringList{"text 0 0 一行目\r\n二行目", "mark 0 0", "text 0 0 一行目\n二行目"} << "do|oo";
        QTest::newRow("toggle: open to done to open") << QStringList{"toggle 0 1", "toggle 0 1"} << "oo|oo";
        QTest::newRow("toggle on a changed mark marks the new text")
            << QStringList{"mark 0 0", "text 0 0 直した。", "toggle 0 0"} << "do|oo";
        QTest::newRow("unmarked") << QStringList{"mark 0 0", "unmark 0 0"} << "oo|oo";
        QTest::newRow("marks move with their field") << QStringList{"mark 0 0", "mark 1 1", "moveField 0 1"} << "od|do";
        QTest::newRow("a removed field takes its marks") << QStringList{"mark 0 0", "mark 1 1", "removeField 0"} << "o|d";
        QTest::newRow("an added field starts open") << QStringList{"mark 0 1", "addField 外国語"} << "odo|ooo";
        QTest::newRow("marks survive the class file") << QStringList{"mark 0 1", "mark 1 0", "reload"} << "od|do";
        QTest::newRow("a change since the mark survives the class file")
            << QStringList{"mark 1 0", "text 1 0 直した。", "reload"} << "oo|co";
    }
    void marks()
    {
        QFETCH(QStringList, operations);
        QFETCH(QString, expected);
        ClassBook book = classFrom("所見:200,道徳:0", {"1|青木 空|男|空A|空B", "2|井上 海|女|海A|"});
        for (const QString &operation : operations)
            QVERIFY2(apply(book, operation), qPrintable(operation));
        QCOMPARE(states(book), expected);
    }

    void count()
    {
        ClassBook book = classFrom("所見:200", {"1|a||x", "2|b||y", "3|c||z"});
        QVERIFY(setDone(book, 0, 0, true).ok && setDone(book, 2, 0, true).ok && setText(book, 2, 0, "zz").ok);
        const DoneCount count = doneCount(book, 0);
        QCOMPARE(count.done, 2);
        QCOMPARE(count.changed, 1);
        QCOMPARE(count.pupils, 3);
    }

    void fileWithoutMarksOrWithBadMarks_data()
    {
        QTest::addColumn<QByteArray>("pupil");
        QTest::addColumn<bool>("ok");
        QTest::newRow("an older file has no marks") << QByteArray(R"({"name":"a","texts":["x"]})") << true;
        QTest::newRow("marks not a list") << QByteArray(R"({"name":"a","texts":["x"],"done":"yes"})") << false;
        QTest::newRow("a mark not a text") << QByteArray(R"({"name":"a","texts":["x"],"done":[1]})") << false;
        QTest::newRow("more marks than fields") << QByteArray(R"({"name":"a","texts":["x"],"done":["",""]})") << false;
    }
    void fileWithoutMarksOrWithBadMarks()
    {
        QFETCH(QByteArray, pupil);
        QFETCH(bool, ok);
        const ClassFileRead read =
            readClassFile(R"({"format":"kotoban-class","version":1,"fields":[{"name":"所見"}],"pupils":[)" + pupil + "]}");
        QCOMPARE(read.ok, ok);
        if (ok)
            QCOMPARE(doneState(read.book, 0, 0), DoneState::Open);
        else
            QVERIFY2(read.error.contains(QStringLiteral("完了の印")), qPrintable(read.error));
    }
};

QTEST_APPLESS_MAIN(TestDoneMarks)
#include "tst_donemarks.moc"
