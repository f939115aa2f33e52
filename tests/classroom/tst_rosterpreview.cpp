#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ClassSamples.h"
#include "RosterPreviewDialog.h"

// The preview is where a wrong guess is put right, and where the teacher sees what the
// roster will change, before anything joins the class.
class TestRosterPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void correctedRolesReachTheImport()
    {
        const RosterTable read = readRoster(QStringLiteral("1,東町,青木 空\n2,西町,井上 海\n"));
        QCOMPARE(read.roles, (QList<RosterRole>{RosterRole::Number, RosterRole::Name, RosterRole::Ignore}));
        RosterPreviewDialog dialog(read, ClassBook());
        auto *summary = dialog.findChild<QLabel *>(QStringLiteral("RosterSummary"));
        QVERIFY(summary->text().startsWith(QStringLiteral("追加 2人　")));

        dialog.findChild<QComboBox *>(QStringLiteral("RosterRole2"))->setCurrentText(QStringLiteral("（使わない）"));
        QVERIFY(summary->text().contains(QStringLiteral("氏名の列がありません。")));
        dialog.findChild<QComboBox *>(QStringLiteral("RosterRole3"))->setCurrentText(QStringLiteral("氏名"));
        QVERIFY(summary->text().startsWith(QStringLiteral("追加 2人　")));
        const RosterPlan plan = dialog.plan();
        QCOMPARE(plan.rows.value(1).incoming.name, QStringLiteral("井上 海"));
        QCOMPARE(plan.rows.value(1).incoming.number, 2);

        auto *header = dialog.findChild<QComboBox *>(QStringLiteral("RosterHeaderRow"));
        QCOMPARE(header->itemText(2), QStringLiteral("2行目"));
        header->setCurrentIndex(1);
        QVERIFY(summary->text().startsWith(QStringLiteral("追加 1人　")));
        QCOMPARE(dialog.table().headerRow, 0);
    }

    // By keyboard alone: Tab goes from the options through each column's named selector into the
    // rows, which are labelled with their lines in the roster, as the messages count them.
    void columnSelectorsByTabAndRowsByLine()
    {
        RosterPreviewDialog dialog(readRoster(QStringLiteral("1,東町,青木 空\n\n2,西町,井上 海\n")), ClassBook());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.findChild<QComboBox *>(QStringLiteral("RosterHeaderRow"))->setFocus();
        QStringList reached;
        for (int press = 0; press < 4; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.append(QApplication::focusWidget()->objectName() + u' ' + QApplication::focusWidget()->accessibleName());
        }
        QCOMPARE(reached, (QStringList{QStringLiteral("RosterRole1 1列目の役割"), QStringLiteral("RosterRole2 2列目の役割"),
                                       QStringLiteral("RosterRole3 3列目の役割"), QStringLiteral("RosterRows ")}));
        auto *rows = dialog.findChild<QTableWidget *>(QStringLiteral("RosterRows"));
        QCOMPARE(rows->verticalHeaderItem(2)->text(), QStringLiteral("3"));
    }

    // A newcomer at 3 and a renamed child: the list says it row by row, the renamed one is
    // asked, and answering changes the counts and the plan that is returned.
    void showsThePlanAndTakesTheAnswers()
    {
        const ClassBook book = classOf({field(QStringLiteral("所見"), 200)},
                                       {pupil(1, QStringLiteral("青木 空"), {QStringLiteral("空の文")}),
                                        pupil(2, QStringLiteral("井上 海"), {QStringLiteral("海の文")}),
                                        pupil(3, QStringLiteral("上田 陸"), {QStringLiteral("陸の文")})});
        const RosterTable read = readRoster(QStringLiteral("番号,氏名,性別\n1,青木 空,1\n2,井上 うみ,2\n3,加藤 光,2\n4,上田 陸,1\n"));
        RosterPreviewDialog dialog(read, book);
        auto *rows = dialog.findChild<QTableWidget *>(QStringLiteral("RosterPlanRows"));
        QCOMPARE(rows->rowCount(), 4);
        QCOMPARE(rows->item(0, 4)->text(), QStringLiteral("男"));
        QCOMPARE(rows->item(2, 5)->text(), QStringLiteral("新しく加える"));
        QCOMPARE(rows->item(3, 5)->text(), QStringLiteral("3→4番"));
        auto *summary = dialog.findChild<QLabel *>(QStringLiteral("RosterSummary"));
        QVERIFY2(summary->text().startsWith(QStringLiteral("追加 2人　番号が変わる 1人　名前が変わる 0人　更新 1人　変わらず 0人")),
                 qPrintable(summary->text()));
        QVERIFY(summary->text().contains(QStringLiteral("名簿にない児童・生徒：2番 井上 海（消さずに残します）")));

        auto *choice = dialog.findChild<QComboBox *>(QStringLiteral("RosterChoice2"));
        QVERIFY(choice);
        QCOMPARE(choice->currentText(), QStringLiteral("別の子（新しく加える）"));
        choice->setCurrentText(QStringLiteral("同じ子（名前を変える）　2番：井上 海 → 井上 うみ"));
        QVERIFY(summary->text().startsWith(QStringLiteral("追加 1人　番号が変わる 1人　名前が変わる 1人")));
        QCOMPARE(dialog.plan().rows[1].pupil, 1);

        auto *codes = dialog.findChild<QComboBox *>(QStringLiteral("RosterSexCodes"));
        QVERIFY(!codes->isHidden());
        codes->setCurrentIndex(1);
        QCOMPARE(rows->item(0, 4)->text(), QStringLiteral("女"));
        QCOMPARE(dialog.plan().rows[1].pupil, 1); // the answer outlives the re-reading
        QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("RosterImport"))->isEnabled());
    }
};

QTEST_MAIN(TestRosterPreview)
#include "tst_rosterpreview.moc"
