#include "RosterPreviewDialog.h"

#include "Colours.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QList<SexCodes> Codes = {SexCodes::OneIsBoy, SexCodes::OneIsGirl};
const QStringList PlanColumns = {QStringLiteral("行"), QStringLiteral("出席番号"), QStringLiteral("氏名"),
                                 QStringLiteral("ふりがな"), QStringLiteral("性別"), QStringLiteral("変わること")};
} // namespace

RosterPreviewDialog::RosterPreviewDialog(const RosterTable &table, const ClassBook &book, QWidget *parent)
    : QDialog(parent), m_table(table), m_book(book), m_headerRow(new QComboBox(this)), m_sexCodes(new QComboBox(this)),
      m_sexCodesLabel(new QLabel(QStringLiteral("性別の読み方"), this)), m_rows(new QTableWidget(this)),
      m_planRows(new QTableWidget(this)), m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("RosterPreview"));
    setWindowTitle(QStringLiteral("名簿の取り込み"));
    resize(900, 680);
    m_headerRow->setObjectName(QStringLiteral("RosterHeaderRow"));
    m_headerRow->addItem(QStringLiteral("なし"));
    for (int row = 0; row < m_table.rows.size(); ++row)
        m_headerRow->addItem(QStringLiteral("%1行目").arg(m_table.lines.value(row, row + 1)));
    m_headerRow->setCurrentIndex(m_table.headerRow + 1);
    m_sexCodes->setObjectName(QStringLiteral("RosterSexCodes"));
    for (SexCodes codes : Codes)
        m_sexCodes->addItem(sexCodesCaption(codes));
    m_sexCodes->setCurrentIndex(int(Codes.indexOf(m_table.sexCodes)));
    m_sexCodesLabel->setBuddy(m_sexCodes);
    m_rows->setObjectName(QStringLiteral("RosterRows"));
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_planRows->setObjectName(QStringLiteral("RosterPlanRows"));
    m_planRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_planRows->setColumnCount(int(PlanColumns.size()));
    m_planRows->setHorizontalHeaderLabels(PlanColumns);
    m_planRows->verticalHeader()->hide();
    m_planRows->horizontalHeader()->setStretchLastSection(true);
    m_summary->setObjectName(QStringLiteral("RosterSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("名簿：それぞれの列が何かを、いちばん上の欄で選んでください。"), this));
    auto *options = new QHBoxLayout;
    auto *headerLabel = new QLabel(QStringLiteral("見出しの行（これより上は表題として取り込みません）"), this);
    headerLabel->setBuddy(m_headerRow);
    options->addWidget(headerLabel);
    options->addWidget(m_headerRow);
    options->addSpacing(24);
    options->addWidget(m_sexCodesLabel);
    options->addWidget(m_sexCodes);
    options->addStretch(1);
    layout->addLayout(options);
    layout->addWidget(m_rows, 2);
    layout->addWidget(new QLabel(QStringLiteral("取り込むと、学級はこう変わります（まだ何も変えていません）："), this));
    layout->addWidget(m_planRows, 3);
    layout->addWidget(m_summary);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_import = buttons->button(QDialogButtonBox::Ok);
    m_import->setObjectName(QStringLiteral("RosterImport"));
    m_import->setText(QStringLiteral("取り込む"));
    m_import->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_headerRow, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_table.headerRow = index - 1;
        replan();
    });
    connect(m_sexCodes, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_table.sexCodes = Codes.value(index, SexCodes::OneIsBoy);
        replan();
    });
    fillRows();
    replan();
}

void RosterPreviewDialog::fillRows()
{
    const int columns = m_table.columnCount();
    const QList<RosterRole> roles = rosterRoles();
    m_rows->setColumnCount(columns);
    m_rows->setRowCount(int(m_table.rows.size()) + 1);
    for (int column = 0; column < columns; ++column) {
        auto *role = new QComboBox(m_rows);
        role->setObjectName(QStringLiteral("RosterRole%1").arg(column + 1));
        role->setAccessibleName(QStringLiteral("%1列目の役割").arg(column + 1));
        role->setAccessibleDescription(QStringLiteral("この列が出席番号、氏名、ふりがな、性別のどれか。"));
        for (RosterRole candidate : roles)
            role->addItem(rosterRoleCaption(candidate));
        role->setCurrentIndex(int(roles.indexOf(m_table.roles[column])));
        connect(role, &QComboBox::currentIndexChanged, this, [this, column, roles](int index) {
            m_table.roles[column] = roles.value(index, RosterRole::Ignore);
            replan();
        });
        m_rows->setCellWidget(0, column, role);
        // Tab goes through the column selectors after the options, then into the table.
        setTabOrder(column == 0 ? static_cast<QWidget *>(m_sexCodes) : m_rows->cellWidget(0, column - 1), role);
        for (int row = 0; row < m_table.rows.size(); ++row)
            m_rows->setItem(row + 1, column, new QTableWidgetItem(m_table.rows[row].value(column)));
    }
    // Each row is labelled with its line in the roster, as the messages below count them.
    QStringList lines{QStringLiteral("列")};
    for (int row = 0; row < m_table.rows.size(); ++row)
        lines.append(QString::number(m_table.lines.value(row, row + 1)));
    m_rows->setVerticalHeaderLabels(lines);
    m_rows->setTabKeyNavigation(false);
    if (columns > 0)
        setTabOrder(m_rows->cellWidget(0, columns - 1), m_rows);
    m_rows->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void RosterPreviewDialog::replan()
{
    m_sexCodesLabel->setVisible(hasSexCodes(m_table));
    m_sexCodes->setVisible(hasSexCodes(m_table));
    m_plan = planRosterTable(m_book, m_table);
    // The teacher's answers outlive a change of roles where the same row is asked again.
    for (RosterRowPlan &row : m_plan.rows) {
        const auto chosen = m_choices.constFind(row.line);
        if (row.asked() && chosen != m_choices.constEnd() && rosterChoices(row).contains(*chosen))
            row.pupil = *chosen;
    }
    showPlan();
}

void RosterPreviewDialog::showPlan()
{
    m_planRows->clearContents();
    m_planRows->setRowCount(int(m_plan.rows.size()));
    for (int r = 0; r < m_plan.rows.size(); ++r) {
        const RosterRowPlan &row = m_plan.rows[r];
        const Pupil &in = row.incoming;
        const QStringList cells = {QString::number(row.line), in.number ? QString::number(in.number) : QString(),
                                   in.name, in.kana, in.sex, rosterChangeCaption(m_plan, r)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (row.asked())
                item->setBackground(colours::lightYellow);
            m_planRows->setItem(r, column, item);
        }
        if (!row.asked())
            continue;
        auto *choice = new QComboBox(m_planRows);
        choice->setObjectName(QStringLiteral("RosterChoice%1").arg(r + 1));
        const QList<int> choices = rosterChoices(row);
        for (int pupil : choices)
            choice->addItem(rosterChoiceCaption(m_plan, r, pupil));
        choice->setCurrentIndex(int(choices.indexOf(row.pupil)));
        connect(choice, &QComboBox::currentIndexChanged, this,
                [this, r, choices](int index) { choose(r, choices.value(index, -1)); });
        m_planRows->setCellWidget(r, int(PlanColumns.size()) - 1, choice);
    }
    m_planRows->resizeColumnsToContents();
    updateSummary();
}

void RosterPreviewDialog::updateSummary()
{
    const QString problem = choiceProblem(m_plan);
    const QString summary = rosterPlanSummary(m_plan);
    m_summary->setText(problem.isEmpty() ? summary : problem + u'\n' + summary);
    m_import->setEnabled(problem.isEmpty() && !m_plan.rows.isEmpty());
}

void RosterPreviewDialog::choose(int row, int pupil)
{
    m_plan.rows[row].pupil = pupil;
    m_choices.insert(m_plan.rows[row].line, pupil);
    m_planRows->item(row, int(PlanColumns.size()) - 1)->setText(rosterChangeCaption(m_plan, row));
    updateSummary();
}
