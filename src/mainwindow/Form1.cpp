#include "Form1.h"

#include "Accessibility.h"
#include "ClassLink.h"
#include "Characters.h"
#include "Colours.h"
#include "Composition.h"
#include "Dialogs.h"
#include "Editing.h"
#include "Fonts.h"
#include "KbHelp.h"
#include "TextBox.h"
#include "Twips.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int clientWidth = 7530;
constexpr int clientHeight = 4800;
constexpr int text1Height = 1335;
constexpr int largeExtra = 400; // "大" makes the window and the composition box this much taller

} // namespace

Form1::Form1(const QString &folder, std::unique_ptr<Dialogs> dialogs, QWidget *parent)
    : QMainWindow(parent),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<MessageBoxDialogs>(this)),
      m_library(folder),
      m_client(new QWidget(this)),
      m_frame(new QGroupBox(m_client))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ことばん　（所見作成ソフト）"));
    setWindowIcon(QIcon(QStringLiteral(":/kotoban/kotoban32.png")));
    setFont(uiFont(9));
    m_client->setObjectName(QStringLiteral("client"));
    setBackground(m_client, colours::lightYellow);
    m_client->setFixedSize(twips(clientWidth), twips(clientHeight));
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    createMenus();
    createFrame();
    createCompositionArea();
    setupTabOrder();
    setupFocusTracking();
    Form_Load();
    nameMainWindowControls(this);
}

Form1::~Form1()
{
    // Focus changes while the controls are torn down must not reach the focus tracking.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_help)
        delete m_help.data();
}

QPushButton *Form1::createButton(QWidget *parent, const char *name, const QString &caption, QRect geometry,
                                 double pointSize, void (Form1::*handler)())
{
    auto *button = new QPushButton(caption, parent);
    connect(button, &QPushButton::clicked, this, handler);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(geometry));
    if (pointSize > 0)
        button->setFont(uiFont(pointSize));
    return button;
}

void Form1::createFrame()
{
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setGeometry(twipsRect(120, 0, 7335, 3255));
    setBackground(m_frame, colours::grey);

    static const int optionGeometry[3][2] = {{240, 1695}, {2160, 2535}, {4920, 2295}};
    for (int i = 0; i < 3; ++i) {
        m_options[i] = new QRadioButton(categoryRules()[i].defaultTitle, m_frame);
        m_options[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        m_options[i]->setGeometry(twipsRect(optionGeometry[i][0], 240, optionGeometry[i][1], 375));
        m_options[i]->setFont(uiFont(9.75));
        setBackground(m_options[i], colours::grey);
        m_pages[i] = new CategoryPage(categoryLooks()[i], m_library.category(i), m_frame, this);
        connect(m_pages[i], &CategoryPage::classTextCut, this, [this](int maxLength) {
            inform(QStringLiteral("分類の欄に入るのは%1字までです。それより後ろは入りませんでした。").arg(maxLength));
        });
        connect(m_options[i], &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                Option1_Click();
        });
    }
    m_options[0]->setChecked(true);

    auto *label1 = new QLabel(QStringLiteral("例文数"), m_frame);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(4920, 720, 615, 255));
    label1->setFont(uiFont(8.25));
    setBackground(label1, colours::grey);

    m_button.remove = createButton(m_frame, "CmdDelete", QStringLiteral("例文削除"), {240, 2160, 975, 300}, 8.25,
                                   &Form1::CmdDelete_Click);
    m_button.edit = createButton(m_frame, "CmdEdit", QStringLiteral("例文訂正"), {240, 2520, 975, 300}, 8.25,
                                 &Form1::CmdEdit_Click);
    m_button.add = createButton(m_frame, "CmdAdd1", QStringLiteral("例文追加"), {240, 2880, 975, 300}, 8.25,
                                &Form1::CmdAdd1_Click);
    m_button.back = createButton(m_frame, "CmdBack", QStringLiteral("前文"), {5760, 2160, 615, 375}, 8.25,
                                 &Form1::CmdBack_Click);
    m_button.next = createButton(m_frame, "CmdNext", QStringLiteral("次文"), {6480, 2160, 615, 375}, 8.25,
                                 &Form1::CmdNext_Click);
    m_button.kettei = createButton(m_frame, "CmdKettei1", QStringLiteral("決　定"), {5760, 2640, 1335, 495}, 0,
                                   &Form1::CmdKettei1_Click);
}

void Form1::createCompositionArea()
{
    m_text1 = new TextBox(m_client);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(twipsRect(120, 3360, 5655, text1Height));
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_classLink = std::make_unique<ClassLink>(m_library.folder().dir().path(), m_text1, &m_library,
                                              QList<TextBox *>{m_pages[0]->exampleBox(), m_pages[1]->exampleBox(),
                                                               m_pages[2]->exampleBox()});
    m_button.clear = createButton(m_client, "CmdClear", QStringLiteral("文章消去"), {5880, 3480, 1455, 375}, 0,
                                  &Form1::CmdClear_Click);
    m_button.copy = createButton(m_client, "CmdCopy", QStringLiteral("文章をコピー"), {5880, 3960, 1455, 495}, 0,
                                 &Form1::CmdCopy_Click);

    m_count = new QLabel(m_client);
    m_count->setObjectName(QStringLiteral("LabelCount"));
    m_count->setGeometry(twipsRect(5880, 4500, 1455, 255));
    m_count->setAlignment(Qt::AlignCenter);
    m_count->setText(QStringLiteral("0字"));
    connect(m_text1, &QPlainTextEdit::textChanged, this,
            [this] { m_count->setText(QString::number(characterCount(m_text1->text())) + u'字'); });
    for (TextBox *box : textBoxes())
        box->setFont(uiFont(9));
}

void Form1::setupTabOrder()
{
    QList<QWidget *> order;
    for (CategoryPage *page : m_pages)
        order += page->tabChain();
    order += {m_pages[0]->exampleBox(), m_button.kettei, m_options[0], m_text1, m_button.copy, m_button.clear,
              m_options[1], m_options[2], m_pages[2]->exampleBox(), m_pages[1]->exampleBox(), m_button.next,
              m_button.back, m_button.edit, m_button.remove, m_button.add};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::setupFocusTracking()
{
    // The Edit menu acts on the example box that has the focus, and on the composition
    // box once any other control of this window takes it. The menu bar (which takes the
    // focus while a menu is opened with Alt or an access key), the menus themselves and
    // other windows leave the target alone.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || now->window() != this || now == menuBar())
            return;
        m_textFocus = 1;
        for (int i = 0; i < 3; ++i)
            if (now == m_pages[i]->exampleBox())
                m_textFocus = i + 2;
    });
}

void Form1::Form_Load()
{
    Option1_Click();
    LoadLibrary();
}

void Form1::Option1_Click()
{
    for (int i = 0; i < 3; ++i)
        m_pages[i]->setVisible(false);
    if (CategoryPage *page = currentPage())
        page->setVisible(true);
}

CategoryPage *Form1::currentPage()
{
    for (int i = 0; i < 3; ++i)
        if (m_options[i]->isChecked())
            return m_pages[i];
    return nullptr;
}

void Form1::RefillClassLists()
{
    for (CategoryPage *page : m_pages)
        page->fillClassList();
}

void Form1::CmdKettei1_Click()
{
    if (CategoryPage *page = currentPage())
        appendExample(*m_text1, page->exampleBox()->text());
}

void Form1::CmdClear_Click() { m_text1->setText(QString()); }

void Form1::CmdCopy_Click() { copyToClipboard(*m_text1); }

void Form1::CmdAdd1_Click()
{
    if (CategoryPage *page = currentPage())
        addExample(*page, *m_dialogs, [this] { RefillClassLists(); });
    reportJournalProblem();
}

void Form1::CmdEdit_Click()
{
    if (CategoryPage *page = currentPage())
        correctExample(*page, *m_dialogs);
    reportJournalProblem();
}

void Form1::CmdDelete_Click()
{
    if (CategoryPage *page = currentPage())
        if (const int shown = deleteExample(*page, *m_dialogs))
            m_edCurrent = shown;
    reportJournalProblem();
}

void Form1::CmdNext_Click()
{
    if (CategoryPage *page = currentPage())
        m_edCurrent = page->browse(+1);
}

void Form1::CmdBack_Click()
{
    if (CategoryPage *page = currentPage())
        m_edCurrent = page->browse(-1);
}

void Form1::setTextSize(bool large)
{
    (large ? m_mozi2 : m_mozi1)->setChecked(true);
    const int extra = large ? largeExtra : 0;
    m_client->setFixedSize(twips(clientWidth), twips(clientHeight + extra));
    m_text1->resize(m_text1->width(), twips(text1Height + extra));
    const QFont font = uiFont(large ? 11 : 9);
    for (TextBox *box : textBoxes())
        box->setFont(font);
}

void Form1::mnuMozi1_Click() { setTextSize(false); }

void Form1::mnuMozi2_Click() { setTextSize(true); }

std::array<TextBox *, 4> Form1::textBoxes() const
{
    return {m_text1, m_pages[0]->exampleBox(), m_pages[1]->exampleBox(), m_pages[2]->exampleBox()};
}
