#include "Roster.h"

#include "ClassEditing.h"
#include "Codec.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

// A header or number cell as compared: full-width letters and digits folded, no blanks,
// no trailing dot, lower case.
QString folded(const QString &cell)
{
    QString text = cell.normalized(QString::NormalizationForm_KC);
    text.remove(u' ');
    text.remove(u'\u3000');
    text.remove(u'\t');
    while (text.endsWith(u'.'))
        text.chop(1);
    return text.toLower();
}

bool parseNumber(const QString &cell, int *number)
{
    bool ok = false;
    const int value = folded(cell).toInt(&ok);
    if (ok && value >= 0)
        *number = value;
    return ok && value >= 0;
}

bool isSexWord(const QString &cell)
{
    static const QSet<QString> words = {QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("男子"),
                                        QStringLiteral("女子"), QStringLiteral("m"), QStringLiteral("f")};
    return words.contains(folded(cell));
}

// 1/2 and M/F as 男 and 女; anything else as written.
QString sexOf(const QString &cell, SexCodes codes)
{
    const QString code = folded(cell);
    const bool oneIsBoy = codes == SexCodes::OneIsBoy;
    if (code == u'm' || code == QLatin1String(oneIsBoy ? "1" : "2"))
        return QStringLiteral("男");
    if (code == u'f' || code == QLatin1String(oneIsBoy ? "2" : "1"))
        return QStringLiteral("女");
    return cell;
}

bool isKana(const QString &cell)
{
    for (QChar c : cell) {
        const char16_t u = c.unicode();
        const bool kana = (u >= 0x3041 && u <= 0x309F) || (u >= 0x30A0 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F);
        if (!kana && u != u' ' && u != 0x3000)
            return false;
    }
    return true;
}

QString cell(const QStringList &row, int column) { return column < row.size() ? row[column].trimmed() : QString(); }

// True when every non-empty cell of the column (at least one) passes the test.
template <typename Test>
bool columnIs(const QList<QStringList> &rows, int column, Test test)
{
    bool any = false;
    for (const QStringList &row : rows) {
        const QString value = cell(row, column);
        if (value.isEmpty())
            continue;
        if (!test(value))
            return false;
        any = true;
    }
    return any;
}

QList<RosterRole> guessRoles(const QList<QStringList> &rows, int columns)
{
    QList<RosterRole> roles(columns, RosterRole::Ignore);
    auto numeric = [](const QString &value) {
        int n = 0;
        return parseNumber(value, &n);
    };
    int next = 0;
    if (columns > 0 && columnIs(rows, 0, numeric)) {
        roles[0] = RosterRole::Number;
        next = 1;
    }
    for (int column = next; column < columns; ++column) {
        if (columnIs(rows, column, numeric) || columnIs(rows, column, isSexWord) || !columnIs(rows, column, [](const QString &) { return true; }))
            continue;
        roles[column] = RosterRole::Name;
        if (column + 1 < columns && columnIs(rows, column + 1, isKana) && !columnIs(rows, column + 1, isSexWord))
            roles[column + 1] = RosterRole::Kana;
        break;
    }
    for (int column = 0; column < columns; ++column) {
        if (roles[column] == RosterRole::Ignore && columnIs(rows, column, isSexWord)) {
            roles[column] = RosterRole::Sex;
            break;
        }
    }
    return roles;
}

// 姓 and 名 from columns of their own, joined as school systems write a name.
QString joinedName(const QString &family, const QString &given)
{
    if (family.isEmpty() || given.isEmpty())
        return family + given;
    return family + QChar(0x3000) + given;
}

struct RowRead {
    Pupil pupil;
    bool numberProblem = false;
    bool headerAgain = false; // the name cell is a column name: a header, not a pupil
};

RowRead readRow(const QStringList &row, const RosterTable &table)
{
    RowRead read;
    Pupil &pupil = read.pupil;
    QString family, given, familyKana, givenKana;
    for (int column = 0; column < table.roles.size(); ++column) {
        const QString value = cell(row, column);
        switch (table.roles[column]) {
        case RosterRole::Number:
            if (!value.isEmpty() && !parseNumber(value, &pupil.number))
                read.numberProblem = true;
            break;
        case RosterRole::Name: pupil.name = value; break;
        case RosterRole::Kana: pupil.kana = value; break;
        case RosterRole::Sex: pupil.sex = sexOf(value, table.sexCodes); break;
        case RosterRole::FamilyName: family = value; break;
        case RosterRole::GivenName: given = value; break;
        case RosterRole::FamilyKana: familyKana = value; break;
        case RosterRole::GivenKana: givenKana = value; break;
        case RosterRole::Ignore: break;
        }
        const bool nameColumn = table.roles[column] == RosterRole::Name || table.roles[column] == RosterRole::FamilyName;
        if (nameColumn && roleOfHeader(value) != RosterRole::Ignore)
            read.headerAgain = true;
    }
    if (pupil.name.isEmpty())
        pupil.name = joinedName(family, given);
    if (pupil.kana.isEmpty())
        pupil.kana = joinedName(familyKana, givenKana);
    return read;
}

} // namespace

DelimitedRows splitDelimitedRows(const QString &text, QChar separator)
{
    DelimitedRows result;
    QStringList row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    int rowLine = 1;
    auto endRow = [&]() {
        if (fieldStarted || !field.isEmpty() || !row.isEmpty())
            row.append(field);
        const bool empty = std::all_of(row.cbegin(), row.cend(), [](const QString &c) { return c.trimmed().isEmpty(); });
        if (!empty) {
            result.rows.append(row);
            result.lines.append(rowLine);
        }
        row.clear();
        field.clear();
        fieldStarted = false;
        rowLine = line;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\r' || c == u'\n';
        if (lineEnd) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
        }
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(lineEnd ? QChar(u'\n') : c);
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            row.append(field);
            field.clear();
            fieldStarted = true;
        } else if (lineEnd) {
            endRow();
        } else {
            field.append(c);
        }
    }
    endRow();
    return result;
}

QList<QStringList> splitDelimited(const QString &text, QChar separator)
{
    return splitDelimitedRows(text, separator).rows;
}

RosterRole roleOfHeader(const QString &cell)
{
    static const QHash<QString, RosterRole> roles = [] {
        QHash<QString, RosterRole> words;
        auto add = [&words](RosterRole role, const QStringList &names) {
            for (const QString &name : names)
                words.insert(folded(name), role);
        };
        add(RosterRole::Number, {QStringLiteral("出席番号"), QStringLiteral("番号"), QStringLiteral("no"),
                                 QStringLiteral("№"), QStringLiteral("出席no")});
        add(RosterRole::Name, {QStringLiteral("氏名"), QStringLiteral("名前"), QStringLiteral("児童名"),
                               QStringLiteral("生徒名"), QStringLiteral("児童氏名"), QStringLiteral("生徒氏名")});
        add(RosterRole::FamilyName, {QStringLiteral("姓"), QStringLiteral("氏"), QStringLiteral("苗字"), QStringLiteral("名字")});
        add(RosterRole::GivenName, {QStringLiteral("名")});
        add(RosterRole::Sex, {QStringLiteral("性別"), QStringLiteral("男女")});
        add(RosterRole::FamilyKana, {QStringLiteral("せい"), QStringLiteral("セイ")});
        add(RosterRole::GivenKana, {QStringLiteral("めい"), QStringLiteral("メイ")});
        const QStringList kanaWords = {QStringLiteral("ふりがな"), QStringLiteral("フリガナ"), QStringLiteral("よみがな"),
                                       QStringLiteral("ヨミガナ"), QStringLiteral("かな"), QStringLiteral("カナ"),
                                       QStringLiteral("よみ"), QStringLiteral("ヨミ")};
        add(RosterRole::Kana, kanaWords);
        // 姓ふりがな, ふりがな（姓）, 名カナ, ...
        for (const QString &kana : kanaWords) {
            for (const auto &[part, role] : {std::pair{QStringLiteral("姓"), RosterRole::FamilyKana},
                                             std::pair{QStringLiteral("名"), RosterRole::GivenKana}})
                add(role, {part + kana, kana + part, kana + u'(' + part + u')', part + u'(' + kana + u')'});
        }
        return words;
    }();
    return roles.value(folded(cell), RosterRole::Ignore);
}

QList<RosterRole> rosterRoles()
{
    return {RosterRole::Ignore,     RosterRole::Number,    RosterRole::Name,       RosterRole::FamilyName,
            RosterRole::GivenName,  RosterRole::Kana,      RosterRole::FamilyKana, RosterRole::GivenKana,
            RosterRole::Sex};
}

QString rosterRoleCaption(RosterRole role)
{
    switch (role) {
    case RosterRole::Number: return QStringLiteral("出席番号");
    case RosterRole::Name: return QStringLiteral("氏名");
    case RosterRole::Kana: return QStringLiteral("ふりがな");
    case RosterRole::Sex: return QStringLiteral("性別");
    case RosterRole::FamilyName: return QStringLiteral("姓");
    case RosterRole::GivenName: return QStringLiteral("名");
    case RosterRole::FamilyKana: return QStringLiteral("ふりがな（姓）");
    case RosterRole::GivenKana: return QStringLiteral("ふりがな（名）");
    case RosterRole::Ignore: break;
    }
    return QStringLiteral("（使わない）");
}

QString sexCodesCaption(SexCodes codes)
{
    return codes == SexCodes::OneIsBoy ? QStringLiteral("1・M＝男、2・F＝女") : QStringLiteral("1＝女、2＝男（M＝男、F＝女）");
}

bool hasSexCodes(const RosterTable &table)
{
    const int column = int(table.roles.indexOf(RosterRole::Sex));
    for (int r = table.firstPupilRow(); column >= 0 && r < table.rows.size(); ++r) {
        if (sexOf(cell(table.rows[r], column), table.sexCodes) != cell(table.rows[r], column))
            return true;
    }
    return false;
}

RosterTable readRoster(const QString &text)
{
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    // Cells copied from a spreadsheet have tabs; a title above them may not, so the top rows decide.
    constexpr int HeaderSearchRows = 10;
    const QStringList top = body.left(4096).split(QRegularExpression(QStringLiteral("[\r\n]+")));
    const bool tabs = std::any_of(top.cbegin(), top.cbegin() + std::min<qsizetype>(top.size(), HeaderSearchRows),
                                  [](const QString &line) { return line.contains(u'\t'); });
    RosterTable table;
    DelimitedRows split = splitDelimitedRows(body, tabs ? u'\t' : u',');
    table.rows = std::move(split.rows);
    table.lines = std::move(split.lines);
    int columns = 0;
    for (const QStringList &row : table.rows)
        columns = std::max(columns, int(row.size()));
    // A title ("令和6年度 3年2組 名簿") and blank-celled rows may stand above the header.
    for (int r = 0; r < table.rows.size() && r < HeaderSearchRows && table.headerRow < 0; ++r) {
        QList<RosterRole> roles;
        for (int column = 0; column < columns; ++column)
            roles.append(roleOfHeader(cell(table.rows[r], column)));
        if (std::any_of(roles.cbegin(), roles.cend(), [](RosterRole role) { return role != RosterRole::Ignore; })) {
            table.headerRow = r;
            table.roles = roles;
        }
    }
    if (table.headerRow < 0)
        table.roles = guessRoles(table.rows, columns);
    return table;
}

RosterTable readRosterBytes(const QByteArray &bytes)
{
    const DecodedText decoded = decodeDataFile(bytes);
    if (decoded.encoding != Encoding::Cp932)
        return readRoster(decoded.text);
    // Not strictly UTF-8: but when Japanese reads as UTF-8 almost everywhere, a stray byte
    // broke a UTF-8 file, and code page 932 would garble every line instead of one.
    const QString utf8 = QString::fromUtf8(bytes);
    const qsizetype broken = utf8.count(QChar(0xFFFD));
    const qsizetype japanese = std::count_if(utf8.cbegin(), utf8.cend(), [](QChar c) {
        return c.unicode() >= 0x0800 && c.unicode() != 0xFFFD && !c.isSurrogate();
    });
    constexpr int ReadableShare = 8;
    return readRoster(japanese >= ReadableShare * broken ? utf8 : decoded.text);
}

RosterPupils rosterPupils(const RosterTable &table)
{
    RosterPupils result;
    const auto usesRole = [&table](RosterRole role) { return table.roles.contains(role); };
    if (!usesRole(RosterRole::Name) && !usesRole(RosterRole::FamilyName)) {
        result.problems.append(QStringLiteral("氏名の列がありません。"));
        return result;
    }
    for (int r = std::max(table.firstPupilRow(), 0); r < table.rows.size(); ++r) {
        const QStringList &row = table.rows[r];
        const int lineNumber = table.lines.value(r, r + 1);
        const QString line = QStringLiteral("%1行目: ").arg(lineNumber);
        const QString joined = row.join(QString());
        if (joined.contains(u'\n')) {
            int breaks = 0;
            for (const QString &text : row)
                breaks += int(text.trimmed().count(u'\n'));
            result.problems.append(
                QStringLiteral("%1〜%2行目: 引用符（\"）が閉じていないので、行がひとつにつながっています。"
                               "名簿を直してから取り込んでください。")
                    .arg(lineNumber)
                    .arg(lineNumber + breaks));
            continue;
        }
        if (joined.contains(QChar(0xFFFD))) {
            result.problems.append(line + QStringLiteral("読めない文字があるので取り込みません（文字コードが違うか、"
                                                         "ファイルがこわれています）。名簿を直してから取り込んでください。"));
            continue;
        }
        const RowRead read = readRow(row, table);
        if (read.headerAgain)
            continue; // a header row repeated (a sheet printed in pages) is never a pupil
        if (read.pupil.name.isEmpty()) {
            result.problems.append(line + QStringLiteral("氏名がないので取り込みません。"));
            continue;
        }
        if (read.numberProblem)
            result.problems.append(line + QStringLiteral("出席番号が数ではないので、番号なしで取り込みます（%1）。").arg(read.pupil.name));
        result.pupils.append(read.pupil);
        result.lines.append(lineNumber);
    }
    return result;
}
