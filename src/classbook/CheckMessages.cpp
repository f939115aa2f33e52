// The words the 点検 list uses for what it found.
#include "ClassChecks.h"

#include <QStringList>

namespace {

QString codePointName(const QString &character)
{
    const char32_t cp = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                              : char32_t(character[0].unicode());
    return QStringLiteral("U+") + QString::number(uint(cp), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString otherPupilsText(const ClassBook &book, const QList<int> &sharedBy, int pupil)
{
    QList<int> others = sharedBy;
    others.removeAll(pupil);
    constexpr int Named = 3;
    QStringList labels;
    for (qsizetype i = 0; i < others.size() && i < Named; ++i)
        labels.append(pupilLabel(book.pupils.value(others[i])));
    QString text = labels.join(QStringLiteral("、"));
    if (others.size() > Named)
        text += QStringLiteral(" ほか %1 人").arg(others.size() - Named);
    return text;
}

} // namespace

QString cellText(const ClassBook &book, const CellRef &cell)
{
    if (cell.pupil < 0 || cell.pupil >= book.pupils.size())
        return {};
    const Pupil &pupil = book.pupils[cell.pupil];
    if (cell.field == NameColumn)
        return pupil.name;
    if (cell.field == KanaColumn)
        return pupil.kana;
    return pupil.texts.value(cell.field);
}

QString columnName(const ClassBook &book, int field)
{
    if (field == NameColumn)
        return QStringLiteral("氏名");
    if (field == KanaColumn)
        return QStringLiteral("ふりがな");
    if (field == NotesColumn)
        return QStringLiteral("メモ");
    return book.fields.value(field).name;
}

QString pupilLabel(const Pupil &pupil)
{
    if (pupil.number <= 0)
        return pupil.name;
    return QStringLiteral("%1番 %2").arg(pupil.number).arg(pupil.name);
}

QString findingMessage(const Finding &finding, const ClassBook &book)
{
    switch (finding.kind) {
    case FindingKind::OverLimit:
        return QStringLiteral("%1字です。上限の%2字を%3字こえています。")
            .arg(finding.textLength)
            .arg(finding.limit)
            .arg(finding.textLength - finding.limit);
    case FindingKind::Empty:
        return QStringLiteral("まだ書かれていません。");
    case FindingKind::DuplicateSentence:
        return QStringLiteral("同じ文が %1にもあります：「%2」")
            .arg(otherPupilsText(book, finding.sharedBy, finding.cell.pupil), finding.found);
    case FindingKind::Placeholder:
        return QStringLiteral("名前の「%1」が残っています。").arg(finding.found);
    case FindingKind::HalfWidthKana:
        return QStringLiteral("半角カタカナ「%1」があります（→「%2」）。").arg(finding.found, finding.replacement);
    case FindingKind::OutsideCp932:
        if (finding.found == QChar(0xFFFD))
            return QStringLiteral("読めなかった文字（%1）があります。").arg(codePointName(finding.found));
        return QStringLiteral("Shift_JIS にない文字「%1」（%2）があります。")
            .arg(finding.found, codePointName(finding.found));
    case FindingKind::Wording:
        if (finding.canReplace())
            return QStringLiteral("「%1」は「%2」と書きます。").arg(finding.found, finding.replacement);
        return QStringLiteral("「%1」は使わない言葉です。").arg(finding.found);
    case FindingKind::NoNotes:
        return QStringLiteral("メモがありません。");
    }
    return {};
}
