#pragma once

#include "ClassBook.h"
#include "ClassChecks.h"
#include "WordingRules.h"

#include <QDockWidget>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class ClassWindow;

// 点検: everything to look at in the class in one list the teacher walks with the keyboard.
// Selecting an entry selects the pupil and field in the table and the words in the editor.
// A wording hit, the rarer of two spellings, a wrong call name or half-width katakana can be
// replaced where it is; a wording hit or a spelling everywhere in the class at once; each
// replacement can be undone. What is looked for follows the class's 点検の設定. The wording rules are read from
// 表記ルール.txt in the working folder at every check, so a shared file's changes count.
// The list can show one kind of finding at a time; the panel's width is kept for the next run.
class CheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CheckPanel(ClassWindow *window);
    ~CheckPanel() override;

    // Shows the panel at the width the teacher left it.
    void showAtStoredWidth();

    void runCheck();
    void replaceSelected();
    void replaceRule();
    void undoReplace();

    const QList<Finding> &findings() const { return m_findings; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct CellChange {
        int pupil = -1;
        int field = -1;
        QString before;
        QString after;
    };

    void showFindings(int keepRow);
    void fillKindFilter();
    void entrySelected(int row);
    const Finding *currentFinding() const;
    bool replacesByRule(const Finding &finding) const;
    void apply(const ClassBook &changed);
    void classChangedElsewhere();
    void forgetClass();
    void updateButtons();

    ClassWindow *const m_window;
    QComboBox *const m_kinds;
    QListWidget *const m_list;
    QCheckBox *const m_cp932;
    QCheckBox *const m_noNotes;
    QLabel *const m_summary;
    QPushButton *const m_again;
    QPushButton *const m_replace;
    QPushButton *const m_replaceRule;
    QPushButton *const m_undo;
    QList<WordingRule> m_rules;
    QList<WordingRuleError> m_ruleErrors;
    QList<Finding> m_findings;
    QList<QList<CellChange>> m_undoSteps;
    bool m_stale = false;
    bool m_applying = false;
    int m_width = 0; // while shown
};
