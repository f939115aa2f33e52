#pragma once

#include "ClassEditing.h"

#include <QWidget>

#include <functional>

class QAction;
class QComboBox;
class QDate;
class QDateEdit;
class QLabel;
class QListWidget;
class QModelIndex;
class QPlainTextEdit;
class ClassWindow;

// メモ: beside the editor, the notes of the pupil selected in the table, newest first, each
// shown whole. The note selected in the list is edited below it (its day, its kind, its text);
// every change goes into the class at once and never moves the table's selection.
class NotesPane : public QWidget {
    Q_OBJECT
public:
    explicit NotesPane(ClassWindow *window);

    // メモを追加, メモを削除, メモを所見文に出す, for the window's menu.
    QList<QAction *> commands() const;

    int pupil() const { return m_pupil; }
    int currentNote() const;
    // A note of today for the selected pupil, with the cursor in it.
    void addNote();
    // Deletes the selected note, asking first when it holds text.
    void removeNote();
    // Appends the selected note's text to the main window's composition.
    void sendToComposition();
    // Shows one of the pupil's notes with a span of its text selected.
    void selectNote(int note, qsizetype start = 0, qsizetype length = 0);

private:
    void followSelection();
    void classReset();
    void notesChangedElsewhere(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void showPupil(int pupil, int note);
    void showNote(int note);
    void fillTags(const QString &current);
    void textEdited();
    void dateEdited(const QDate &date);
    void tagChosen(int index);
    void updateItem(int note);
    [[nodiscard]] ClassEdit apply(const std::function<ClassEdit(ClassBook &)> &edit, bool countChanges);

    ClassWindow *const m_window;
    QLabel *const m_caption;
    QListWidget *const m_list;
    QDateEdit *const m_date;
    QComboBox *const m_tag;
    QPlainTextEdit *const m_text;
    QAction *const m_add;
    QAction *const m_remove;
    QAction *const m_send;
    int m_pupil = -1;
    bool m_loading = false;  // showing, not the teacher's edit
    bool m_applying = false; // the change comes from here
};
