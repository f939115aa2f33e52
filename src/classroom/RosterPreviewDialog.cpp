#include "RosterPreviewDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QList<RosterRole> Roles = {RosterRole::Ignore, RosterRole::Number, RosterRole::Name, RosterRole::Kana,
                                 RosterRole::Sex};
}

RosterPreviewDialog::RosterPreviewDialog(const RosterTable &table, QWidget *parent)
    : QDialog(parent), m_table(table), m_header(new QCheckBox(QStringLiteral("1行目は見出し（取り込まない）"), this)),
      m_rows(new QTableWidget(this)), m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("RosterPreview"));
    setWindowTitle(QStringLiteral("名簿の取り込み"));
    resize(640, 420);
    m_header->setObjectName(QStringLiteral("RosterHasHeader"));
    m_header->setChecked(m_table.hasHeader);
    m_rows->setObjectName(QStringLiteral("RosterRows"));
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary->setObjectName(QStringLiteral("RosterSummary"));
    m_summary->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("それぞれの列が何かを、いちばん上の欄で選んでください。"), this));
    layout->addWidget(m_header);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_summary);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("取り込む"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_header, &QCheckBox::toggled, this, [this](bool on) {
        m_table.hasHeader = on;
        updateSummary();
    });
    fillRows();
    updateSummary();
}

void RosterPreviewDialog::fillRows()
{
    const int columns = m_table.columnCount();
    m_rows->setColumnCount(columns);
    m_rows->setRowCount(int(m_table.rows.size()) + 1);
    for (int column = 0; column < columns; ++column) {
        auto *role = new QComboBox(m_rows);
        role->setObjectName(QStringLiteral("RosterRole%1").arg(column + 1));
        role->setAccessibleName(QStringLiteral("%1列目の役割").arg(column + 1));
        role->setAccessibleDescription(QStringLiteral("この列が出席番号、氏名、ふりがな、性別のどれか。"));
        for (RosterRole candidate : Roles)
            role->addItem(rosterRoleCaption(candidate));
        role->setCurrentIndex(int(Roles.indexOf(m_table.roles[column])));
        connect(role, &QComboBox::currentIndexChanged, this, [this, column](int index) {
            m_table.roles[column] = Roles.value(index, RosterRole::Ignore);
            updateSummary();
        });
        m_rows->setCellWidget(0, column, role);
        m_roles.append(role);
        for (int row = 0; row < m_table.rows.size(); ++row)
            m_rows->setItem(row + 1, column, new QTableWidgetItem(m_table.rows[row].value(column)));
    }
    // Each row is labelled with its line in the roster, as the messages below count them.
    m_rows->setVerticalHeaderItem(0, new QTableWidgetItem(QStringLiteral("列")));
    for (int row = 0; row < m_table.rows.size(); ++row)
        m_rows->setVerticalHeaderItem(row + 1, new QTableWidgetItem(QString::number(row + 1)));
    // Tab goes through the column selectors, then into the table, then to the buttons.
    m_rows->setTabKeyNavigation(false);
    QWidget *previous = m_header;
    for (QComboBox *role : std::as_const(m_roles)) {
        setTabOrder(previous, role);
        previous = role;
    }
    setTabOrder(previous, m_rows);
    m_rows->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void RosterPreviewDialog::updateSummary()
{
    const RosterPupils pupils = rosterPupils(m_table);
    QString text = QStringLiteral("%1人を取り込みます。").arg(pupils.pupils.size());
    if (!pupils.problems.isEmpty())
        text += QLatin1Char('\n') + pupils.problems.mid(0, 5).join(QLatin1Char('\n'));
    m_summary->setText(text);
}
