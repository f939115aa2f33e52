#include "ChangesPanel.h"

#include "ClassChecks.h"
#include "ClassDiff.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// Draws an entry's rich text (struck through and underlined characters) inside the list.
class RichEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        QTextDocument document;
        prepare(document, option, index);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        context.palette.setColor(QPalette::Text, option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->save();
        painter->translate(option.rect.topLeft());
        painter->setClipRect(option.rect.translated(-option.rect.topLeft()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QTextDocument document;
        prepare(document, option, index);
        return QSize(int(document.idealWidth()), int(document.size().height()));
    }

private:
    static void prepare(QTextDocument &document, const QStyleOptionViewItem &option, const QModelIndex &index)
    {
        document.setDefaultFont(option.font);
        document.setDocumentMargin(4);
        QString html = index.data(ChangesPanel::HtmlRole).toString();
        // On the selection's colour the marks' colours would not read: strike and underline stay.
        if (option.state & QStyle::State_Selected)
            html.remove(QRegularExpression(QStringLiteral(" style=\"color:#[0-9a-f]{6}\"")));
        document.setHtml(html);
        document.setTextWidth(std::max(120, option.rect.width()));
    }
};

QString escaped(const QString &text)
{
    // A removed or added line break is shown as ↵ so that it can be seen at all.
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("↵<br>"));
}

// Removed characters struck through, added ones underlined: told apart without colour.
QString diffHtml(const QList<DiffPiece> &pieces)
{
    QString html;
    for (const DiffPiece &piece : pieces) {
        switch (piece.kind) {
        case DiffPiece::Kind::Same: html += escaped(piece.text); break;
        case DiffPiece::Kind::Removed: html += QStringLiteral("<s style=\"color:#a00000\">%1</s>").arg(escaped(piece.text)); break;
        case DiffPiece::Kind::Added: html += QStringLiteral("<u style=\"color:#0038b0\">%1</u>").arg(escaped(piece.text)); break;
        }
    }
    return html;
}

// The same for a screen reader and for copying: what was taken out and put in, in words.
QString diffPlain(const QList<DiffPiece> &pieces)
{
    QStringList parts;
    for (const DiffPiece &piece : pieces) {
        if (piece.kind == DiffPiece::Kind::Removed)
            parts.append(QStringLiteral("削除「%1」").arg(piece.text));
        else if (piece.kind == DiffPiece::Kind::Added)
            parts.append(QStringLiteral("追加「%1」").arg(piece.text));
    }
    return parts.join(QStringLiteral("、"));
}

QString bold(const QString &text) { return QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped()); }

} // namespace

ChangesPanel::ChangesPanel(ClassWindow *window)
    : QDockWidget(QStringLiteral("変更点（前回の提出から）"), window), m_window(window), m_summary(new QLabel(this)),
      m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("ChangesPanel"));
    m_summary->setObjectName(QStringLiteral("ChangesSummary"));
    m_summary->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("ChangesList"));
    m_list->setItemDelegate(new RichEntryDelegate(m_list));
    m_list->setWordWrap(true);
    m_list->setUniformItemSizes(false);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setAccessibleName(QStringLiteral("前回の提出からの変更点"));
    m_list->setAccessibleDescription(QStringLiteral("選ぶとその欄を表で選びます。消した文字は取り消し線、加えた文字は下線で示します。"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    setWidget(content);
    setMinimumWidth(320);

    connect(m_list, &QListWidget::currentRowChanged, this, &ChangesPanel::entrySelected);
    ClassTableModel *model = window->tableModel();
    auto follow = [this] {
        if (isVisible())
            refresh();
    };
    connect(model, &QAbstractItemModel::dataChanged, this, follow);
    connect(model, &QAbstractItemModel::modelReset, this, follow);
}

void ChangesPanel::setEarlier(const std::optional<HandIn> &handIn, const ClassBook *earlier, const QString &problem)
{
    m_handIn = handIn;
    m_earlier = earlier ? std::optional<ClassBook>(*earlier) : std::nullopt;
    m_problem = problem;
    if (isVisible())
        refresh();
}

void ChangesPanel::addEntry(const QString &plain, const QString &html, int pupil, int field)
{
    auto *item = new QListWidgetItem(plain, m_list);
    item->setData(HtmlRole, html);
    item->setData(PupilRole, pupil);
    item->setData(FieldRole, field);
}

void ChangesPanel::refresh()
{
    const QListWidgetItem *current = m_list->currentItem();
    const CellRef kept = current ? CellRef{current->data(PupilRole).toInt(), current->data(FieldRole).toInt()} : CellRef{};
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    if (!m_handIn || !m_earlier) {
        m_summary->setText(m_handIn ? QStringLiteral("前回の提出の控えを読めないので、比べられません。%1").arg(m_problem)
                                    : QStringLiteral("まだ提出していません。「提出する…」で提出すると、その後に変えたところがここに出ます。"));
        return;
    }
    const ClassBook &book = m_window->classBook();
    const ClassDiff diff = diffClasses(*m_earlier, book);
    for (const FieldChange &change : diff.changes) {
        const QString where = QStringLiteral("%1　%2").arg(pupilLabel(book.pupils[change.pupil]), book.fields[change.field].name);
        addEntry(QStringLiteral("%1：%2").arg(where, diffPlain(change.pieces)), bold(where) + QStringLiteral("<br>") + diffHtml(change.pieces),
                 change.pupil, change.field);
    }
    auto note = [this](const QString &text, int pupil, int field) { addEntry(text, text.toHtmlEscaped(), pupil, field); };
    for (const int pupil : diff.addedPupils)
        note(QStringLiteral("加わった児童・生徒：%1").arg(pupilLabel(book.pupils[pupil])), pupil, m_window->selectedField());
    for (const Pupil &pupil : diff.removedPupils)
        note(QStringLiteral("いなくなった児童・生徒：%1").arg(pupilLabel(pupil)), -1, -1);
    for (const RenumberedPupil &moved : diff.renumbered)
        note(QStringLiteral("出席番号が変わった：%1（前は %2番）").arg(pupilLabel(book.pupils[moved.pupil])).arg(moved.oldNumber),
             moved.pupil, m_window->selectedField());
    for (const RenamedField &renamed : diff.renamedFields)
        note(QStringLiteral("欄の名前が変わった：「%1」→「%2」").arg(renamed.oldName, book.fields[renamed.field].name), -1, -1);
    for (const int field : diff.addedFields)
        note(QStringLiteral("加わった欄：「%1」").arg(book.fields[field].name), -1, -1);
    for (const QString &name : diff.removedFields)
        note(QStringLiteral("なくなった欄：「%1」").arg(name), -1, -1);

    const QString since = QStringLiteral("前回の提出（第%1回、%2）から").arg(m_handIn->number).arg(m_handIn->at.toString(QStringLiteral("M月d日 H:mm")));
    m_summary->setText(diff.isEmpty() ? since + QStringLiteral("変わったところはありません。")
                                      : since + QStringLiteral(" %1 欄の文章が変わりました。").arg(diff.changes.size()));
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem *item = m_list->item(row);
        if (kept.pupil >= 0 && item->data(PupilRole).toInt() == kept.pupil && item->data(FieldRole).toInt() == kept.field)
            m_list->setCurrentRow(row);
    }
}

void ChangesPanel::setFocusToList() { m_list->setFocus(); }

void ChangesPanel::entrySelected()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    const int pupil = item->data(PupilRole).toInt();
    const int field = item->data(FieldRole).toInt();
    if (pupil >= 0 && pupil < m_window->classBook().pupils.size())
        m_window->selectCell(pupil, field);
}
