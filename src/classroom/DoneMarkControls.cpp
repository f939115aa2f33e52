#include "DoneMarkControls.h"

#include "ClassEditor.h"
#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "DoneMarks.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>

DoneMarkControls::DoneMarkControls(ClassWindow *window)
    : QObject(window), m_window(window), m_box(new QCheckBox(QStringLiteral("完了"), window)),
      m_count(new QLabel(window)), m_action(new QAction(QStringLiteral("完了にする／やめる"), window))
{
    m_box->setObjectName(QStringLiteral("DoneBox"));
    m_box->setAccessibleName(QStringLiteral("完了"));
    m_box->setAccessibleDescription(QStringLiteral("この欄を書き終えたら入れます（Ctrl+D）。完了の後で書き直すと「書き直しあり」になります。"));
    window->editor()->addHeaderWidget(m_box);
    m_count->setObjectName(QStringLiteral("DoneCount"));
    window->statusBar()->addPermanentWidget(m_count);

    m_action->setObjectName(QStringLiteral("actToggleDone"));
    m_action->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    m_action->setShortcutContext(Qt::WindowShortcut);
    if (auto *menu = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuComposition"))) {
        menu->addSeparator();
        menu->addAction(m_action);
    } else {
        window->addAction(m_action);
    }
    connect(m_action, &QAction::triggered, this, &DoneMarkControls::toggleSelected);
    // The box shows the model's state, never its own: a click asks the model, then shows it.
    connect(m_box, &QCheckBox::clicked, this, &DoneMarkControls::toggleSelected);

    ClassTableModel *model = window->tableModel();
    connect(model, &QAbstractItemModel::dataChanged, this, &DoneMarkControls::showState);
    connect(model, &QAbstractItemModel::modelReset, this, &DoneMarkControls::showState);
    if (auto *table = window->findChild<QTableView *>(QStringLiteral("ClassTable")))
        connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, &DoneMarkControls::showState);
    showState();
}

void DoneMarkControls::toggleSelected()
{
    const int pupil = m_window->selectedPupil();
    const int field = m_window->selectedField();
    if (pupil >= 0 && field >= 0
        && m_window->store().apply([&](ClassBook &book) { return toggleDone(book, pupil, field); }).ok)
        m_window->tableModel()->cellChanged(pupil, field);
    showState();
}

void DoneMarkControls::showState()
{
    const ClassBook &book = m_window->classBook();
    const int pupil = m_window->selectedPupil();
    const int field = m_window->selectedField();
    const bool cell = m_window->store().isOpen() && pupil >= 0 && field >= 0;
    const DoneState state = cell ? doneState(book, pupil, field) : DoneState::Open;
    m_box->setEnabled(cell);
    m_action->setEnabled(cell);
    m_box->setCheckState(state == DoneState::Open ? Qt::Unchecked
                         : state == DoneState::Done ? Qt::Checked
                                                    : Qt::PartiallyChecked);
    m_box->setText(state == DoneState::ChangedSinceDone ? QStringLiteral("完了（完了の後で書き直しあり）")
                                                        : QStringLiteral("完了"));
    if (!m_window->store().isOpen() || field < 0) {
        m_count->clear();
        return;
    }
    const DoneCount count = doneCount(book, field);
    QString text = QStringLiteral("完了 %1/%2（%3）").arg(count.done).arg(count.pupils).arg(book.fields[field].name);
    if (count.changed > 0)
        text += QStringLiteral("・うち書き直しあり %1").arg(count.changed);
    m_count->setText(text);
    m_count->setAccessibleName(text);
}
