#include "NotesPane.h"

#include "AccessibleNames.h"
#include "ClassChecks.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "CommentText.h"
#include "CompositionAccess.h"
#include "Notes.h"
#include "RoomyRows.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("メモ");
constexpr int ShownCharacters = 200; // of a long note in the list; the editor holds all of it

QString noteDay(const QDate &date) { return QLocale(QLocale::Japanese).toString(date, QStringLiteral("yyyy/MM/dd（ddd）")); }

QString itemText(const PupilNote &note)
{
    QString text = note.text.trimmed();
    if (text.size() > ShownCharacters)
        text = text.left(ShownCharacters) + QStringLiteral("…");
    const QString head = note.tag.isEmpty() ? noteDay(note.date) : noteDay(note.date) + QStringLiteral("　") + note.tag;
    return head + u'\n' + (text.isEmpty() ? QStringLiteral("（まだ書いていません）") : text);
}

QToolButton *buttonFor(QAction *action, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

QAction *namedAction(QObject *parent, const char *name, const QString &text, const char *keys)
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    if (keys)
        action->setShortcut(QKeySequence(QLatin1String(keys)));
    return action;
}

void setUpNoteDate(QDateEdit *date, const char *name)
{
    date->setObjectName(QLatin1String(name));
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
}

void fillNoteKinds(QComboBox *kinds, const QStringList &tags, const QString &current)
{
    kinds->clear();
    kinds->addItem(QStringLiteral("（なし）"), QString());
    for (const QString &tag : tags)
        kinds->addItem(tag, tag);
    kinds->setCurrentIndex(std::max(0, kinds->findData(current)));
}

NotesPane::NotesPane(ClassWindow *window)
    : QWidget(window), m_window(window), m_caption(new QLabel(this)), m_list(new QListWidget(this)),
      m_date(new QDateEdit(this)), m_tag(new QComboBox(this)), m_text(new QPlainTextEdit(this)),
      m_add(namedAction(this, "actAddNote", QStringLiteral("メモを追加"), "Ctrl+M")),
      m_remove(namedAction(this, "actRemoveNote", QStringLiteral("メモを削除"), nullptr)),
      m_send(namedAction(this, "actNoteToComposition", QStringLiteral("メモを所見文に出す"), nullptr))
{
    setObjectName(QStringLiteral("NotesPane"));
    m_caption->setObjectName(QStringLiteral("NotesCaption"));
    m_caption->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("NotesList"));
    m_list->setWordWrap(true);
    m_list->setAlternatingRowColors(true);
    giveRowsRoom(m_list);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUpNoteDate(m_date, "NoteDate");
    m_tag->setObjectName(QStringLiteral("NoteTag"));
    m_text->setObjectName(QStringLiteral("NoteText"));
    m_text->setTabChangesFocus(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addWidget(m_caption);
    auto *buttons = new QHBoxLayout;
    for (QAction *action : commands())
        buttons->addWidget(buttonFor(action, this));
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(m_list, 3);
    auto *details = new QHBoxLayout;
    details->addWidget(new QLabel(QStringLiteral("日付"), this));
    details->addWidget(m_date);
    details->addWidget(new QLabel(QStringLiteral("種類"), this));
    details->addWidget(m_tag, 1);
    layout->addLayout(details);
    layout->addWidget(m_text, 2);

    nameControls(this, {
        {"NotesList", QStringLiteral("メモの一覧"), QStringLiteral("表で選んだ児童・生徒のメモ。新しいものが上です。")},
        {"NoteDate", QStringLiteral("メモの日付"), QString()},
        {"NoteTag", QStringLiteral("メモの種類"), QStringLiteral("「種類を増やす…」で学級の種類を足せます。")},
        {"NoteText", QStringLiteral("メモの文"), QStringLiteral("一覧で選んだメモ。ここで書き直せます。")},
    });

    connect(m_add, &QAction::triggered, this, &NotesPane::addNote);
    connect(m_remove, &QAction::triggered, this, &NotesPane::removeNote);
    connect(m_send, &QAction::triggered, this, &NotesPane::sendToComposition);
    connect(m_list, &QListWidget::currentRowChanged, this, &NotesPane::showNote);
    connect(m_text, &QPlainTextEdit::textChanged, this, &NotesPane::textEdited);
    connect(m_date, &QDateEdit::dateChanged, this, &NotesPane::dateEdited);
    connect(m_tag, &QComboBox::activated, this, &NotesPane::tagChosen);
    auto *table = window->findChild<QTableView *>(QStringLiteral("ClassTable"));
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, &NotesPane::followSelection);
    ClassTableModel *model = window->tableModel();
    connect(model, &ClassTableModel::structureChanged, this, &NotesPane::classReset);
    connect(model, &QAbstractItemModel::dataChanged, this, &NotesPane::notesChangedElsewhere);
    showPupil(-1, -1);
}

QList<QAction *> NotesPane::commands() const { return {m_add, m_remove, m_send}; }

int NotesPane::currentNote() const
{
    const int row = m_list->currentRow();
    return noteOf(m_window->classBook(), m_pupil, row) ? row : -1;
}

void NotesPane::followSelection()
{
    const int pupil = m_window->selectedPupil();
    if (pupil != m_pupil)
        showPupil(pupil, 0);
}

// Another class, or pupils added, moved or removed: the pupil's place may have changed.
void NotesPane::classReset() { showPupil(m_window->selectedPupil(), m_pupil == m_window->selectedPupil() ? currentNote() : 0); }

void NotesPane::notesChangedElsewhere(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (m_applying || m_pupil < topLeft.row() || m_pupil > bottomRight.row() || m_pupil >= m_window->classBook().pupils.size()
        || topLeft.column() > ClassTableModel::NotesCountColumn || bottomRight.column() < ClassTableModel::NotesCountColumn)
        return;
    // Keep the note the teacher was on, wherever it now stands.
    const PupilNote *shown = noteOf(m_window->classBook(), m_pupil, currentNote());
    const PupilNote before = shown ? *shown : PupilNote();
    const QList<PupilNote> &notes = m_window->classBook().pupils[m_pupil].notes;
    showPupil(m_pupil, shown ? std::max(0, int(notes.indexOf(before))) : 0);
}

void NotesPane::showPupil(int pupil, int note)
{
    const ClassBook &book = m_window->classBook();
    m_pupil = pupil >= 0 && pupil < book.pupils.size() ? pupil : -1;
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        if (m_pupil >= 0) {
            for (const PupilNote &item : book.pupils[m_pupil].notes)
                m_list->addItem(itemText(item));
            m_list->setCurrentRow(std::clamp(note, 0, m_list->count() - 1));
        }
    }
    if (m_pupil < 0) {
        m_caption->setText(QStringLiteral("表で児童・生徒を選ぶと、その子のメモが出ます。"));
    } else {
        const Pupil &p = book.pupils[m_pupil];
        m_caption->setText(QStringLiteral("%1 のメモ（%2件）").arg(pupilLabel(p)).arg(p.notes.size()));
    }
    m_add->setEnabled(m_pupil >= 0);
    showNote(m_list->currentRow());
}

void NotesPane::showNote(int note)
{
    const PupilNote *shown = noteOf(m_window->classBook(), m_pupil, note);
    m_loading = true;
    m_date->setDate(shown ? shown->date : QDate::currentDate());
    fillTags(shown ? shown->tag : QString());
    if (!shown || m_text->toPlainText() != shown->text)
        m_text->setPlainText(shown ? shown->text : QString());
    m_loading = false;
    for (QWidget *widget : {static_cast<QWidget *>(m_date), static_cast<QWidget *>(m_tag), static_cast<QWidget *>(m_text)})
        widget->setEnabled(shown);
    m_remove->setEnabled(shown);
    m_send->setEnabled(shown);
}

void NotesPane::fillTags(const QString &current)
{
    const bool wasLoading = std::exchange(m_loading, true);
    fillNoteKinds(m_tag, m_window->classBook().noteTags, current);
    m_tag->addItem(QStringLiteral("種類を増やす…"));
    m_loading = wasLoading;
}

ClassEdit NotesPane::apply(const std::function<ClassEdit(ClassBook &)> &edit, bool countChanges)
{
    m_applying = true;
    const ClassEdit result = m_window->store().apply(edit);
    if (result.ok && countChanges)
        m_window->tableModel()->notesChanged(m_pupil);
    m_applying = false;
    if (!result.ok)
        m_window->dialogs().inform(Title, result.reason, Dialogs::Icon::Warning);
    return result;
}

void NotesPane::updateItem(int note)
{
    if (const PupilNote *shown = noteOf(m_window->classBook(), m_pupil, note))
        m_list->item(note)->setText(itemText(*shown));
}

void NotesPane::textEdited()
{
    const int note = currentNote();
    if (m_loading || note < 0)
        return;
    const QString text = m_text->toPlainText();
    if (apply([&](ClassBook &book) { return setNoteText(book, m_pupil, note, text); }, false).ok)
        updateItem(note);
}

void NotesPane::dateEdited(const QDate &date)
{
    const int note = currentNote();
    if (m_loading || note < 0)
        return;
    const ClassEdit moved = apply([&](ClassBook &book) { return setNoteDate(book, m_pupil, note, date); }, false);
    if (!moved.ok)
        return;
    if (moved.index == note) {
        updateItem(note);
        return;
    }
    // The note changes places: the list follows it, the date box keeps the focus.
    const QSignalBlocker blocker(m_list);
    QListWidgetItem *item = m_list->takeItem(note);
    item->setText(itemText(m_window->classBook().pupils[m_pupil].notes[moved.index]));
    m_list->insertItem(moved.index, item);
    m_list->setCurrentRow(moved.index);
}

void NotesPane::tagChosen(int index)
{
    const int note = currentNote();
    if (m_loading || note < 0)
        return;
    QString tag = m_tag->itemData(index).toString();
    if (index == m_tag->count() - 1) {
        const std::optional<QString> added =
            m_window->dialogs().askText(QStringLiteral("メモの種類を増やす"), QStringLiteral("新しい種類（例: 読書）"), QString());
        const ClassEdit edit =
            added ? apply([&](ClassBook &book) { return addNoteTag(book, *added); }, false) : ClassEdit::refused({});
        if (!edit.ok) {
            fillTags(noteOf(m_window->classBook(), m_pupil, note)->tag);
            return;
        }
        tag = m_window->classBook().noteTags[edit.index];
        fillTags(tag);
    }
    if (apply([&](ClassBook &book) { return setNoteTag(book, m_pupil, note, tag); }, false).ok)
        updateItem(note);
}

void NotesPane::addNote()
{
    const int pupil = m_window->selectedPupil();
    if (!m_window->store().isOpen() || pupil < 0) {
        m_window->dialogs().inform(Title, QStringLiteral("表で児童・生徒を選んでから、メモを追加してください。"),
                                   Dialogs::Icon::Information);
        return;
    }
    if (pupil != m_pupil)
        showPupil(pupil, 0);
    const ClassEdit added =
        apply([&](ClassBook &book) { return ::addNote(book, pupil, {QDate::currentDate(), QString(), QString()}); }, true);
    if (!added.ok)
        return;
    showPupil(pupil, added.index);
    m_text->setFocus();
}

void NotesPane::removeNote()
{
    const int note = currentNote();
    if (note < 0)
        return;
    const PupilNote &shown = m_window->classBook().pupils[m_pupil].notes[note];
    if (!isBlankText(shown.text)
        && !m_window->dialogs().ask(Title,
                                    QStringLiteral("%1 のメモを削除しますか？\n\n%2")
                                        .arg(pupilLabel(m_window->classBook().pupils[m_pupil]), itemText(shown)),
                                    Dialogs::Icon::Question, false))
        return;
    const ClassEdit removed = apply([&](ClassBook &book) { return ::removeNote(book, m_pupil, note); }, true);
    if (removed.ok)
        showPupil(m_pupil, removed.index);
}

void NotesPane::sendToComposition()
{
    const PupilNote *shown = noteOf(m_window->classBook(), m_pupil, currentNote());
    CompositionAccess *composition = m_window->composition();
    if (!shown || !composition)
        return;
    if (isBlankText(shown->text)) {
        m_window->dialogs().inform(Title, QStringLiteral("このメモにはまだ文がありません。"), Dialogs::Icon::Information);
        return;
    }
    // After what is there, on a line of its own: the note is material to write from.
    QString text = composition->compositionText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    composition->setCompositionText(text + shown->text);
    m_window->statusBar()->showMessage(QStringLiteral("メモを所見文の後ろに出しました。"), 5000);
}

void NotesPane::selectNote(int note, qsizetype start, qsizetype length)
{
    if (!noteOf(m_window->classBook(), m_pupil, note))
        return;
    m_list->setCurrentRow(note);
    QTextCursor cursor(m_text->document());
    const int end = m_text->document()->characterCount() - 1;
    cursor.setPosition(std::min(int(start), end));
    cursor.setPosition(std::min(int(start + length), end), QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
}
