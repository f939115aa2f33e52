#include "Roster.h"

#include "ClassEditing.h"
#include "Codec.h"

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
                                        QStringLiteral("女子")};
    return words.contains(cell.trimmed());
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

} // namespace

QList<QStringList> splitDelimited(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endRow = [&]() {
        if (fieldStarted || !field.isEmpty() || !row.isEmpty())
            row.append(field);
        const bool empty = std::all_of(row.cbegin(), row.cend(), [](const QString &c) { return c.trimmed().isEmpty(); });
        if (!empty)
            rows.append(row);
        row.clear();
        field.clear();
        fieldStarted = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == u'\r') {
                field.append(u'\n');
                if (i + 1 < text.size() && text[i + 1] == u'\n')
                    ++i;
            } else {
                field.append(c);
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            row.append(field);
            field.clear();
            fieldStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field.append(c);
        }
    }
    endRow();
    return rows;
}

RosterRole roleOfHeader(const QString &cell)
{
    const QString name = folded(cell);
    static const QSet<QString> numbers = {QStringLiteral("出席番号"), QStringLiteral("番号"), QStringLiteral("no"),
                                          QStringLiteral("№"), QStringLiteral("出席no")};
    static const QSet<QString> names = {QStringLiteral("氏名"), QStringLiteral("名前"), QStringLiteral("児童名"),
                                        QStringLiteral("生徒名"), QStringLiteral("児童氏名"), QStringLiteral("生徒氏名")};
    static const QSet<QString> kanas = {QStringLiteral("ふりがな"), QStringLiteral("フリガナ"), QStringLiteral("よみがな"),
                                        QStringLiteral("ヨミガナ"), QStringLiteral("かな"), QStringLiteral("カナ"),
                                        QStringLiteral("よみ"), QStringLiteral("ヨミ")};
    static const QSet<QString> sexes = {QStringLiteral("性別"), QStringLiteral("男女")};
    if (numbers.contains(name))
        return RosterRole::Number;
    if (names.contains(name))
        return RosterRole::Name;
    if (kanas.contains(name))
        return RosterRole::Kana;
    if (sexes.contains(name))
        return RosterRole::Sex;
    return RosterRole::Ignore;
}

QString rosterRoleCaption(RosterRole role)
{
    switch (role) {
    case RosterRole::Number: return QStringLiteral("出席番号");
    case RosterRole::Name: return QStringLiteral("氏名");
    case RosterRole::Kana: return QStringLiteral("ふりがな");
    case RosterRole::Sex: return QStringLiteral("性別");
    case RosterRole::Ignore: break;
    }
    return QStringLiteral("（使わない）");
}

RosterTable readRoster(const QString &text)
{
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    const qsizetype lineEnd = body.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    const bool tabs = body.left(lineEnd < 0 ? body.size() : lineEnd).contains(u'\t');
    RosterTable table;
    table.rows = splitDelimited(body, tabs ? u'\t' : u',');
    int columns = 0;
    for (const QStringList &row : table.rows)
        columns = std::max(columns, int(row.size()));
    if (table.rows.isEmpty())
        return table;
    QList<RosterRole> headerRoles;
    for (int column = 0; column < columns; ++column)
        headerRoles.append(roleOfHeader(cell(table.rows.first(), column)));
    table.hasHeader = std::any_of(headerRoles.cbegin(), headerRoles.cend(),
                                  [](RosterRole role) { return role != RosterRole::Ignore; });
    table.roles = table.hasHeader ? headerRoles : guessRoles(table.rows, columns);
    return table;
}

RosterTable readRosterBytes(const QByteArray &bytes) { return readRoster(decodeDataFile(bytes).text); }

RosterPupils rosterPupils(const RosterTable &table)
{
    RosterPupils result;
    const int nameColumn = int(table.roles.indexOf(RosterRole::Name));
    if (nameColumn < 0) {
        result.problems.append(QStringLiteral("氏名の列がありません。"));
        return result;
    }
    for (int r = table.hasHeader ? 1 : 0; r < table.rows.size(); ++r) {
        const QStringList &row = table.rows[r];
        Pupil pupil;
        bool numberProblem = false;
        for (int column = 0; column < table.roles.size(); ++column) {
            const QString value = cell(row, column);
            switch (table.roles[column]) {
            case RosterRole::Number:
                if (!value.isEmpty() && !parseNumber(value, &pupil.number))
                    numberProblem = true;
                break;
            case RosterRole::Name: pupil.name = value.simplified(); break;
            case RosterRole::Kana: pupil.kana = value.simplified(); break;
            case RosterRole::Sex: pupil.sex = value; break;
            case RosterRole::Ignore: break;
            }
        }
        const QString line = QStringLiteral("%1行目: ").arg(r + 1);
        if (pupil.name.isEmpty()) {
            result.problems.append(line + QStringLiteral("氏名がないので取り込みません。"));
            continue;
        }
        if (numberProblem)
            result.problems.append(line + QStringLiteral("出席番号が数ではないので、番号なしで取り込みます（%1）。").arg(pupil.name));
        result.pupils.append(pupil);
    }
    return result;
}

RosterMerge mergeRoster(ClassBook &book, const QList<Pupil> &pupils)
{
    RosterMerge result;
    QSet<int> seen;
    alignTexts(book);
    for (const Pupil &incoming : pupils) {
        int existing = -1;
        if (incoming.number != 0) {
            if (seen.contains(incoming.number)) {
                result.problems.append(QStringLiteral("出席番号 %1 が名簿に二度あるので、%2 さんは取り込みません。")
                                           .arg(incoming.number)
                                           .arg(incoming.name));
                continue;
            }
            seen.insert(incoming.number);
            existing = pupilByNumber(book, incoming.number);
        } else {
            for (int i = 0; i < book.pupils.size() && existing < 0; ++i) {
                if (book.pupils[i].name == incoming.name.simplified())
                    existing = i;
            }
        }
        if (existing < 0) {
            Pupil added = incoming;
            added.name = incoming.name.simplified();
            added.texts = QStringList();
            for (int i = 0; i < book.fields.size(); ++i)
                added.texts.append(QString());
            book.pupils.append(added);
            ++result.added;
            continue;
        }
        Pupil &pupil = book.pupils[existing];
        const Pupil before = pupil;
        pupil.name = incoming.name.simplified();
        if (!incoming.kana.isEmpty())
            pupil.kana = incoming.kana;
        if (!incoming.sex.isEmpty())
            pupil.sex = incoming.sex;
        if (pupil == before)
            ++result.unchanged;
        else
            ++result.updated;
    }
    sortPupils(book);
    return result;
}
