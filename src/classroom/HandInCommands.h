#pragma once

#include "ClassBook.h"
#include "HandIns.h"

#include <QObject>

#include <optional>

class QAction;
class QLabel;
class ChangesPanel;
class ClassWindow;

// 提出する… in the 点検・書き出し menu: runs 点検 and asks before handing in what it found,
// keeps a copy of the class beside the class file and writes the review sheet (PDF), marking
// what changed since the last hand-in. Nothing is left behind when either cannot be written.
// Also 変更点 (the panel listing what changed since the last hand-in) and the status bar's
// "前回の提出：12月7日 15:30". The PDF is only made when the teacher hands in.
class HandInCommands : public QObject {
    Q_OBJECT
public:
    explicit HandInCommands(ClassWindow *window);

    void handIn();
    void showChanges();

    // The last hand-in's copy of the class, when there was one and it could be read.
    const std::optional<ClassBook> &lastHandInBook() const { return m_lastBook; }
    const std::optional<HandIn> &lastHandIn() const { return m_last; }

private:
    void classReplaced();
    void showLastHandIn();

    ClassWindow *const m_window;
    ChangesPanel *const m_panel;
    QLabel *const m_lastLabel;
    std::optional<HandIn> m_last;
    std::optional<ClassBook> m_lastBook;
    QString m_lastProblem; // why the last copy could not be read
};
