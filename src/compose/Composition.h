#pragma once

#include <QString>

class TextBox;

// What the composition area and the Edit menu do to a text box and the clipboard.

// Appends an example to the composition, one line break after what is there.
void appendExample(TextBox &composition, const QString &example);

// Puts the selection, or the whole text when nothing is selected, on the clipboard;
// afterwards nothing is selected and the caret stands where the copied text began.
void copyToClipboard(TextBox &box);
// As copyToClipboard, then removes what was copied.
void cutToClipboard(TextBox &box);
// Replaces the selection (or inserts at the caret) with the clipboard's plain text.
void pasteFromClipboard(TextBox &box);
bool clipboardHasText();
