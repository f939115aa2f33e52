#pragma once

#include <QString>

class ClassWindow;
class ExamplePane;

// The class window by keyboard alone: the next or previous pupil (Ctrl+↑/↓ anywhere,
// PageUp/PageDown in the editor) and field (Ctrl+←/→) keep the other of the two; Ctrl+F goes
// to the example search; the pane's examples go into the selected pupil's field with 〇〇
// filled in by the class's naming rule; Esc in the pane comes back to the editor.
// Every command is in a menu, with its keys beside it.
void addKeyboardPath(ClassWindow *window, ExamplePane *pane);

// Puts an example into the selected pupil's field, 〇〇 filled in: at the editor's cursor, or
// after the text. Says why when no field is selected.
void insertExample(ClassWindow *window, const QString &sentence, bool atEnd);
