#pragma once

#include <QPlainTextEdit>

// A multi-line text box as the program uses it: text, selection start and length in
// characters, selected text. Line breaks are "\n" inside the program; the data files
// store them as CR LF and the clipboard follows the platform's convention.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    int selStart() const;
    int selLength() const;
    void setSelection(int start, int length);
    QString selectedText() const;
};
