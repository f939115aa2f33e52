#include "SearchPanel.h"

#include "AccessibleNames.h"
#include "ClassChecks.h"
#include "ClassEditor.h"
#include "RoomyRows.h"
#include "ClassWindow.h"
#include "NotesPane.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

SearchPanel::SearchPanel(ClassWindow *window, NotesPane *notes)
    : QDockWidget(QStringLiteral("学級の中を検索"), window), m_window(window), m_notes(notes), m_box(new QLineEdit(this)),
      m_summary(new QLabel(this)), m_hits(new QListWidget(this))
{
    setObjectName(QStringLiteral("SearchPanel"));
    m_box->setObjectName(QStringLiteral("ClassSearchBox"));
    m_box->setPlaceholderText(QStringLiteral("言葉を入れると、所見とメモから探します"));
    m_box->setClearButtonEnabled(true);
    m_summary->setObjectName(QStringLiteral("SearchSummary"));
    m_summary->setWordWrap(true);
    m_hits->setObjectName(QStringLiteral("SearchHits"));
    m_hits->setAlternatingRowColors(true);
    giveRowsRoom(m_hits);
    nameControl(m_box, QStringLiteral("学級の中を検索"), QStringLiteral("氏名、すべての欄、すべてのメモから探します。"));
    nameControl(m_hits, QStringLiteral("見つかったところ"), QStringLiteral("選ぶと、その欄かメモが選ばれます。"));

    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(m_box);
    layout->addWidget(m_summary);
    layout->addWidget(m_hits, 1);
    setWidget(content);

    connect(m_box, &QLineEdit::textChanged, this, &SearchPanel::search);
    connect(m_box, &QLineEdit::returnPressed, this, [this] {
        if (m_hits->count() > 0) {
            m_hits->setFocus();
            m_hits->setCurrentRow(0);
        }
    });
    connect(m_hits, &QListWidget::currentRowChanged, this, &SearchPanel::hitChosen);
    connect(&window->store(), &ClassStore::bookReplaced, this, &SearchPanel::search);
}

void SearchPanel::start()
{
    show();
    raise();
    m_box->setFocus();
    m_box->selectAll();
    search(); // the class may have changed since the last search
}

void SearchPanel::search()
{
    const ClassBook &book = m_window->classBook();
    m_result = searchClass(book, m_box->text());
    const QSignalBlocker blocker(m_hits);
    m_hits->clear();
    for (const SearchHit &hit : std::as_const(m_result.hits)) {
        const Pupil &pupil = book.pupils[hit.pupil];
        const QString where = hit.field == NotesColumn
            ? QStringLiteral("メモ %1").arg(pupil.notes[hit.note].date.toString(QStringLiteral("M/d")))
            : columnName(book, hit.field);
        auto *item = new QListWidgetItem(QStringLiteral("%1　%2\n%3").arg(pupilLabel(pupil), where, hit.context), m_hits);
        item->setToolTip(item->text());
    }
    if (m_box->text().trimmed().isEmpty())
        m_summary->setText(QString());
    else if (m_result.hits.isEmpty())
        m_summary->setText(QStringLiteral("見つかりませんでした。"));
    else if (m_result.truncated)
        m_summary->setText(QStringLiteral("%1 か所より多くあります。言葉を長くすると絞れます。").arg(m_result.hits.size()));
    else
        m_summary->setText(QStringLiteral("%1 か所あります。").arg(m_result.hits.size()));
}

void SearchPanel::hitChosen(int row)
{
    if (row < 0 || row >= m_result.hits.size())
        return;
    const SearchHit &hit = m_result.hits[row];
    if (hit.pupil >= m_window->classBook().pupils.size())
        return;
    const bool inField = hit.field >= 0;
    m_window->selectCell(hit.pupil, inField ? hit.field : m_window->selectedField());
    // The words themselves, as long as the text still holds them there.
    const QString words = searchFolded(m_box->text().trimmed());
    auto stillThere = [&](const QString &text) {
        return hit.start + hit.length <= text.size() && searchFolded(QStringView(text).mid(hit.start, hit.length)) == words;
    };
    const Pupil &pupil = m_window->classBook().pupils[hit.pupil];
    if (hit.field == NotesColumn && hit.note < pupil.notes.size() && stillThere(pupil.notes[hit.note].text))
        m_notes->selectNote(hit.note, hit.start, hit.length);
    QPlainTextEdit *edit = m_window->editor()->textEdit();
    if (!inField || !stillThere(edit->toPlainText()))
        return;
    QTextCursor cursor(edit->document());
    cursor.setPosition(int(hit.start));
    cursor.setPosition(int(hit.start + hit.length), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}
