#pragma once

#include "CategoryPage.h"
#include "Dialogs.h"
#include "LibrarySession.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class ClassLink;
class KbHelp;
class TextBox;

// The main window. The library is three Categories (the model: examples, narrowing,
// editing rules), read from the working folder once at start-up and written back by
// "上書き保存(&S)" and when the window closes. Each is shown by a CategoryPage (its
// lists, example box and count label, stacked in the frame, only the selected one
// visible). The window composes the pages, the buttons they share, the composition area
// below the frame and the menus; shared buttons act on the category whose option button
// is selected when they run.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // folder holds the data files. Dialogs answer every message box (tests pass their
    // own); null shows real message boxes.
    explicit Form1(const QString &folder, std::unique_ptr<Dialogs> dialogs = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    // Shows what went wrong while loading, once the window is on screen, and offers to
    // bring back changes a run that ended without saving left in its journal.
    void reportStartupProblems();
    // Closes as a close does, with nobody to answer: a file changed by another program
    // is not overwritten (this run's version goes beside it), and no message waits.
    // For SIGTERM and SIGHUP (logging out, shutting down).
    void closeUnattended();

    CategoryPage &page(int index) { return *m_pages[index]; }
    // The category whose option button is selected.
    CategoryPage *currentPage();
    // The box the Edit menu acts on: 1 the composition, 2 to 4 the categories' example boxes.
    int TextFocus() const { return m_textFocus; }
    // The record the last browsing step or deletion showed.
    int EDCurrent() const { return m_edCurrent; }
    // The class window, opened from "学級(&G)".
    ClassLink &classLink() { return *m_classLink; }

    // Handlers, named after their control and event.
    void Form_Load();
    void Option1_Click();
    void LoadLibrary();
    void RefillClassLists();
    // Saves the three files; false when one of them could not be written.
    bool mnuFileSave_Click();
    void mnuFileClose_Click();
    void CmdKettei1_Click();
    void CmdClear_Click();
    void CmdCopy_Click();
    void CmdAdd1_Click();
    void CmdEdit_Click();
    void CmdDelete_Click();
    void CmdNext_Click();
    void CmdBack_Click();
    void mnuEdit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuMozi1_Click();
    void mnuMozi2_Click();
    void mnuClassOpen_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createFrame();
    void createCompositionArea();
    void setupTabOrder();
    void setupFocusTracking();
    QPushButton *createButton(QWidget *parent, const char *name, const QString &caption, QRect twipsGeometry,
                              double pointSize, void (Form1::*handler)());
    TextBox *focusTarget();
    std::array<TextBox *, 4> textBoxes() const;
    void setTextSize(bool large);
    bool Form_Unload();
    void offerRecovery();
    void reportJournalProblem();
    void inform(const QString &text);

    std::unique_ptr<Dialogs> m_dialogs;
    LibrarySession m_library;
    QWidget *const m_client;
    QGroupBox *const m_frame;
    std::array<QRadioButton *, 3> m_options{};
    std::array<CategoryPage *, 3> m_pages{};
    struct Buttons {
        QPushButton *kettei, *clear, *copy, *add, *edit, *remove, *next, *back;
    } m_button{};
    TextBox *m_text1 = nullptr;
    QLabel *m_count = nullptr;
    QAction *m_mozi1 = nullptr;
    QAction *m_mozi2 = nullptr;
    QAction *m_paste = nullptr;
    QPointer<KbHelp> m_help;
    std::unique_ptr<ClassLink> m_classLink;
    QStringList m_startupProblems;
    bool m_unattended = false;
    int m_textFocus = 1;
    int m_edCurrent = 0;
};
