#include "ColumnCopy.h"

#include "ExportTable.h"

QString clipboardCell(const QString &text)
{
    return quotedIfAny(withLineBreaks(text, u"\n"), u"\n\t\"");
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
