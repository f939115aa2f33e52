#pragma once

#include <QObject>

class QAction;
class QCheckBox;
class QLabel;
class ClassWindow;

// 完了 in the class window: a check box beside the editor and Ctrl+D mark the selected field
// finished (or, when it was revised since, finished again); the status bar counts the
// selected field's marks ("完了 28/35（所見）"). The table shows each mark (DoneSigns.h).
class DoneMarkControls : public QObject {
    Q_OBJECT
public:
    explicit DoneMarkControls(ClassWindow *window);

    void toggleSelected();

private:
    void showState();

    ClassWindow *const m_window;
    QCheckBox *const m_box;
    QLabel *const m_count;
    QAction *const m_action;
};
