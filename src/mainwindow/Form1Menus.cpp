// The menus of the main window and what their items do.

#include "Form1.h"

#include "ClassLink.h"
#include "Composition.h"
#include "HelpTexts.h"
#include "KbHelp.h"
#include "TextBox.h"

#include <QActionGroup>
#include <QMenuBar>

void Form1::createMenus()
{
    auto addMenu = [this](const char *name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption, void (Form1::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *file = addMenu("mnuFile", QStringLiteral("ファイル(&F)　"));
    QAction *save = file->addAction(QStringLiteral("上書き保存(&S)"));
    save->setObjectName(QStringLiteral("mnuFileSave"));
    connect(save, &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    addItem(file, "mnuFileClose", QStringLiteral("閉じる"), &Form1::mnuFileClose_Click);

    QMenu *edit = addMenu("mnuEdit", QStringLiteral("編集(&E)　　"));
    connect(edit, &QMenu::aboutToShow, this, &Form1::mnuEdit_Click);
    addItem(edit, "mnuEditCut", QStringLiteral("切り取り(&T)"), &Form1::mnuEditCut_Click);
    addItem(edit, "mnuEditCopy", QStringLiteral("コピー(&C)"), &Form1::mnuEditCopy_Click);
    m_paste = addItem(edit, "mnuEditPaste", QStringLiteral("貼り付け(&V)"), &Form1::mnuEditPaste_Click);

    QMenu *mozi = addMenu("mnuMozi", QStringLiteral("文字の大きさ"));
    auto *sizes = new QActionGroup(this);
    m_mozi1 = sizes->addAction(addItem(mozi, "mnuMozi1", QStringLiteral("中"), &Form1::mnuMozi1_Click));
    m_mozi2 = sizes->addAction(addItem(mozi, "mnuMozi2", QStringLiteral("大"), &Form1::mnuMozi2_Click));
    m_mozi1->setCheckable(true);
    m_mozi2->setCheckable(true);
    m_mozi1->setChecked(true);

    QMenu *classes = addMenu("mnuClass", QStringLiteral("学級(&G)"));
    addItem(classes, "mnuClassOpen", QStringLiteral("学級の所見を開く"), &Form1::mnuClassOpen_Click);

    QMenu *help = addMenu("mnuHelp", QStringLiteral("ヘルプ(&H)"));
    addItem(help, "mnuHelpContents", QStringLiteral("目次"), &Form1::mnuHelpContents_Click);
    addItem(help, "mnuHelpAbout", QStringLiteral("このソフトについて"), &Form1::mnuHelpAbout_Click);
}

TextBox *Form1::focusTarget()
{
    switch (m_textFocus) {
    case 1: return m_text1;
    case 2: case 3: case 4: return m_pages[m_textFocus - 2]->exampleBox();
    default: return nullptr;
    }
}

void Form1::mnuEdit_Click() { m_paste->setEnabled(clipboardHasText()); }

void Form1::mnuEditCut_Click()
{
    if (TextBox *box = focusTarget())
        cutToClipboard(*box);
}

void Form1::mnuEditCopy_Click()
{
    if (TextBox *box = focusTarget())
        copyToClipboard(*box);
}

void Form1::mnuEditPaste_Click()
{
    if (TextBox *box = focusTarget())
        pasteFromClipboard(*box);
}

void Form1::mnuClassOpen_Click() { m_classLink->open(); }

void Form1::mnuHelpContents_Click()
{
    if (!m_help)
        m_help = new KbHelp();
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void Form1::mnuHelpAbout_Click() { m_dialogs->inform(appTitle(), aboutMessage(), Dialogs::Icon::None); }
