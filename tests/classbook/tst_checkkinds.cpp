#include <QTest>

#include "CheckKinds.h"

// The 点検 filter's counts: each kind found once, in the kinds' own order, with its number.

Q_DECLARE_METATYPE(QList<FindingKind>)

class TestCheckKinds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void counts_data()
    {
        QTest::addColumn<QList<FindingKind>>("found");
        QTest::addColumn<QString>("expected"); // "kind caption:count" joined by blanks
        using K = FindingKind;
        QTest::newRow("nothing") << QList<K>{} << "";
        QTest::newRow("one kind") << QList<K>{K::Empty, K::Empty, K::Empty} << "未記入:3";
        QTest::newRow("kinds in their own order, not the list's")
            << QList<K>{K::Wording, K::OverLimit, K::Wording, K::Placeholder} << "字数:1 〇〇:1 表記:2";
        QTest::newRow("every kind")
            << QList<K>{K::OutsideCp932, K::HalfWidthKana, K::Placeholder, K::DuplicateSentence, K::Empty, K::OverLimit,
                        K::Wording, K::NoNotes, K::NameWithoutBlank, K::FormulaStart, K::WrongCallName,
                        K::OtherPupilName, K::Variant, K::NotYetLearned, K::OutsideJoyo, K::LongSentence,
                        K::RepeatedEnding, K::Style}
            << "字数:1 未記入:1 同じ文:1 〇〇:1 半角カナ:1 Shift_JIS:1 表記:1 文体:1 文末:1 長い文:1 常用外:1 "
               "未習の漢字:1 ゆれ:1 他の子の名前:1 呼び方:1 メモなし:1 Excel の式:1 姓名の区切り:1";
    }
    void counts()
    {
        QFETCH(QList<FindingKind>, found);
        QList<Finding> findings;
        for (FindingKind kind : found) {
            Finding finding;
            finding.kind = kind;
            findings.append(finding);
        }
        QStringList shown;
        for (const KindCount &kind : countKinds(findings))
            shown.append(QStringLiteral("%1:%2").arg(findingKindCaption(kind.kind)).arg(kind.count));
        QTEST(shown.join(u' '), "expected");
    }
};

QTEST_GUILESS_MAIN(TestCheckKinds)
#include "tst_checkkinds.moc"
