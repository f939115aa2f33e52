#pragma once

#include "ClassSearch.h"

#include <QDockWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class ClassWindow;
class NotesPane;

// 学級の中を検索: a word looked for in every pupil's name, fields and notes as it is typed;
// the hits are listed with the pupil, the column or note and the words around them, and
// choosing one selects the cell (the words selected in the editor) or the note in the pane.
class SearchPanel : public QDockWidget {
    Q_OBJECT
public:
    SearchPanel(ClassWindow *window, NotesPane *notes);

    // Shows the panel with the cursor in the search box.
    void start();
    void search();
    const SearchResult &result() const { return m_result; }

private:
    void hitChosen(int row);

    ClassWindow *const m_window;
    NotesPane *const m_notes;
    QLineEdit *const m_box;
    QLabel *const m_summary;
    QListWidget *const m_hits;
    SearchResult m_result;
};
