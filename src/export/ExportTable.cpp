#include "ExportTable.h"

#include <algorithm>
#include <numeric>

QList<int> pupilsInNumberOrder(const ClassBook &book)
{
    QList<int> order(book.pupils.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&book](int a, int b) {
        const int na = book.pupils[a].number;
        const int nb = book.pupils[b].number;
        if ((na <= 0) != (nb <= 0))
            return na > 0;
        return na > 0 && na < nb;
    });
    return order;
}

QStringList exportHeader(const ClassBook &book)
{
    QStringList header{QStringLiteral("出席番号"), QStringLiteral("氏名"), QStringLiteral("ふりがな")};
    for (const ClassField &field : book.fields)
        header.append(field.name);
    return header;
}

QStringList exportRow(const ClassBook &book, int pupil)
{
    const Pupil &p = book.pupils[pupil];
    QStringList row{p.number > 0 ? QString::number(p.number) : QString(), p.name, p.kana};
    for (qsizetype f = 0; f < book.fields.size(); ++f)
        row.append(p.texts.value(f));
    return row;
}

QStringList notesHeader()
{
    return {QStringLiteral("出席番号"), QStringLiteral("氏名"), QStringLiteral("日付"), QStringLiteral("種類"),
            QStringLiteral("メモ")};
}

QList<NoteRef> notesInExportOrder(const ClassBook &book)
{
    QList<NoteRef> rows;
    for (const int pupil : pupilsInNumberOrder(book)) {
        // Kept newest first: read backwards.
        for (int note = int(book.pupils[pupil].notes.size()) - 1; note >= 0; --note)
            rows.append({pupil, note});
    }
    return rows;
}

QString exportColumnName(const ClassBook &book, int column)
{
    return exportHeader(book).value(column);
}

QString withLineBreaks(const QString &text, QStringView lineBreak)
{
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += lineBreak;
        } else if (c == u'\n') {
            result += lineBreak;
        } else {
            result += c;
        }
    }
    return result;
}

QString quotedIfAny(const QString &text, QStringView special)
{
    const bool quote = std::any_of(text.cbegin(), text.cend(), [special](QChar c) { return special.contains(c); });
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
