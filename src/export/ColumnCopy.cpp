#include "ColumnCopy.h"

#include "ExportTable.h"

QString clipboardCell(const QString &text)
{
    const QString cell = withLineBreaks(text, u"\n");
    bool quote = false;
    for (const QChar c : cell) {
        if (c == u'\n' || c == u'\t' || c == u'"') {
            quote = true;
            break;
        }
    }
    if (!quote)
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
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
