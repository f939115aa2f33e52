#include "QuickNotesDialog.h"

#include "ClassChecks.h"
#include "ClassSearch.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "CommentText.h"
#include "Notes.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int PupilRole = Qt::UserRole + 1;
}

QuickNotesDialog::QuickNotesDialog(ClassWindow *window)
    : QDialog(window), m_window(window), m_filter(new QLineEdit(this)), m_pupils(new QListWidget(this)),
      m_date(new QDateEdit(QDate::currentDate(), this)), m_tag(new QComboBox(this)), m_text(new QPlainTextEdit(this)),
      m_targets(new QLabel(this)), m_said(new QLabel(this))
{
    setObjectName(QStringLiteral("QuickNotesDialog"));
    setWindowTitle(QStringLiteral("メモをまとめて入れる"));
    m_filter->setObjectName(QStringLiteral("QuickNoteFilter"));
    m_filter->setPlaceholderText(QStringLiteral("出席番号か名前の一部（例: 12、あおき）"));
    m_filter->setClearButtonEnabled(true);
    m_pupils->setObjectName(QStringLiteral("QuickNotePupils"));
    m_date->setObjectName(QStringLiteral("QuickNoteDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    m_tag->setObjectName(QStringLiteral("QuickNoteTag"));
    m_text->setObjectName(QStringLiteral("QuickNoteText"));
    m_text->setTabChangesFocus(true);
    m_text->setPlaceholderText(QStringLiteral("気づいたこと（Ctrl+Enter で入れる）"));
    m_targets->setObjectName(QStringLiteral("QuickNoteTargets"));
    m_targets->setWordWrap(true);
    m_said->setObjectName(QStringLiteral("QuickNoteSaid"));
    m_said->setWordWrap(true);
    auto *add = new QPushButton(QStringLiteral("入れる"), this);
    add->setObjectName(QStringLiteral("QuickNoteAdd"));
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton *button : {add, close})
        button->setAutoDefault(false); // Enter in the name box goes on to the text, it puts nothing in

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("児童・生徒"), m_filter);
    form->addRow(QString(), m_pupils);
    auto *kind = new QHBoxLayout;
    kind->addWidget(m_date);
    kind->addWidget(new QLabel(QStringLiteral("種類"), this));
    kind->addWidget(m_tag, 1);
    form->addRow(QStringLiteral("日付"), kind);
    form->addRow(QStringLiteral("メモ"), m_text);
    form->addRow(QString(), m_targets);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_said, 1);
    buttons->addWidget(add);
    buttons->addWidget(close);
    form->addRow(buttons);

    const struct {
        QWidget *widget;
        QString name;
        QString description;
    } names[] = {
        {m_filter, QStringLiteral("児童・生徒を選ぶ"), QStringLiteral("出席番号か名前の一部を入れると一覧が絞られます。Enter でメモへ進みます。")},
        {m_pupils, QStringLiteral("児童・生徒の一覧"), QStringLiteral("チェックを付けた全員に同じメモを入れます。")},
        {m_date, QStringLiteral("メモの日付"), QString()},
        {m_tag, QStringLiteral("メモの種類"), QString()},
        {m_text, QStringLiteral("メモの文"), QStringLiteral("Ctrl+Enter で入れて、次の児童・生徒へ進みます。")},
    };
    for (const auto &entry : names) {
        entry.widget->setAccessibleName(entry.name);
        entry.widget->setAccessibleDescription(entry.description);
    }

    for (QWidget *widget : {static_cast<QWidget *>(m_filter), static_cast<QWidget *>(m_pupils), static_cast<QWidget *>(m_text)})
        widget->installEventFilter(this);
    connect(m_filter, &QLineEdit::textChanged, this, &QuickNotesDialog::narrow);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        if (!targets().isEmpty())
            m_text->setFocus();
    });
    connect(m_pupils, &QListWidget::itemChanged, this, &QuickNotesDialog::showTargets);
    connect(m_pupils, &QListWidget::currentRowChanged, this, &QuickNotesDialog::showTargets);
    connect(add, &QPushButton::clicked, this, &QuickNotesDialog::addNote);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(window->tableModel(), &QAbstractItemModel::modelReset, this, &QuickNotesDialog::fillPupils);
    fillPupils();
}

void QuickNotesDialog::fillPupils()
{
    const ClassBook &book = m_window->classBook();
    {
        const QSignalBlocker blocker(m_pupils);
        m_pupils->clear();
        for (int p = 0; p < book.pupils.size(); ++p) {
            auto *item = new QListWidgetItem(pupilLabel(book.pupils[p]), m_pupils);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            item->setData(PupilRole, p);
        }
    }
    const QString tag = m_tag->currentData().toString();
    m_tag->clear();
    m_tag->addItem(QStringLiteral("（なし）"), QString());
    for (const QString &name : book.noteTags)
        m_tag->addItem(name, name);
    m_tag->setCurrentIndex(std::max(0, m_tag->findData(tag)));
    narrow(m_filter->text());
}

void QuickNotesDialog::narrow(const QString &typed)
{
    const ClassBook &book = m_window->classBook();
    QListWidgetItem *only = nullptr;
    int shown = 0;
    for (int row = 0; row < m_pupils->count(); ++row) {
        QListWidgetItem *item = m_pupils->item(row);
        const bool matches = pupilMatches(book.pupils.value(item->data(PupilRole).toInt()), typed);
        item->setHidden(!matches);
        if (matches) {
            only = item;
            ++shown;
        }
    }
    // One pupil left is the one meant; with more, the teacher picks (never a guess).
    if (shown == 1)
        m_pupils->setCurrentItem(only);
    else if (m_pupils->currentItem() && (m_pupils->currentItem()->isHidden() || typed.trimmed().isEmpty()))
        m_pupils->setCurrentRow(-1);
    showTargets();
}

QList<int> QuickNotesDialog::targets() const
{
    QList<int> pupils;
    for (int row = 0; row < m_pupils->count(); ++row) {
        if (m_pupils->item(row)->checkState() == Qt::Checked)
            pupils.append(m_pupils->item(row)->data(PupilRole).toInt());
    }
    const QListWidgetItem *current = m_pupils->currentItem();
    if (pupils.isEmpty() && current && !current->isHidden())
        pupils.append(current->data(PupilRole).toInt());
    return pupils;
}

void QuickNotesDialog::showTargets()
{
    QStringList names;
    for (const int pupil : targets())
        names.append(pupilLabel(m_window->classBook().pupils[pupil]));
    m_targets->setText(names.isEmpty() ? QStringLiteral("入れる先：まだ選んでいません")
                                       : QStringLiteral("入れる先：") + names.join(QStringLiteral("、")));
}

bool QuickNotesDialog::addNote()
{
    const QList<int> pupils = targets();
    const QString text = m_text->toPlainText();
    if (pupils.isEmpty() || isBlankText(text)) {
        m_said->setText(pupils.isEmpty() ? QStringLiteral("児童・生徒を選んでください。") : QStringLiteral("メモの文を入れてください。"));
        (pupils.isEmpty() ? static_cast<QWidget *>(m_filter) : m_text)->setFocus();
        return false;
    }
    const PupilNote note{m_date->date(), m_tag->currentData().toString(), text};
    QStringList names;
    for (const int pupil : pupils) {
        const ClassEdit added = m_window->store().apply([&](ClassBook &book) { return ::addNote(book, pupil, note); });
        if (!added.ok) {
            m_said->setText(added.reason);
            return false;
        }
        m_window->tableModel()->notesChanged(pupil);
        names.append(pupilLabel(m_window->classBook().pupils[pupil]));
    }
    m_said->setText(QStringLiteral("%1 に入れました。").arg(names.join(QStringLiteral("、"))));
    // Ready for the next pupil; the day and the kind usually stay.
    {
        const QSignalBlocker blocker(m_pupils);
        for (int row = 0; row < m_pupils->count(); ++row)
            m_pupils->item(row)->setCheckState(Qt::Unchecked);
    }
    m_text->clear();
    m_filter->clear();
    narrow(QString());
    m_filter->setFocus();
    return true;
}

bool QuickNotesDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Ctrl+Enter puts the note in from wherever the cursor is (and is nobody else's shortcut here).
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() & Qt::ControlModifier) {
        key->accept();
        if (event->type() == QEvent::KeyPress)
            addNote();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    // ↓ from the name box into the list, to pick among several.
    if (watched == m_filter && key->key() == Qt::Key_Down) {
        m_pupils->setFocus();
        for (int row = 0; row < m_pupils->count() && !m_pupils->currentItem(); ++row) {
            if (!m_pupils->item(row)->isHidden())
                m_pupils->setCurrentRow(row);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
