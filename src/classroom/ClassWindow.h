#pragma once

#include "ClassDialogs.h"
#include "ClassStore.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;
class QToolBar;
class ClassEditor;
class ClassTableModel;
class CompositionAccess;
class ExamplePane;

// 学級の所見: one class of pupils and their comment fields. A ClassStore holds the class
// and writes every change within about a second; the table (ClassTableModel) shows every
// pupil's fields with counts and marks; the ClassEditor below edits the selected cell.
// The main window's composition is reached only through CompositionAccess, and every
// question goes through ClassDialogs, so the window is tested on its own.
//
// The commands are grouped by what the teacher does, one file each:
//   ClassWindowFiles.cpp   a new class, opening, the save state, conflicts, closing
//   ClassWindowRoster.cpp  taking in a roster, pupils added, corrected, moved, removed
//   ClassWindowFields.cpp  fields added, renamed, limited, moved, removed
//   ClassWindowTexts.cpp   writing a cell, texts to and from the main window, the naming rule
//   ClassWindow.cpp        the frame: menus' toolbar, the table and editor, the selection
// Checks and exports join through addCommand() (ChecksAndExports.cpp), the notes, the search
// and the example line too (NotesCommands.cpp, with a pane beside the editor); they read the
// class with classBook(), selectedPupil() and selectedField(); selectCell() shows a cell.
class ClassWindow : public QMainWindow {
    Q_OBJECT
public:
    // dialogs null shows real boxes; workingFolder is where files are offered and where
    // the last class is remembered.
    ClassWindow(const QString &workingFolder, CompositionAccess *composition,
                std::unique_ptr<ClassDialogs> dialogs = nullptr, QWidget *parent = nullptr);
    ~ClassWindow() override;

    // Opens the class used last, if any; a file that cannot be read is reported.
    void openLastClass();
    // Writes what is unsaved; when that fails, asks whether to give it up. False keeps
    // the window open.
    bool saveBeforeClosing();
    // From now on nobody answers: a class changed elsewhere is kept beside (never
    // overwritten), closing asks nothing, and a question still open further up the stack
    // gets no box after it. For logging out and shutting down.
    void setUnattended();

    const ClassBook &classBook() const { return m_store.book(); }
    ClassStore &store() { return m_store; }
    int selectedPupil() const;
    int selectedField() const;
    void selectCell(int pupil, int field);
    // Puts an action into the named menu (made after the others when new) and, unless told
    // otherwise, on the toolbar.
    void addCommand(QAction *action, const QString &menuTitle, bool onToolBar = true);
    // The one way a cell's text changes: through the store, then the table, its marks, the
    // editor and 点検 follow (ClassWindowTexts.cpp). False when the edit was refused.
    bool writeText(int pupil, int field, const QString &text);
    // Call after changing the class through store().apply() in other ways: the views follow.
    void classEdited();
    ClassDialogs &dialogs() { return *m_dialogs; }
    ClassTableModel *tableModel() const { return m_model; }
    ClassEditor *editor() const { return m_editor; }
    ExamplePane *examplePane() const { return m_examples; }
    // Puts a pane to the right of the editor, below the table.
    void addBesideEditor(QWidget *pane);
    CompositionAccess *composition() const { return m_composition; }
    QString workingFolder() const { return m_workingFolder; }
    // The folder the class file is in (the working folder before one is open).
    QString suggestedFolder() const;
    QString stateText() const;

    // The commands, as the menus and buttons run them.
    // Files (ClassWindowFiles.cpp).
    void newClass();
    void openClass();
    // Roster (ClassWindowRoster.cpp).
    void importRosterFromFile();
    void importRosterFromClipboard();
    void addPupilByHand();
    void editSelectedPupil();
    void moveSelectedPupil(int step);
    void removeSelectedPupil();
    // Fields (ClassWindowFields.cpp).
    void addFieldByHand();
    void renameSelectedField();
    void setSelectedFieldLimit();
    void moveSelectedField(int step);
    void removeSelectedField();
    // Texts between windows (ClassWindowTexts.cpp).
    void setNamingRule(NamingRule rule);
    void insertComposition();
    void sendToComposition();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    static inline const QString Title = QStringLiteral("学級の所見");

    // The frame (ClassWindow.cpp).
    void createToolBar();
    void createCentralArea();
    void setupConnections();
    QAction *addMenuAction(QMenu *menu, const char *name, const QString &text, std::function<void()> run,
                           bool needsClass = true);
    bool requireClass();
    bool requireCell();
    void showClass();
    void classReplaced();
    void showSelection();
    // Says why an edit was refused; otherwise tells the table what changed and shows the cell.
    void applyEdit(const ClassEdit &edit, const std::function<void()> &tellTable, int pupil, int field);

    // Files.
    void createFileMenu();
    void storeStateChanged(ClassStore::State state);
    void resolveConflict();
    // Opens the class file at path, telling the teacher why when it cannot.
    void openPath(const QString &path);
    void opened(const QString &path);

    // Roster.
    void createPupilMenu();
    void importRoster(const RosterTable &table);

    // Fields.
    void createFieldMenu();

    // Texts.
    void createCompositionMenu();
    void editorEdited(const QString &text);

    const QString m_workingFolder;
    CompositionAccess *const m_composition;
    std::unique_ptr<ClassDialogs> m_dialogs;
    std::unique_ptr<ClassDialogs> m_dialogsBeforeUnattended; // may still be answering
    ClassStore m_store;
    ClassTableModel *const m_model;
    QTableView *const m_table;
    ClassEditor *const m_editor;
    ExamplePane *const m_examples;
    QSplitter *m_besideEditor = nullptr;
    QLabel *const m_state;
    QComboBox *const m_naming;
    QToolBar *m_toolBar = nullptr;
    QList<QAction *> m_needsClass; // enabled only while a class is open
    QList<QAction *> m_toolBarActions;
    QList<QAction *> m_namingActions;
    int m_lastField = 0;
    bool m_resolving = false;
    bool m_unattended = false;
};
