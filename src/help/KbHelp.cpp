#include "KbHelp.h"

#include "Colours.h"
#include "ClickableLabel.h"
#include "Fonts.h"
#include "HelpAccessibility.h"
#include "HelpTexts.h"
#include "Twips.h"
#include "WrapLabel.h"

#include <QColor>
#include <QPalette>

namespace {

constexpr double LinkPointSize = 14.25;
constexpr double GreetingPointSize = 12;
// The window's own font, used by LabelBase for the title and the pages.
constexpr double DefaultPointSize = 9;

// Places a label as the window was designed: plain text from the top-left corner, filled
// with `background` when one is given, otherwise transparent.
template<typename Label>
Label *placeLabel(QWidget *window, const char *name, const QRect &geometry,
                  const QColor &background = QColor())
{
    auto *label = new Label(window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (background.isValid())
        setBackground(label, background);
    return label;
}

ClickableLabel *placeLink(QWidget *window, const char *name, const QString &caption,
                          const QFont &font, const QRect &geometry,
                          const QColor &background = QColor())
{
    auto *label = placeLabel<ClickableLabel>(window, name, geometry, background);
    label->setText(caption);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

KbHelp::KbHelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("KbHelp"));
    setWindowTitle(QStringLiteral("「ことばんヘルプ」"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips(7860), twips(5850));
    setFont(uiFont(DefaultPointSize));

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colours::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    createLabels();
    connectLabels();
    Form_Load();
    nameHelpWindowControls(this);
}

void KbHelp::createLabels()
{
    // Created first, LabelBase lies behind every other label.
    LabelBase = placeLabel<WrapLabel>(this, "LabelBase", twipsRect(120, 600, 7455, 5175), colours::white);

    const QFont navigation = uiFont(LinkPointSize, true);
    LabelClose = placeLink(this, "LabelClose", QStringLiteral("閉じる"), navigation,
                           twipsRect(240, 120, 1095, 375), colours::white);
    LabelTop = placeLink(this, "LabelTop", QStringLiteral("トップへ"), navigation,
                         twipsRect(1680, 120, 1095, 375), colours::white);
    LabelBack = placeLink(this, "LabelBack", QStringLiteral("←前へ"), navigation,
                          twipsRect(4920, 120, 1215, 375), colours::white);
    LabelNext = placeLink(this, "LabelNext", QStringLiteral("次へ→"), navigation,
                          twipsRect(6240, 120, 975, 375), colours::white);

    LabelHyousi = placeLabel<WrapLabel>(this, "LabelHyousi", twipsRect(4920, 1440, 2655, 3975),
                                        colours::lightYellow);
    LabelHyousi->setFont(uiFont(GreetingPointSize));

    const QFont entry = uiFont(LinkPointSize);
    LabelPage1 = placeLink(this, "LabelPage1", helpEntryCaption(1), entry,
                           twipsRect(240, 1440, 4335, 495));
    LabelPage2 = placeLink(this, "LabelPage2", helpEntryCaption(2), entry,
                           twipsRect(240, 2160, 4335, 495));
    LabelPage3 = placeLink(this, "LabelPage3", helpEntryCaption(3), entry,
                           twipsRect(240, 2880, 4335, 495));
    LabelPage4 = placeLink(this, "LabelPage4", helpEntryCaption(4), entry,
                           twipsRect(240, 3600, 4335, 495));
    LabelPage6 = placeLink(this, "LabelPage6", helpEntryCaption(5), entry,
                           twipsRect(240, 4920, 4335, 495));
}

void KbHelp::connectLabels()
{
    connect(LabelClose, &ClickableLabel::clicked, this, &KbHelp::LabelClose_Click);
    connect(LabelTop, &ClickableLabel::clicked, this, &KbHelp::LabelTop_Click);
    connect(LabelBack, &ClickableLabel::clicked, this, &KbHelp::LabelBack_Click);
    connect(LabelNext, &ClickableLabel::clicked, this, &KbHelp::LabelNext_Click);
    connect(LabelPage1, &ClickableLabel::clicked, this, &KbHelp::LabelPage1_Click);
    connect(LabelPage2, &ClickableLabel::clicked, this, &KbHelp::LabelPage2_Click);
    connect(LabelPage3, &ClickableLabel::clicked, this, &KbHelp::LabelPage3_Click);
    connect(LabelPage4, &ClickableLabel::clicked, this, &KbHelp::LabelPage4_Click);
    connect(LabelPage6, &ClickableLabel::clicked, this, &KbHelp::LabelPage6_Click);
}

void KbHelp::setContentsEntriesVisible(bool visible)
{
    for (QLabel *entry : {LabelPage1, LabelPage2, LabelPage3, LabelPage4, LabelPage6})
        entry->setVisible(visible);
    LabelHyousi->setVisible(visible);
}

void KbHelp::ShowContents()
{
    KbPage = 0;
    LabelTop->hide();
    LabelBack->hide();
    LabelNext->show();
    LabelBase->show();
    setContentsEntriesVisible(true);
    LabelBase->setText(helpContentsTitle());
    LabelHyousi->setText(helpGreeting());
}

void KbHelp::ShowPage(int page)
{
    KbPage = page;
    LabelTop->show();
    LabelBack->show();
    LabelNext->show();
    LabelBase->show();
    setContentsEntriesVisible(false);
    if (page == 5) // "６　その他" is the last page
        LabelNext->hide();
    LabelBase->setText(helpPageText(page));
}

void KbHelp::ShowScreen(int k)
{
    if (k == 0)
        ShowContents();
    else if (k >= 1 && k <= HelpPageCount)
        ShowPage(k);
}

void KbHelp::Form_Load()
{
    ShowContents();
}

void KbHelp::LabelNext_Click()
{
    if (KbPage >= HelpPageCount) {
        KbPage = HelpPageCount;
        return;
    }
    ++KbPage;
    ShowScreen(KbPage);
}

void KbHelp::LabelBack_Click()
{
    if (KbPage > 0) {
        --KbPage;
        ShowScreen(KbPage);
    } else {
        KbPage = 0;
    }
}

void KbHelp::LabelTop_Click() { ShowContents(); }
void KbHelp::LabelPage1_Click() { ShowPage(1); }
void KbHelp::LabelPage2_Click() { ShowPage(2); }
void KbHelp::LabelPage3_Click() { ShowPage(3); }
void KbHelp::LabelPage4_Click() { ShowPage(4); }
void KbHelp::LabelPage6_Click() { ShowPage(5); }

void KbHelp::LabelClose_Click()
{
    // WA_DeleteOnClose: the window and its state go, as when closed by its frame.
    close();
}
