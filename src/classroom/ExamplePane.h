#pragma once

#include "ExampleSearch.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class CompositionAccess;
class ExampleListModel;

// 例文: the main window's examples beside the class editor, each sentence whole. The teacher
// narrows them by category and the three classification levels (the main window's rules) and
// by words in the search box, then puts one into the selected pupil's field. The pane follows
// the library: an example added, corrected or deleted in the main window shows at once.
//
// Keys: ↓ from the search box goes into the list (↑ on its first row comes back); Enter (or a
// double click) puts the current example at the editor's cursor, in the search box the first
// one listed; Ctrl+Enter appends it; Esc goes back to the editor.
class ExamplePane : public QWidget {
    Q_OBJECT
public:
    explicit ExamplePane(QWidget *parent = nullptr);

    // Reads the categories through the main window's side; null leaves the pane empty.
    void setLibrary(CompositionAccess *library);

    QLineEdit *searchBox() const { return m_search; }
    QListView *list() const { return m_list; }
    ExampleListModel *model() const { return m_model; }
    // Shows the pane and puts the focus in the search box, its words selected.
    void focusSearch();

Q_SIGNALS:
    void insertRequested(const QString &sentence); // at the cursor
    void appendRequested(const QString &sentence); // at the end of the text
    void leaveRequested();                          // back to the editor

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void fillCategories();
    // Refills the classification lists from `from` down; keep holds each list's choice where it is still offered.
    void fillLevels(int from, bool keep);
    QStringList chosenClasses() const;
    void queryChanged();
    void libraryChanged();
    void use(int row, bool append);
    int rowToUse() const;
    void enterList();
    void updateCount();

    ExampleListModel *const m_model;
    QComboBox *const m_category;
    std::array<QComboBox *, 3> m_levels{};
    QLineEdit *const m_search;
    QListView *const m_list;
    QLabel *const m_count;
    CompositionAccess *m_library = nullptr;
};
