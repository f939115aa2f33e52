#include "ColumnCopy.h"

#include "ClassChecks.h"
#include "ExportTable.h"

namespace {

// Excel holds at most this many characters in one string of a formula.
constexpr qsizetype FormulaStringLimit = 255;

// ="…": a formula whose value is the text itself. Its strings are cut at Excel's limit
// (never inside a surrogate pair) and joined with &, a line break joined as CHAR(10).
QString textFormula(const QString &text)
{
    QStringList parts;
    const QStringList lines = withLineBreaks(text, u"\n").split(u'\n');
    for (const QString &line : lines) {
        QStringList strings;
        qsizetype at = 0;
        do {
            qsizetype length = qMin(FormulaStringLimit, line.size() - at);
            if (at + length < line.size() && line[at + length - 1].isHighSurrogate())
                --length;
            QString piece = line.mid(at, length);
            strings.append(u'"' + piece.replace(u'"', QStringLiteral("\"\"")) + u'"');
            at += length;
        } while (at < line.size());
        parts.append(strings.join(u'&'));
    }
    return u'=' + parts.join(QStringLiteral("&CHAR(10)&"));
}

} // namespace

QString clipboardCell(const QString &text)
{
    // Pasted bare, "=1+2" or "- 係の仕事" would become a formula (or an error): written as a
    // formula whose value is the text, Excel shows the text as the teacher wrote it.
    const QString cell = startsLikeFormula(text) ? textFormula(text) : withLineBreaks(text, u"\n");
    return quotedIfAny(cell, u"\n\t\"");
}

QString columnCopyText(const ClassBook &book, int field)
{
    QString text;
    for (const int pupil : pupilsInNumberOrder(book)) {
        text += clipboardCell(book.pupils[pupil].texts.value(field));
        text += QStringLiteral("\r\n");
    }
    return text;
}
