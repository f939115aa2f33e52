#pragma once

#include <QWidget>

class ClickableLabel;
class WrapLabel;

// KbHelp is the user guide: a separate, modeless window showing a contents screen and five
// pages of fixed text (HelpTexts). Its only state is KbPage, the number of the screen shown
// (0 the contents, 1 to 4 the pages, 5 the page "６　その他"). Every screen is the same set of
// labels shown or hidden; LabelBase, the big white label at the back, carries the title or
// the page's text. The labels that act as links report clicks to the handlers below.
//
// The window deletes itself when closed, so the owner holds it in a QPointer, creates it when
// the pointer is null (it then starts at the contents screen) and otherwise shows and raises
// the existing one, which keeps its screen.
class KbHelp : public QWidget
{
    Q_OBJECT

public:
    // With a parent the window still stands on its own (Qt::Window) but dies with the parent.
    explicit KbHelp(QWidget *parent = nullptr);

    int kbPage() const { return KbPage; }

private:
    void createLabels();
    void connectLabels();

    void ShowContents();
    void ShowPage(int page);
    void ShowScreen(int k);
    void setContentsEntriesVisible(bool visible);

    void Form_Load();
    void LabelNext_Click();
    void LabelBack_Click();
    void LabelTop_Click();
    void LabelPage1_Click();
    void LabelPage2_Click();
    void LabelPage3_Click();
    void LabelPage4_Click();
    void LabelPage6_Click();
    void LabelClose_Click();

    int KbPage = 0;

    WrapLabel *LabelBase = nullptr;
    WrapLabel *LabelHyousi = nullptr;
    ClickableLabel *LabelClose = nullptr;
    ClickableLabel *LabelTop = nullptr;
    ClickableLabel *LabelBack = nullptr;
    ClickableLabel *LabelNext = nullptr;
    ClickableLabel *LabelPage1 = nullptr;
    ClickableLabel *LabelPage2 = nullptr;
    ClickableLabel *LabelPage3 = nullptr;
    ClickableLabel *LabelPage4 = nullptr;
    ClickableLabel *LabelPage6 = nullptr;
};
