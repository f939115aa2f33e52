// The class window's commands: classes, the roster, pupils, fields and the way to and
// from the main window's composition.

#include "ClassWindow.h"

#include "ClassFile.h"
#include "ClassTableModel.h"
#include "CompositionAccess.h"
#include "Naming.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTableView>

namespace {

const QString Title = QStringLiteral("学級の所見");

QString withSuffix(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + classFileSuffix() : path;
}

} // namespace

QString ClassWindow::suggestedFolder() const
{
    return m_store.isOpen() ? QFileInfo(m_store.path()).absolutePath() : m_workingFolder;
}

void ClassWindow::openLastClass()
{
    const QString path = lastClassPath(m_workingFolder);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        // Moved, renamed, or on a memory stick that is not plugged in: say where it was.
        m_dialogs->inform(Title,
                          QStringLiteral("前回の学級のファイルが見つかりません。\n%1\n「学級を開く」で選んでください。")
                              .arg(QDir::toNativeSeparators(path)),
                          Dialogs::Icon::Information);
        return;
    }
    openPath(path);
}

void ClassWindow::openPath(const QString &path)
{
    const SaveResult result = m_store.open(path);
    if (!result.ok) {
        m_dialogs->inform(Title, result.error, Dialogs::Icon::Warning);
        return;
    }
    opened(path);
}

void ClassWindow::opened(const QString &path)
{
    rememberLastClass(m_workingFolder, path);
    showClass();
    if (!classBook().pupils.isEmpty())
        selectCell(0, 0);
    m_table->setFocus();
}

void ClassWindow::newClass()
{
    const std::optional<QString> name =
        m_dialogs->askText(QStringLiteral("新しい学級"), QStringLiteral("学級の名前（例: 3年2組 2学期）"), QString());
    if (!name)
        return;
    const ClassBook book = newClassBook(*name);
    if (book.name.isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("学級の名前を入れてください。"), Dialogs::Icon::Warning);
        return;
    }
    QString fileName = book.name;
    fileName.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString chosen = m_dialogs->saveFileName(QStringLiteral("新しい学級の保存先"),
                                                   QDir(suggestedFolder()).filePath(fileName + QStringLiteral(".json")),
                                                   classFileFilter());
    if (chosen.isEmpty() || !saveBeforeClosing())
        return;
    const QString path = withSuffix(chosen);
    const SaveResult created = m_store.create(path, book);
    if (!created.ok)
        m_dialogs->inform(Title, created.error, Dialogs::Icon::Warning);
    opened(path);
}

void ClassWindow::openClass()
{
    const QString path = m_dialogs->openFileName(QStringLiteral("学級を開く"), suggestedFolder(), classFileFilter());
    if (path.isEmpty() || !saveBeforeClosing())
        return;
    openPath(path);
}

void ClassWindow::importRosterFromFile()
{
    const QString path = m_dialogs->openFileName(QStringLiteral("名簿の取り込み"), suggestedFolder(),
                                                 QStringLiteral("名簿 (*.csv *.txt *.tsv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    const std::optional<QByteArray> bytes = currentBytes(path);
    if (!bytes) {
        m_dialogs->inform(Title, QStringLiteral("「%1」を読めません。").arg(QFileInfo(path).fileName()),
                          Dialogs::Icon::Warning);
        return;
    }
    importRoster(readRosterBytes(*bytes));
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
    const std::optional<RosterTable> corrected = m_dialogs->previewRoster(table);
    if (!corrected)
        return;
    const RosterPupils pupils = rosterPupils(*corrected);
    if (pupils.pupils.isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("取り込める児童・生徒がいません。\n") + pupils.problems.join(u'\n'),
                          Dialogs::Icon::Warning);
        return;
    }
    const RosterMerge merge = m_store.apply([&](ClassBook &book) { return mergeRoster(book, pupils.pupils); });
    showClass();
    QString report = QStringLiteral("名簿を取り込みました。\n追加 %1人　更新 %2人　変わらず %3人")
                         .arg(merge.added)
                         .arg(merge.updated)
                         .arg(merge.unchanged);
    const QStringList problems = pupils.problems + merge.problems;
    if (!problems.isEmpty())
        report += QStringLiteral("\n\n") + problems.mid(0, 10).join(u'\n');
    m_dialogs->inform(Title, report, Dialogs::Icon::Information);
}

void ClassWindow::applyEdit(const ClassEdit &edit, int pupil, int field)
{
    if (!edit.ok) {
        m_dialogs->inform(Title, edit.reason, Dialogs::Icon::Warning);
        return;
    }
    showClass();
    if (pupil >= 0)
        selectCell(pupil, field);
}

bool ClassWindow::requireClass()
{
    if (m_store.isOpen())
        return true;
    m_dialogs->inform(Title, QStringLiteral("「新しい学級」か「学級を開く」で学級を用意してください。"), Dialogs::Icon::Information);
    return false;
}

bool ClassWindow::requireCell()
{
    if (!requireClass())
        return false;
    if (selectedPupil() >= 0 && selectedField() >= 0)
        return true;
    m_dialogs->inform(Title, QStringLiteral("表で児童・生徒の欄を選んでください。"), Dialogs::Icon::Information);
    return false;
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
    applyEdit(edit, edit.index, selectedField());
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
    applyEdit(edit, edit.index, selectedField());
}

void ClassWindow::moveSelectedPupil(int step)
{
    if (!requireCell())
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return movePupil(book, selectedPupil(), step); });
    applyEdit(edit, edit.index, selectedField());
}

void ClassWindow::removeSelectedPupil()
{
    if (!requireCell())
        return;
    const int pupil = selectedPupil();
    if (pupilHasText(classBook(), pupil)
        && !m_dialogs->ask(Title,
                           QStringLiteral("%1には書いた文章があります。削除すると文章も消えます。削除しますか？")
                               .arg(addressedName(classBook().pupils[pupil], classBook().naming)),
                           Dialogs::Icon::Warning, false))
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return removePupil(book, pupil); });
    applyEdit(edit, edit.index, selectedField());
}

void ClassWindow::addFieldByHand()
{
    if (!requireClass())
        return;
    const std::optional<QString> name =
        m_dialogs->askText(QStringLiteral("欄の追加"), QStringLiteral("欄の名前（例: 道徳）"), QString());
    if (!name)
        return;
    const std::optional<int> limit = m_dialogs->askNumber(
        QStringLiteral("欄の追加"), QStringLiteral("字数の上限（0 は上限なし）"), 200, 0, MaxFieldLimit);
    if (!limit)
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return addField(book, *name, *limit); });
    applyEdit(edit, std::max(selectedPupil(), 0), edit.index);
}

void ClassWindow::renameSelectedField()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const std::optional<QString> name = m_dialogs->askText(QStringLiteral("欄の名前の変更"), QStringLiteral("新しい名前"),
                                                           classBook().fields[field].name);
    if (name)
        applyEdit(m_store.apply([&](ClassBook &book) { return renameField(book, field, *name); }), selectedPupil(), field);
}

void ClassWindow::setSelectedFieldLimit()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const ClassField &f = classBook().fields[field];
    const std::optional<int> limit = m_dialogs->askNumber(
        QStringLiteral("字数の上限"), QStringLiteral("「%1」の字数の上限（0 は上限なし）").arg(f.name), f.limit, 0, MaxFieldLimit);
    if (limit)
        applyEdit(m_store.apply([&](ClassBook &book) { return setFieldLimit(book, field, *limit); }), selectedPupil(), field);
}

void ClassWindow::moveSelectedField(int step)
{
    if (!requireClass())
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return moveField(book, selectedField(), selectedField() + step); });
    applyEdit(edit, selectedPupil(), edit.index);
}

void ClassWindow::removeSelectedField()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const QString name = classBook().fields[field].name;
    if (fieldHasText(classBook(), field)
        && !m_dialogs->ask(Title,
                           QStringLiteral("「%1」には書いた文章があります。欄を削除すると、全員の「%1」の文章が消えます。削除しますか？")
                               .arg(name),
                           Dialogs::Icon::Warning, false))
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return removeField(book, field); });
    applyEdit(edit, selectedPupil(), edit.index);
}

void ClassWindow::setNamingRule(NamingRule rule)
{
    if (!m_store.isOpen() || classBook().naming == rule)
        return;
    m_store.apply([rule](ClassBook &book) { book.naming = rule; });
    showClass();
}

void ClassWindow::insertComposition()
{
    if (!requireCell())
        return;
    const QString composed = m_composition ? m_composition->compositionText() : QString();
    if (composed.trimmed().isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("所見文がありません。ことばんの画面で文章を作ってから入れてください。"),
                          Dialogs::Icon::Information);
        return;
    }
    const int pupil = selectedPupil();
    const int field = selectedField();
    const Pupil &p = classBook().pupils[pupil];
    QString text = fillPlaceholders(composed, callName(p, classBook().naming));
    const QString existing = textOf(classBook(), pupil, field);
    if (!existing.trimmed().isEmpty()) {
        const int choice = m_dialogs->choose(
            Title, QStringLiteral("%1の「%2」には文章があります。").arg(addressedName(p, classBook().naming), classBook().fields[field].name),
            {QStringLiteral("置き換える"), QStringLiteral("後ろに付け加える"), QStringLiteral("キャンセル")}, 1, 2);
        if (choice != 0 && choice != 1)
            return;
        if (choice == 1)
            text = existing + text;
    }
    (void)m_store.apply([&](ClassBook &book) { return setText(book, pupil, field, text); });
    m_model->textChanged(pupil, field);
    selectCell(std::min(pupil + 1, int(classBook().pupils.size()) - 1), field);
}

void ClassWindow::sendToComposition()
{
    if (!requireCell() || !m_composition)
        return;
    const int pupil = selectedPupil();
    const int field = selectedField();
    const QString text = textOf(classBook(), pupil, field);
    const QString where =
        QStringLiteral("%1の「%2」").arg(addressedName(classBook().pupils[pupil], classBook().naming), classBook().fields[field].name);
    if (text.trimmed().isEmpty()) {
        m_dialogs->inform(Title, where + QStringLiteral("には文章がありません。"), Dialogs::Icon::Information);
        return;
    }
    const QString current = m_composition->compositionText();
    if (!current.trimmed().isEmpty() && current != text
        && !m_dialogs->ask(Title, QStringLiteral("所見文には文章があります。%1の文章で置き換えますか？").arg(where),
                           Dialogs::Icon::Question, false))
        return;
    m_composition->setCompositionText(text);
}
