#include "ClassEditor.h"

#include "CellMarks.h"
#include "LengthBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

ClassEditor::ClassEditor(QWidget *parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_text(new QPlainTextEdit(this)), m_count(new QLabel(this)),
      m_bar(new LengthBar(this))
{
    m_caption->setObjectName(QStringLiteral("ClassEditorCaption"));
    // A long name and field wrap, so the editor does not hold the example pane and 点検 narrow.
    m_caption->setWordWrap(true);
    m_text->setObjectName(QStringLiteral("ClassText"));
    m_text->setTabChangesFocus(true);
    m_count->setObjectName(QStringLiteral("ClassCount"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for a count within the limit, so typing does not move it; the rare count over it takes more.
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("1000/1000字")));
    m_bar->setObjectName(QStringLiteral("ClassBar"));
    m_bar->setAccessibleName(QStringLiteral("字数の割合"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_top = new QHBoxLayout;
    m_top->addWidget(m_caption, 1);
    m_top->addWidget(m_count);
    layout->addLayout(m_top);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_bar);

    connect(m_text, &QPlainTextEdit::textChanged, this, [this]() {
        updateCount();
        if (!m_showing)
            Q_EMIT edited(text());
    });
    showText(QString(), QString(), 0);
}

void ClassEditor::showText(const QString &caption, const QString &text, int limit)
{
    m_limit = limit;
    m_showing = true;
    m_caption->setText(caption.isEmpty() ? QStringLiteral("表の欄を選ぶと、ここで文章を書けます。") : caption);
    m_text->setReadOnly(caption.isEmpty());
    if (m_text->toPlainText() != text) {
        m_text->setPlainText(text);
        // Writing goes on after what is there: an example put in lands at the end.
        m_text->moveCursor(QTextCursor::End);
    }
    m_showing = false;
    updateCount();
}

QString ClassEditor::text() const { return m_text->toPlainText(); }

QString ClassEditor::countText() const { return m_count->text(); }

void ClassEditor::addHeaderWidget(QWidget *widget) { m_top->insertWidget(m_top->indexOf(m_count), widget); }

void ClassEditor::updateCount()
{
    const CellMarks marks = cellMarks(text(), m_limit, false);
    const int length = marks.length;
    const bool over = marks.overLimit;
    if (m_limit <= 0)
        m_count->setText(QStringLiteral("%1字").arg(length));
    else if (over)
        m_count->setText(QStringLiteral("！%1/%2字（%3字多い）").arg(length).arg(m_limit).arg(length - m_limit));
    else
        m_count->setText(QStringLiteral("%1/%2字").arg(length).arg(m_limit));
    if (over != m_over) {
        // Style sheets re-polish the widget: only when the state flips, not at every key.
        m_over = over;
        m_count->setStyleSheet(over ? QStringLiteral("color: #b00000; font-weight: bold;") : QString());
    }
    m_bar->setVisible(m_limit > 0);
    m_bar->setMarks(marks, m_limit);
}
