// Form1's part in loading and saving: the library session does the work, the window
// asks the teacher and shows the answers.

#include "Form1.h"

#include "ClassLink.h"
#include "KbHelp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QRadioButton>

void Form1::LoadLibrary()
{
    m_startupProblems += m_library.load();
    for (int i = 0; i < 3; ++i)
        m_options[i]->setText(m_library.category(i).title());
    RefillClassLists();
}

void Form1::reportStartupProblems()
{
    if (!m_startupProblems.isEmpty())
        inform(m_startupProblems.join(QStringLiteral("\n\n")));
    m_startupProblems.clear();
    offerRecovery();
}

void Form1::offerRecovery()
{
    if (!m_library.hasLeftoverChanges())
        return;
    if (!m_dialogs->ask(appTitle(), QStringLiteral("前回、保存しないまま終了した変更があります。元に戻しますか？"),
                        Dialogs::Icon::Question, true)) {
        m_library.setLeftoverChangesAside();
        return;
    }
    const ReplayResult replayed = m_library.recoverLeftoverChanges();
    RefillClassLists();
    if (replayed.skipped > 0)
        inform(QStringLiteral("前回の変更のうち %1 件は、そのあとで例文データファイルが変わっていたため、"
                              "元に戻せませんでした。")
                   .arg(replayed.skipped));
    reportJournalProblem();
}

bool Form1::mnuFileSave_Click()
{
    const AskOverwrite askOverwrite = [this](const QString &fileName) {
        // With nobody to answer, the file stays as the other program left it.
        return !m_unattended
            && m_dialogs->ask(appTitle(),
                              QStringLiteral("%1 は、起動後にほかのソフトで変更されています。上書きしますか？").arg(fileName),
                              Dialogs::Icon::Question, false);
    };
    const LibrarySession::SaveAll saved = m_library.save(askOverwrite);
    if (!saved.messages.isEmpty())
        inform(saved.messages.join(QStringLiteral("\n\n")));
    reportJournalProblem();
    return saved.ok;
}

void Form1::mnuFileClose_Click() { close(); }

void Form1::closeUnattended()
{
    m_unattended = true;
    // A question left open would keep the program waiting: it is answered with its
    // safe choice (No, Cancel) by closing it.
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            break;
    }
    close();
}

bool Form1::Form_Unload()
{
    if (!m_classLink->close(m_unattended))
        return false;
    // What could not be saved stays in the journal, offered at the next start.
    if (!mnuFileSave_Click() && !m_unattended
        && !m_dialogs->ask(appTitle(), QStringLiteral("保存できなかったファイルがあります。保存しないで閉じますか？"),
                           Dialogs::Icon::Warning, false))
        return false;
    if (m_help)
        m_help->close();
    return true;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form1::reportJournalProblem()
{
    const QString problem = m_library.takeJournalProblem();
    if (!problem.isEmpty())
        inform(problem);
}

void Form1::inform(const QString &text)
{
    if (!m_unattended)
        m_dialogs->inform(appTitle(), text, Dialogs::Icon::Warning);
}
