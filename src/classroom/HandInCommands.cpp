#include "HandInCommands.h"

#include "ChangesPanel.h"
#include "ClassChecks.h"
#include "ClassDiff.h"
#include "ClassWindow.h"
#include "ReviewSheet.h"
#include "WordingRules.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

const QString Title = QStringLiteral("提出する");
const QString MenuTitle = QStringLiteral("点検・書き出し(&E)");

QString shortDate(const QDateTime &at) { return at.toString(QStringLiteral("M月d日 H:mm")); }

} // namespace

HandInCommands::HandInCommands(ClassWindow *window)
    : QObject(window), m_window(window), m_panel(new ChangesPanel(window)), m_lastLabel(new QLabel(window))
{
    auto *handIn = new QAction(QStringLiteral("提出する…"), window);
    handIn->setObjectName(QStringLiteral("actHandIn"));
    connect(handIn, &QAction::triggered, this, &HandInCommands::handIn);
    window->addCommand(handIn, MenuTitle);
    auto *changes = new QAction(QStringLiteral("変更点（前回の提出から）"), window);
    changes->setObjectName(QStringLiteral("actChanges"));
    changes->setShortcut(QKeySequence(QStringLiteral("F8")));
    connect(changes, &QAction::triggered, this, &HandInCommands::showChanges);
    for (QAction *entry : window->menuBar()->actions()) {
        if (entry->menu() && entry->text() == MenuTitle)
            entry->menu()->addAction(changes);
    }
    window->addAction(changes);

    window->addDockWidget(Qt::RightDockWidgetArea, m_panel);
    m_panel->hide();
    m_lastLabel->setObjectName(QStringLiteral("LastHandIn"));
    window->statusBar()->addPermanentWidget(m_lastLabel);
    connect(&window->store(), &ClassStore::bookReplaced, this, &HandInCommands::classReplaced);
    classReplaced();
}

void HandInCommands::classReplaced()
{
    m_last.reset();
    m_lastBook.reset();
    m_lastProblem.clear();
    if (m_window->store().isOpen()) {
        const QList<HandIn> handIns = handInsOf(m_window->store().path());
        if (!handIns.isEmpty()) {
            m_last = handIns.last();
            const ClassFileRead read = readHandIn(m_last->path);
            if (read.ok)
                m_lastBook = read.book;
            else
                m_lastProblem = read.error;
        }
    }
    showLastHandIn();
}

void HandInCommands::showLastHandIn()
{
    const QString text = m_last ? QStringLiteral("前回の提出：%1").arg(shortDate(m_last->at)) : QString();
    m_lastLabel->setText(text);
    m_lastLabel->setAccessibleName(text);
    m_lastLabel->setVisible(m_last.has_value());
    m_panel->setEarlier(m_last, m_lastBook ? &*m_lastBook : nullptr, m_lastProblem);
}

void HandInCommands::showChanges()
{
    if (!m_window->store().isOpen())
        return;
    m_panel->show();
    m_panel->raise();
    m_panel->refresh();
    m_panel->setFocusToList();
}

void HandInCommands::handIn()
{
    ClassDialogs &dialogs = m_window->dialogs();
    if (!m_window->store().isOpen()) {
        dialogs.inform(Title, QStringLiteral("先に学級を開いてください。"), Dialogs::Icon::Information);
        return;
    }
    const ClassBook book = m_window->classBook();
    const QString classPath = m_window->store().path();
    const WordingRules rules = loadWordingRules(QDir(m_window->workingFolder()).filePath(WordingRulesFileName));
    const QList<Finding> findings = checkClass(book, WordingMatcher(rules.rules));
    if (!findings.isEmpty()
        && !dialogs.ask(Title, QStringLiteral("点検で %1 件見つかりました。このまま提出しますか？").arg(findings.size()),
                        Dialogs::Icon::Question, false))
        return;

    // Re-read: the folder may have changed since the class was opened (another window's hand-in).
    classReplaced();
    const int nextNumber = m_last ? m_last->number + 1 : 1;
    const QFileInfo classFile(classPath);
    const QString suggested =
        classFile.absoluteDir().filePath(QStringLiteral("%1 見直し用 第%2回.pdf").arg(classFile.completeBaseName()).arg(nextNumber));
    QString pdfPath = dialogs.exportFileName(QStringLiteral("見直し用の PDF の保存先"), suggested, QStringLiteral("PDF (*.pdf)"));
    if (pdfPath.isEmpty())
        return;
    if (QFileInfo(pdfPath).suffix().isEmpty())
        pdfPath += QStringLiteral(".pdf");
    const QString pdfName = QFileInfo(pdfPath).fileName();
    const bool replace = exportTargetExists(pdfPath);
    if (replace && !dialogs.ask(Title, QStringLiteral("「%1」はもうあります。置き換えますか？").arg(pdfName), Dialogs::Icon::Question, false))
        return;

    const KeptHandIn kept = keepHandIn(classPath, book, QDateTime::currentDateTime());
    if (!kept.saved.ok) {
        dialogs.inform(Title, QStringLiteral("提出できませんでした。控えを書けません。\n%1").arg(kept.saved.error), Dialogs::Icon::Warning);
        return;
    }
    ReviewSheetInput sheet;
    sheet.book = book;
    sheet.findings = findings;
    sheet.handInNumber = kept.handIn.number;
    sheet.at = kept.handIn.at;
    if (m_lastBook) {
        sheet.hasEarlierHandIn = true;
        sheet.changed = changedCells(diffClasses(*m_lastBook, book), book);
    }
    const ReviewSheetPdf pdf = reviewSheetPdf(sheet);
    const ExportResult written = writeReviewSheet(pdfPath, pdf.bytes, replace);
    if (!written.ok()) {
        // The hand-in did not happen: its copy goes too, so the next one is not compared with it.
        QFile::remove(kept.handIn.path);
        QDir().rmdir(handInFolder(classPath));
        const QString why = written.status == ExportStatus::TargetExists
            ? QStringLiteral("「%1」がいま作られました。").arg(pdfName)
            : written.error;
        dialogs.inform(Title, QStringLiteral("提出できませんでした。「%1」を書けません。\n%2").arg(pdfName, why), Dialogs::Icon::Warning);
        classReplaced();
        return;
    }
    classReplaced();
    QString said = QStringLiteral("第%1回の提出をしました。\n見直し用の PDF：%2（%3ページ）\n控え：%4")
                       .arg(kept.handIn.number)
                       .arg(QDir::toNativeSeparators(pdfPath))
                       .arg(pdf.pages)
                       .arg(QDir::toNativeSeparators(kept.handIn.path));
    if (sheet.hasEarlierHandIn)
        said += QStringLiteral("\n前回から変わった欄：%1").arg(sheet.changed.size());
    for (const QString &warning : {kept.saved.warning, written.error}) {
        if (!warning.isEmpty())
            said += u'\n' + warning;
    }
    dialogs.inform(Title, said, Dialogs::Icon::Information);
}
