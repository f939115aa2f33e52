#include "CheckPanel.h"

#include "AccessibleNames.h"
#include "ClassEditor.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "RoomyRows.h"
#include "CheckKinds.h"
#include "WindowSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("点検");
constexpr int FindingRole = Qt::UserRole + 1; // index into the findings, -1 for other lines
constexpr int AllKinds = -1;
const QString WidthKey = QStringLiteral("checkPanel/width");

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

CheckPanel::CheckPanel(ClassWindow *window)
    : QDockWidget(Title, window), m_window(window), m_kinds(new QComboBox(this)), m_list(new QListWidget(this)),
      m_cp932(new QCheckBox(QStringLiteral("Shift_JIS で書けない文字も調べる"), this)),
      m_noNotes(new QCheckBox(QStringLiteral("メモのない児童・生徒も挙げる"), this)), m_summary(new QLabel(this)),
      m_again(button("CheckAgain", QStringLiteral("点検しなおす"), this)),
      m_replace(button("ReplaceOne", QStringLiteral("置き換える"), this)),
      m_replaceRule(button("ReplaceRule", QStringLiteral("このルールをすべて置き換える"), this)),
      m_undo(button("UndoReplace", QStringLiteral("元に戻す"), this))
{
    setObjectName(QStringLiteral("CheckPanel"));
    m_list->setObjectName(QStringLiteral("CheckList"));
    m_kinds->setObjectName(QStringLiteral("CheckKindFilter"));
    m_cp932->setObjectName(QStringLiteral("CheckCp932"));
    m_noNotes->setObjectName(QStringLiteral("CheckNoNotes"));
    m_noNotes->setChecked(true);
    m_summary->setObjectName(QStringLiteral("CheckSummary"));
    m_summary->setWordWrap(true);
    // Each entry on two lines, who and where, then what; the panel scrolls sideways for a long
    // one, and its tooltip holds all of it.
    m_list->setAlternatingRowColors(true);
    giveRowsRoom(m_list);
    m_list->setSpacing(1);
    m_list->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("「友達」は「友だち」と書きます。あいうえお")));

    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(m_summary);
    layout->addWidget(m_kinds);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_cp932);
    layout->addWidget(m_noNotes);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_replace);
    buttons->addWidget(m_replaceRule);
    layout->addLayout(buttons);
    auto *more = new QHBoxLayout;
    more->addWidget(m_undo);
    more->addStretch(1);
    more->addWidget(m_again);
    layout->addLayout(more);
    setWidget(content);

    // What a screen reader announces.
    nameControls({
        {m_list, QStringLiteral("点検の結果"), QStringLiteral("↑↓で順に選ぶと、その児童・生徒の欄と該当する文字が選ばれます。")},
        {m_summary, QStringLiteral("点検のまとめ"), QString()},
        {m_kinds, QStringLiteral("点検の種類"), QStringLiteral("一覧に出す種類を選びます。かっこの中は件数です。")},
        {m_cp932, m_cp932->text(), QStringLiteral("Shift_JIS の CSV に書き出す前に調べます。")},
        {m_noNotes, m_noNotes->text(), QStringLiteral("メモが一つもない児童・生徒を「メモがありません」と挙げます。")},
        {m_replace, m_replace->text(), QStringLiteral("選んだ一か所を○表記に置き換えます。")},
        {m_replaceRule, m_replaceRule->text(), QStringLiteral("同じ表記ルールに当たる学級全体の文字を置き換えます。")},
        {m_undo, m_undo->text(), QStringLiteral("最後の置き換えを取り消します。")},
        {m_again, m_again->text(), QStringLiteral("表記ルールを読み直して、学級全体をもう一度点検します。")},
    });

    connect(m_list, &QListWidget::currentRowChanged, this, &CheckPanel::entrySelected);
    connect(m_kinds, &QComboBox::activated, this, [this] { showFindings(0); });
    connect(m_again, &QPushButton::clicked, this, &CheckPanel::runCheck);
    connect(m_replace, &QPushButton::clicked, this, &CheckPanel::replaceSelected);
    connect(m_replaceRule, &QPushButton::clicked, this, &CheckPanel::replaceRule);
    connect(m_undo, &QPushButton::clicked, this, &CheckPanel::undoReplace);
    connect(m_cp932, &QCheckBox::toggled, this, &CheckPanel::runCheck);
    connect(m_noNotes, &QCheckBox::toggled, this, &CheckPanel::runCheck);
    ClassTableModel *model = window->tableModel();
    connect(model, &QAbstractItemModel::dataChanged, this, &CheckPanel::classChangedElsewhere);
    connect(model, &ClassTableModel::structureChanged, this, &CheckPanel::classChangedElsewhere);
    connect(&window->store(), &ClassStore::bookReplaced, this, &CheckPanel::forgetClass);
    updateButtons();
}

CheckPanel::~CheckPanel()
{
    if (m_width > 0 && m_width != storedSetting(m_window->workingFolder(), WidthKey, 0))
        storeSetting(m_window->workingFolder(), WidthKey, m_width);
}

void CheckPanel::showAtStoredWidth()
{
    const bool wasHidden = isHidden();
    show();
    raise();
    const int width = storedSetting(m_window->workingFolder(), WidthKey, 0);
    if (wasHidden && width > 0)
        m_window->resizeDocks({this}, {width}, Qt::Horizontal);
}

void CheckPanel::resizeEvent(QResizeEvent *event)
{
    QDockWidget::resizeEvent(event);
    if (isVisible())
        m_width = width();
}

void CheckPanel::runCheck()
{
    const WordingRules rules = loadWordingRules(QDir(m_window->workingFolder()).filePath(WordingRulesFileName));
    m_rules = rules.rules;
    m_ruleErrors = rules.errors;
    CheckOptions options;
    options.cp932 = m_cp932->isChecked();
    options.notes = m_noNotes->isChecked();
    options.names = true;
    m_findings = checkClass(m_window->classBook(), WordingMatcher(m_rules), options);
    m_stale = false;
    fillKindFilter();
    showFindings(m_list->currentRow());
}

// "すべて（12）", then each kind found with its count; the kind chosen stays chosen while it is found.
void CheckPanel::fillKindFilter()
{
    const int kept = m_kinds->currentData().isValid() ? m_kinds->currentData().toInt() : AllKinds;
    const QSignalBlocker blocker(m_kinds);
    m_kinds->clear();
    m_kinds->addItem(QStringLiteral("すべて（%1）").arg(m_findings.size()), AllKinds);
    for (const KindCount &kind : countKinds(m_findings))
        m_kinds->addItem(QStringLiteral("%1（%2）").arg(findingKindCaption(kind.kind)).arg(kind.count), int(kind.kind));
    m_kinds->setCurrentIndex(qMax(0, m_kinds->findData(kept)));
}

void CheckPanel::showFindings(int keepRow)
{
    const ClassBook &book = m_window->classBook();
    QSignalBlocker blocker(m_list);
    m_list->clear();
    const int kind = m_kinds->currentData().isValid() ? m_kinds->currentData().toInt() : AllKinds;
    for (const WordingRuleError &error : std::as_const(m_ruleErrors)) {
        if (kind != AllKinds && kind != int(FindingKind::Wording))
            continue;
        auto *item = new QListWidgetItem(
            error.line > 0 ? QStringLiteral("%1 の %2 行目：%3").arg(WordingRulesFileName).arg(error.line).arg(error.message)
                           : QStringLiteral("%1：%2").arg(WordingRulesFileName, error.message),
            m_list);
        item->setData(FindingRole, -1);
    }
    for (int i = 0; i < m_findings.size(); ++i) {
        const Finding &f = m_findings[i];
        if (kind != AllKinds && kind != int(f.kind))
            continue;
        auto *item = new QListWidgetItem(QStringLiteral("%1　%2\n%3")
                                             .arg(pupilLabel(book.pupils[f.cell.pupil]), columnName(book, f.cell.field),
                                                  findingMessage(f, book)),
                                         m_list);
        item->setToolTip(item->text());
        item->setData(FindingRole, i);
    }
    m_summary->setText(m_findings.isEmpty() ? QStringLiteral("気になるところは見つかりませんでした。")
                                            : QStringLiteral("%1 件あります。↑↓で順に見られます。").arg(m_findings.size()));
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(keepRow, 0, m_list->count() - 1));
    blocker.unblock();
    // The entry now current is shown, whether or not its row changed.
    entrySelected(m_list->currentRow());
}

const Finding *CheckPanel::currentFinding() const
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(FindingRole).toInt();
    return index >= 0 && index < m_findings.size() ? &m_findings[index] : nullptr;
}

void CheckPanel::entrySelected(int)
{
    updateButtons();
    const Finding *f = currentFinding();
    if (!f || f->cell.pupil >= m_window->classBook().pupils.size())
        return;
    const bool inField = f->cell.field >= 0;
    m_window->selectCell(f->cell.pupil, inField ? f->cell.field : m_window->selectedField());
    if (!inField || m_stale || f->length == 0)
        return;
    QPlainTextEdit *edit = m_window->editor()->textEdit();
    QTextCursor cursor(edit->document());
    const int end = edit->document()->characterCount() - 1;
    cursor.setPosition(std::min(int(f->start), end));
    cursor.setPosition(std::min(int(f->start + f->length), end), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

// A wording rule's hit, or the rarer of two spellings, is replaced wherever the class has it.
bool CheckPanel::replacesByRule(const Finding &finding) const
{
    if (!finding.canReplace())
        return false;
    return finding.kind == FindingKind::Variant
        || (finding.kind == FindingKind::Wording && finding.rule >= 0 && finding.rule < m_rules.size());
}

void CheckPanel::replaceSelected()
{
    const Finding *f = currentFinding();
    if (!f || !f->canReplace())
        return;
    const std::optional<ClassBook> changed =
        replaceInField(m_window->classBook(), f->cell.pupil, f->cell.field, f->start, f->found, f->replacement);
    if (!changed) {
        m_window->dialogs().inform(Title, QStringLiteral("点検のあとで文章が変わっていたので、置き換えませんでした。点検しなおします。"),
                                   Dialogs::Icon::Information);
        runCheck();
        return;
    }
    apply(*changed);
}

void CheckPanel::replaceRule()
{
    const Finding *f = currentFinding();
    if (!f || !replacesByRule(*f))
        return;
    const WordingRule &rule = f->kind == FindingKind::Variant ? f->variant : m_rules[f->rule];
    const ReplaceAllResult result = replaceEverywhere(m_window->classBook(), rule);
    if (result.count > 0)
        apply(result.book);
}

// Writes the changed texts into the class (only those: anything else the window holds stays
// as it is) and keeps what they were, for 元に戻す.
void CheckPanel::apply(const ClassBook &changed)
{
    const ClassBook &book = m_window->classBook();
    QList<CellChange> step;
    for (int p = 0; p < book.pupils.size() && p < changed.pupils.size(); ++p) {
        for (int f = 0; f < book.pupils[p].texts.size() && f < changed.pupils[p].texts.size(); ++f) {
            const QString &after = changed.pupils[p].texts[f];
            if (book.pupils[p].texts[f] != after)
                step.append({p, f, book.pupils[p].texts[f], after});
        }
    }
    if (step.isEmpty())
        return;
    m_undoSteps.append(step);
    const int row = m_list->currentRow();
    m_applying = true;
    for (const CellChange &change : std::as_const(step))
        (void)m_window->writeText(change.pupil, change.field, change.after);
    m_applying = false;
    runCheck();
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(row, 0, m_list->count() - 1));
}

void CheckPanel::undoReplace()
{
    if (m_undoSteps.isEmpty())
        return;
    const QList<CellChange> step = m_undoSteps.takeLast();
    int skipped = 0;
    m_applying = true;
    for (const CellChange &change : step) {
        // Only where the text is still what the replacement left: typing since then is kept.
        const ClassBook &book = m_window->classBook();
        if (change.pupil < book.pupils.size() && change.field < book.pupils[change.pupil].texts.size()
            && book.pupils[change.pupil].texts[change.field] == change.after)
            (void)m_window->writeText(change.pupil, change.field, change.before);
        else
            ++skipped;
    }
    m_applying = false;
    runCheck();
    if (skipped > 0)
        m_window->dialogs().inform(Title,
                                   QStringLiteral("%1 か所は置き換えのあとで書きかえられていたので、そのままにしました。").arg(skipped),
                                   Dialogs::Icon::Information);
}

// Another class was opened: what was found, and what could be undone, was about the old one.
void CheckPanel::forgetClass()
{
    m_findings.clear();
    m_ruleErrors.clear();
    m_undoSteps.clear();
    m_stale = false;
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
    }
    fillKindFilter();
    m_summary->setText(isVisible() ? QStringLiteral("「点検しなおす」で、開いた学級を点検します。") : QString());
    updateButtons();
}

void CheckPanel::classChangedElsewhere()
{
    if (m_applying || m_stale || m_list->count() == 0)
        return;
    m_stale = true;
    m_summary->setText(QStringLiteral("文章が変わりました。「点検しなおす」で新しくします。"));
}

void CheckPanel::updateButtons()
{
    const Finding *f = currentFinding();
    m_replace->setEnabled(f && f->canReplace());
    m_replaceRule->setEnabled(f && replacesByRule(*f));
    m_undo->setEnabled(!m_undoSteps.isEmpty());
}
