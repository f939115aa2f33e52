// The roster: pupils taken in from a file or the clipboard, added, corrected, moved and
// removed by hand.

#include "ClassWindow.h"

#include "ClassFile.h"
#include "ClassTableModel.h"
#include "Naming.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>

namespace {
// A roster of a whole school is far below this.
constexpr qint64 MaxRosterBytes = 16 * 1024 * 1024;
} // namespace

void ClassWindow::createPupilMenu()
{
    QMenu *menu = menuBar()->addMenu(QStringLiteral("児童・生徒(&P)"));
    menu->setObjectName(QStringLiteral("mnuPupil"));
    addMenuAction(menu, "actAddPupil", QStringLiteral("追加..."), [this] { addPupilByHand(); });
    addMenuAction(menu, "actEditPupil", QStringLiteral("訂正..."), [this] { editSelectedPupil(); });
    addMenuAction(menu, "actPupilUp", QStringLiteral("一つ上へ"), [this] { moveSelectedPupil(-1); });
    addMenuAction(menu, "actPupilDown", QStringLiteral("一つ下へ"), [this] { moveSelectedPupil(1); });
    menu->addSeparator();
    addMenuAction(menu, "actRemovePupil", QStringLiteral("削除"), [this] { removeSelectedPupil(); });
}

void ClassWindow::importRosterFromFile()
{
    const QString path = m_dialogs->openFileName(QStringLiteral("名簿の取り込み"), suggestedFolder(),
                                                 QStringLiteral("名簿 (*.csv *.txt *.tsv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    const ReadResult read = readRegularFile(path, MaxRosterBytes);
    if (read.state != ReadResult::State::Read) {
        const QString why = read.state == ReadResult::State::Missing ? QStringLiteral("ファイルがありません") : read.error;
        m_dialogs->inform(Title, QStringLiteral("「%1」を読めません（%2）。").arg(QFileInfo(path).fileName(), why),
                          Dialogs::Icon::Warning);
        return;
    }
    importRoster(readRosterBytes(read.bytes));
}

void ClassWindow::importRosterFromClipboard()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        m_dialogs->inform(Title,
                          QStringLiteral("クリップボードに名簿がありません。Excel などで名簿の範囲をコピーしてから選んでください。"),
                          Dialogs::Icon::Information);
        return;
    }
    importRoster(readRoster(text));
}

void ClassWindow::importRoster(const RosterTable &table)
{
    if (table.rows.isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("名簿に取り込める行がありません。"), Dialogs::Icon::Information);
        return;
    }
    if (!m_store.isOpen()) {
        m_dialogs->inform(Title, QStringLiteral("名簿を取り込む学級を先に作ります。"), Dialogs::Icon::Information);
        newClass();
        if (!m_store.isOpen())
            return;
    }
    const std::optional<RosterPlan> plan = m_dialogs->previewRoster(table, classBook());
    if (!plan)
        return;
    if (plan->rows.isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("取り込める児童・生徒がいません。\n") + plan->problems.join(u'\n'),
                          Dialogs::Icon::Warning);
        return;
    }
    const RosterMerge merge = m_store.apply([&](ClassBook &book) { return applyRosterPlan(book, *plan); });
    classEdited();
    m_dialogs->inform(Title, rosterMergeReport(merge), merge.ok ? Dialogs::Icon::Information : Dialogs::Icon::Warning);
}

void ClassWindow::addPupilByHand()
{
    if (!requireClass())
        return;
    int next = 1;
    for (const Pupil &pupil : classBook().pupils)
        next = std::max(next, pupil.number + 1);
    const std::optional<PupilDetails> details =
        m_dialogs->editPupil(QStringLiteral("児童・生徒の追加"), {next, QString(), QString(), QString()});
    if (!details)
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return addPupil(book, *details); });
    applyEdit(edit, [&] { m_model->pupilInserted(edit.index); }, edit.index, selectedField());
}

void ClassWindow::editSelectedPupil()
{
    const int pupil = selectedPupil();
    if (!requireCell())
        return;
    const std::optional<PupilDetails> details =
        m_dialogs->editPupil(QStringLiteral("児童・生徒の訂正"), detailsOf(classBook().pupils[pupil]));
    if (!details)
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return ::editPupil(book, pupil, *details); });
    applyEdit(edit, [&] { m_model->pupilMoved(pupil, edit.index); }, edit.index, selectedField());
}

void ClassWindow::moveSelectedPupil(int step)
{
    if (!requireCell())
        return;
    const int pupil = selectedPupil();
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return movePupil(book, pupil, step); });
    applyEdit(edit, [&] { m_model->pupilMoved(pupil, edit.index); }, edit.index, selectedField());
}

void ClassWindow::removeSelectedPupil()
{
    if (!requireCell())
        return;
    const int pupil = selectedPupil();
    if (pupilHasText(classBook(), pupil)
        && !m_dialogs->ask(Title,
                           QStringLiteral("%1には書いた文章やメモがあります。削除すると文章もメモも消えます。削除しますか？")
                               .arg(addressedName(classBook().pupils[pupil], classBook().naming)),
                           Dialogs::Icon::Warning, false))
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return removePupil(book, pupil); });
    applyEdit(edit, [&] { m_model->pupilRemoved(pupil); }, edit.index, selectedField());
}
