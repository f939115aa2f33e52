#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

#include "ClassEditing.h"
#include "ClassSamples.h"
#include "ClassTableModel.h"
#include "RosterMatch.h"
#include "Roster.h"

// The table tells its views what changed instead of starting over, so that the cell the
// teacher works in stays selected: the selection follows the same pupil and field.
class TestClassTableModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editsKeepTheSelection_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("selectedRow"); // where 井上 海's 道徳 is shown afterwards
        QTest::addColumn<int>("selectedColumn");
        const int fixed = ClassTableModel::FixedColumns;
        QTest::newRow("pupil added above") << "add pupil 1" << 4 << fixed + 2 << 2 << fixed + 1;
        QTest::newRow("pupil added below") << "add pupil 9" << 4 << fixed + 2 << 1 << fixed + 1;
        QTest::newRow("pupil above removed") << "remove pupil 0" << 2 << fixed + 2 << 0 << fixed + 1;
        QTest::newRow("selected pupil moved down") << "move pupil 1" << 3 << fixed + 2 << 2 << fixed + 1;
        QTest::newRow("pupil renumbered to the end") << "renumber pupil 1" << 3 << fixed + 2 << 2 << fixed + 1;
        QTest::newRow("field added before") << "add field" << 3 << fixed + 3 << 1 << fixed + 2;
        QTest::newRow("field before removed") << "remove field 0" << 3 << fixed + 1 << 1 << fixed;
        QTest::newRow("selected field moved left") << "move field 1" << 3 << fixed + 2 << 1 << fixed;
        QTest::newRow("field renamed") << "rename field 1" << 3 << fixed + 2 << 1 << fixed + 1;
        QTest::newRow("roster merged") << "merge roster" << 5 << fixed + 2 << 1 << fixed + 1;
    }
    void editsKeepTheSelection()
    {
        QFETCH(QString, edit);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, selectedRow);
        QFETCH(int, selectedColumn);
        ClassBook book = classOf({field(QStringLiteral("所見"), 200), field(QStringLiteral("道徳"), 80)},
                                 {pupil(2, QStringLiteral("青木 空"), {QStringLiteral("a"), QStringLiteral("b")}),
                                  pupil(4, QStringLiteral("井上 海"), {QStringLiteral("c"), QStringLiteral("d")}),
                                  pupil(6, QStringLiteral("上田 陸"), {QStringLiteral("e"), QStringLiteral("f")})});
        ClassTableModel model(book);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QItemSelectionModel selection(&model);
        selection.setCurrentIndex(model.index(1, ClassTableModel::columnOfField(1)), QItemSelectionModel::ClearAndSelect);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy structure(&model, &ClassTableModel::structureChanged);

        const QStringList words = edit.split(u' ');
        const int at = words.last().toInt();
        if (edit.startsWith(QStringLiteral("add pupil"))) {
            const ClassEdit done = addPupil(book, {at, QStringLiteral("新入 生"), QString(), QString()});
            model.pupilInserted(done.index);
        } else if (edit.startsWith(QStringLiteral("remove pupil"))) {
            QVERIFY(removePupil(book, at).ok);
            model.pupilRemoved(at);
        } else if (edit.startsWith(QStringLiteral("move pupil"))) {
            model.pupilMoved(at, movePupil(book, at, 1).index);
        } else if (edit.startsWith(QStringLiteral("renumber pupil"))) {
            PupilDetails details = detailsOf(book.pupils[at]);
            details.number = 30;
            model.pupilMoved(at, editPupil(book, at, details).index);
        } else if (edit == QStringLiteral("add field")) {
            QVERIFY(addField(book, QStringLiteral("外国語"), 0).ok);
            QVERIFY(moveField(book, 2, 0).ok);
            model.fieldInserted(0);
        } else if (edit.startsWith(QStringLiteral("remove field"))) {
            QVERIFY(removeField(book, at).ok);
            model.fieldRemoved(at);
        } else if (edit.startsWith(QStringLiteral("move field"))) {
            model.fieldMoved(at, moveField(book, at, at - 1).index);
        } else if (edit.startsWith(QStringLiteral("rename field"))) {
            QVERIFY(renameField(book, at, QStringLiteral("特別の教科 道徳")).ok);
            model.fieldChanged(at);
        } else {
            (void)mergeRoster(book, {pupil(8, QStringLiteral("江藤 光"), {}), pupil(10, QStringLiteral("小野 翼"), {})});
            model.classChanged();
        }

        QCOMPARE(resets.count(), 0);
        QCOMPARE(structure.isEmpty(), edit.startsWith(QStringLiteral("rename")));
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.columnCount(), columns);
        const QModelIndex current = selection.currentIndex();
        QCOMPARE(current.row(), selectedRow);
        QCOMPARE(current.column(), selectedColumn);
        QCOMPARE(model.index(current.row(), 1).data().toString(), QStringLiteral("井上 海"));
        QCOMPARE(current.data(ClassTableModel::TextRole).toString(), QStringLiteral("d"));
    }

    // Opening another class starts the views over.
    void anotherClassResets()
    {
        ClassBook book = oneFieldClass({QStringLiteral("a"), QStringLiteral("b")});
        ClassTableModel model(book);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        book = oneFieldClass({QStringLiteral("c")});
        model.classReplaced();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(model.rowCount(), 1);
    }
};

QTEST_MAIN(TestClassTableModel)
#include "tst_classtablemodel.moc"
