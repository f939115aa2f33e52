#include "Composition.h"

#include "Characters.h"
#include "TextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>

namespace {
// The selection, or the whole text which is then selected.
QString takeSelection(TextBox &box)
{
    if (box.selLength() == 0)
        box.setSelection(0, box.text().size());
    return box.selectedText();
}

void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
} // namespace

void appendExample(TextBox &composition, const QString &example)
{
    if (example.isEmpty())
        return;
    const QString text = composition.text();
    composition.setText(text.isEmpty() ? example : text + u'\n' + example);
}

void copyToClipboard(TextBox &box)
{
    putOnClipboard(takeSelection(box));
    box.setSelection(box.selStart(), 0);
}

void cutToClipboard(TextBox &box)
{
    putOnClipboard(takeSelection(box));
    // Through the cursor, so that the box's own undo can bring the text back.
    QTextCursor cursor = box.textCursor();
    cursor.removeSelectedText();
    box.setTextCursor(cursor);
}

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void pasteFromClipboard(TextBox &box)
{
    if (!clipboardHasText())
        return;
    const QString pasted = foldLineBreaks(QGuiApplication::clipboard()->text());
    QTextCursor cursor = box.textCursor();
    cursor.insertText(pasted);
    box.setTextCursor(cursor);
}
