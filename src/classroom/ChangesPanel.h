#pragma once

#include "ClassBook.h"
#include "HandIns.h"

#include <QDockWidget>

#include <optional>

class QLabel;
class QListWidget;
class ClassWindow;

// 変更点: what changed since the last hand-in, one entry per changed field with the removed
// characters struck through and the added ones underlined, then pupils and fields that came,
// went or were renumbered or renamed. Selecting an entry selects its cell. The list follows
// the teacher's typing while it is shown.
class ChangesPanel : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int HtmlRole = Qt::UserRole + 1;
    static constexpr int PupilRole = Qt::UserRole + 2;
    static constexpr int FieldRole = Qt::UserRole + 3;

    explicit ChangesPanel(ClassWindow *window);

    // The hand-in compared with; earlier is its class, or null when there is none or it could
    // not be read (problem says why).
    void setEarlier(const std::optional<HandIn> &handIn, const ClassBook *earlier, const QString &problem);
    void refresh();
    void setFocusToList();

private:
    void addEntry(const QString &plain, const QString &html, int pupil, int field);
    void entrySelected();

    ClassWindow *const m_window;
    QLabel *const m_summary;
    QListWidget *const m_list;
    std::optional<HandIn> m_handIn;
    std::optional<ClassBook> m_earlier;
    QString m_problem;
};
