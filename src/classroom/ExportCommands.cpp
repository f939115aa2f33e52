#include "ExportCommands.h"

#include "ClassChecks.h"
#include "ClassWindow.h"
#include "ColumnCopy.h"
#include "CsvExport.h"
#include "ExportTable.h"
#include "Naming.h"
#include "XlsxExport.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStatusBar>

#include <algorithm>

namespace {

const QString MenuTitle = QStringLiteral("点検・書き出し(&E)");
constexpr int StatusTimeout = 10000;

QString codePoints(const QString &characters)
{
    QStringList names;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        char32_t cp = characters[i].unicode();
        if (characters[i].isHighSurrogate() && i + 1 < characters.size()) {
            cp = QChar::surrogateToUcs4(characters[i], characters[i + 1]);
            ++i;
        }
        names.append(QStringLiteral("U+") + QString::number(uint(cp), 16).toUpper().rightJustified(4, u'0'));
    }
    return names.join(u' ');
}

QString refusalLines(const ClassBook &book, const QList<Cp932Refusal> &refusals)
{
    QStringList lines;
    for (const Cp932Refusal &refusal : refusals) {
        const QString where = refusal.pupil < 0
            ? QStringLiteral("見出し「%1」").arg(exportColumnName(book, refusal.column))
            : QStringLiteral("%1　%2").arg(pupilLabel(book.pupils[refusal.pupil]), exportColumnName(book, refusal.column));
        lines.append(QStringLiteral("・%1：%2（%3）").arg(where, refusal.characters, codePoints(refusal.characters)));
    }
    return lines.join(u'\n');
}

} // namespace

ExportCommands::ExportCommands(ClassWindow *window) : QObject(window), m_window(window)
{
    // The toolbar says where to: every command there fits the window's default width.
    auto add = [this](const char *name, const QString &text, const QString &toolBarText, void (ExportCommands::*run)(),
                      const char *keys) {
        auto *action = new QAction(text, m_window);
        action->setIconText(toolBarText);
        action->setObjectName(QLatin1String(name));
        if (keys)
            action->setShortcut(QKeySequence(QLatin1String(keys)));
        connect(action, &QAction::triggered, this, run);
        m_window->addCommand(action, MenuTitle);
    };
    add("actExportXlsx", QStringLiteral("Excel に書き出す"), QStringLiteral("Excel へ"), &ExportCommands::exportXlsx, nullptr);
    add("actExportCsv", QStringLiteral("CSV に書き出す"), QStringLiteral("CSV へ"), &ExportCommands::exportCsv, nullptr);
    add("actCopyColumn", QStringLiteral("列をコピー"), QStringLiteral("列をコピー"), &ExportCommands::copyColumn,
        "Ctrl+Shift+C");
}

bool ExportCommands::classIsOpen() const
{
    if (m_window->store().isOpen())
        return true;
    m_window->dialogs().inform(QStringLiteral("学級の所見"), QStringLiteral("先に学級を開いてください。"),
                               Dialogs::Icon::Information);
    return false;
}

void ExportCommands::exportXlsx()
{
    if (!classIsOpen())
        return;
    const ClassBook book = m_window->classBook();
    const QString title = QStringLiteral("Excel に書き出す");
    XlsxOptions options;
    const bool hasNotes =
        std::any_of(book.pupils.cbegin(), book.pupils.cend(), [](const Pupil &pupil) { return !pupil.notes.isEmpty(); });
    if (hasNotes) {
        const int choice = m_window->dialogs().choose(
            title, QStringLiteral("メモも書き出しますか？\n「メモ」のシートを足すと、メモが一件一行で入ります（出席番号、氏名、日付、種類、メモ）。"),
            {QStringLiteral("所見だけ"), QStringLiteral("メモのシートも付ける"), QStringLiteral("キャンセル")}, 0, 2);
        if (choice != 0 && choice != 1)
            return;
        options.notesSheet = choice == 1;
    }
    exportTo(title, QStringLiteral("xlsx"), QStringLiteral("Excel ブック (*.xlsx)"),
             [&book, options](const QString &path, bool overwrite) { return ::exportXlsx(path, book, overwrite, options); });
}

void ExportCommands::exportCsv()
{
    if (!classIsOpen())
        return;
    const QString title = QStringLiteral("CSV に書き出す");
    ClassDialogs &dialogs = m_window->dialogs();
    const int choice = dialogs.choose(
        title,
        QStringLiteral("文字コードを選んでください。\n"
                       "UTF-8（BOM付き）: いまの Excel や多くの校務システムが読めます。\n"
                       "Shift_JIS: 古いシステム向けです。"),
        {QStringLiteral("UTF-8（BOM付き）"), QStringLiteral("Shift_JIS"), QStringLiteral("キャンセル")}, 0, 2);
    if (choice != 0 && choice != 1)
        return;
    const CsvEncoding encoding = choice == 1 ? CsvEncoding::Cp932 : CsvEncoding::Utf8Bom;
    const ClassBook book = m_window->classBook();
    if (encoding == CsvEncoding::Cp932) {
        const QList<Cp932Refusal> refusals = cp932Refusals(book);
        if (!refusals.isEmpty()) {
            dialogs.inform(title,
                           QStringLiteral("Shift_JIS では書けない文字があるので、書き出しませんでした。\n"
                                          "文字を直すか、UTF-8 を選んでください。\n\n")
                               + refusalLines(book, refusals),
                           Dialogs::Icon::Warning);
            return;
        }
    }
    exportTo(title, QStringLiteral("csv"), QStringLiteral("CSV ファイル (*.csv)"),
             [&book, encoding](const QString &path, bool overwrite) { return ::exportCsv(path, book, encoding, overwrite); });
}

void ExportCommands::exportTo(const QString &title, const QString &suffix, const QString &filter,
                              const std::function<ExportResult(const QString &, bool)> &write)
{
    ClassDialogs &dialogs = m_window->dialogs();
    const QString suggested = QDir(m_window->suggestedFolder()).filePath(nameFor(NameFor::File, m_window->classBook().name) + u'.' + suffix);
    QString path = dialogs.exportFileName(title, suggested, filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    const QString name = QFileInfo(path).fileName();
    ExportResult result = write(path, false);
    if (result.status == ExportStatus::TargetExists) {
        if (!dialogs.ask(title, QStringLiteral("「%1」はもうあります。置き換えますか？").arg(name), Dialogs::Icon::Question, false))
            return;
        result = write(path, true);
    }
    switch (result.status) {
    case ExportStatus::Written:
        if (!result.error.isEmpty()) // in place, but its folder could not be synced
            dialogs.inform(title, QStringLiteral("「%1」に書き出しました。\n%2").arg(name, result.error), Dialogs::Icon::Warning);
        else
            m_window->statusBar()->showMessage(QStringLiteral("「%1」に書き出しました。").arg(name), StatusTimeout);
        return;
    case ExportStatus::TargetExists:
        dialogs.inform(title, QStringLiteral("「%1」がいま作られたので、書き出しませんでした。もう一度書き出してください。").arg(name),
                       Dialogs::Icon::Warning);
        return;
    case ExportStatus::Refused:
    case ExportStatus::Failed:
        dialogs.inform(title, QStringLiteral("「%1」に書き出せませんでした。\n%2").arg(name, result.error), Dialogs::Icon::Warning);
        return;
    }
}

void ExportCommands::copyColumn()
{
    if (!classIsOpen())
        return;
    const int field = m_window->selectedField();
    if (field < 0)
        return;
    const ClassBook &book = m_window->classBook();
    QGuiApplication::clipboard()->setText(columnCopyText(book, field));
    m_window->statusBar()->showMessage(
        QStringLiteral("「%1」を %2 人分コピーしました。Excel の列の先頭のセルに貼り付けてください。")
            .arg(book.fields[field].name)
            .arg(book.pupils.size()),
        StatusTimeout);
}
