#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class ClassWindow;

// メモをまとめて入れる: notes for several pupils in a row, right after a lesson, without
// touching the comments. Typing a 出席番号 or part of a name narrows the pupil list (one
// pupil left is chosen at once), Enter goes on to the text, Ctrl+Return puts the note in and
// starts over with the next pupil. Ticked pupils all get the same note; without a tick it
// goes to the pupil chosen in the list. Stays open beside the class window until closed.
class QuickNotesDialog : public QDialog {
    Q_OBJECT
public:
    explicit QuickNotesDialog(ClassWindow *window);

    // Puts the note in; false (with the reason shown in the dialog) when nothing went in.
    bool addNote();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillPupils();
    void narrow(const QString &typed);
    QList<int> targets() const;
    void showTargets();

    ClassWindow *const m_window;
    QLineEdit *const m_filter;
    QListWidget *const m_pupils;
    QDateEdit *const m_date;
    QComboBox *const m_tag;
    QPlainTextEdit *const m_text;
    QLabel *const m_targets;
    QLabel *const m_said;
};
