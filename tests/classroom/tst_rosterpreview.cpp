#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "RosterPreviewDialog.h"

// The preview is where a wrong guess is put right before anything joins the class.
class TestRosterPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void correctedRolesReachTheImport()
    {
        const RosterTable read = readRoster(QStringLiteral("1,東町,青木 空\n2,西町,井上 海\n"));
        QCOMPARE(read.roles, (QList<RosterRole>{RosterRole::Number, RosterRole::Name, RosterRole::Ignore}));
        RosterPreviewDialog dialog(read);
        auto *summary = dialog.findChild<QLabel *>(QStringLiteral("RosterSummary"));
        QCOMPARE(summary->text(), QStringLiteral("2人を取り込みます。"));

        dialog.findChild<QComboBox *>(QStringLiteral("RosterRole2"))->setCurrentText(QStringLiteral("（使わない）"));
        QCOMPARE(summary->text(), QStringLiteral("0人を取り込みます。\n氏名の列がありません。"));
        dialog.findChild<QComboBox *>(QStringLiteral("RosterRole3"))->setCurrentText(QStringLiteral("氏名"));
        QCOMPARE(summary->text(), QStringLiteral("2人を取り込みます。"));
        const RosterPupils pupils = rosterPupils(dialog.table());
        QCOMPARE(pupils.pupils.value(1).name, QStringLiteral("井上 海"));
        QCOMPARE(pupils.pupils.value(1).number, 2);

        dialog.findChild<QCheckBox *>(QStringLiteral("RosterHasHeader"))->setChecked(true);
        QCOMPARE(summary->text(), QStringLiteral("1人を取り込みます。"));
        QVERIFY(dialog.table().hasHeader);
    }
};

QTEST_MAIN(TestRosterPreview)
#include "tst_rosterpreview.moc"
