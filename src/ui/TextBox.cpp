#include "TextBox.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {
// The document keeps paragraphs apart with U+2029; toPlainText() would also turn
// no-break spaces into ordinary ones, which must not happen to a teacher's text.
QString fromDocument(QString raw)
{
    raw.replace(QChar::ParagraphSeparator, u'\n');
    return raw;
}
} // namespace

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QString TextBox::text() const { return fromDocument(document()->toRawText()); }

void TextBox::setText(const QString &text)
{
    if (text == this->text())
        return;
    setPlainText(text);
}

int TextBox::selStart() const { return textCursor().selectionStart(); }

int TextBox::selLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::setSelection(int start, int length)
{
    const int size = document()->characterCount() - 1;
    start = qBound(0, start, size);
    length = qBound(0, length, size - start);
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString TextBox::selectedText() const { return fromDocument(textCursor().selectedText()); }
