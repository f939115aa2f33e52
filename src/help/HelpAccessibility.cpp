#include "HelpAccessibility.h"

#include "AccessibleNames.h"
#include "HelpTexts.h"

#include <QLabel>

void nameHelpWindowControls(QWidget *help)
{
    auto label = [help](const char *name) { return help->findChild<QLabel *>(QLatin1String(name)); };
    struct Link {
        const char *objectName;
        QString name;
        QString description;
    };
    const Link links[] = {
        {"LabelClose", QStringLiteral("閉じる"), QStringLiteral("ヘルプを閉じます。")},
        {"LabelTop", QStringLiteral("トップへ"), QStringLiteral("ヘルプの目次に戻ります。")},
        {"LabelBack", QStringLiteral("前へ"), QStringLiteral("ヘルプの前の画面に戻ります。")},
        {"LabelNext", QStringLiteral("次へ"), QStringLiteral("ヘルプの次の画面に進みます。")},
    };
    for (const Link &link : links)
        if (QLabel *found = label(link.objectName))
            nameLinkLabel(found, link.name, link.description);

    // The contents entries read as their captions, numbered as the pages are.
    const char *const entries[HelpPageCount] = {"LabelPage1", "LabelPage2", "LabelPage3", "LabelPage4",
                                                "LabelPage6"};
    for (int page = 1; page <= HelpPageCount; ++page)
        if (QLabel *found = label(entries[page - 1]))
            nameLinkLabel(found, helpEntryCaption(page).replace(u'\u3000', u' '),
                          QStringLiteral("ヘルプのページ「%1」を開きます。").arg(helpEntryCaption(page)));

    if (QLabel *base = label("LabelBase"))
        nameValueLabel(base, QStringLiteral("ヘルプ本文"),
                       QStringLiteral("目次の見出し、または開いているページの文章。"));
    if (QLabel *greeting = label("LabelHyousi"))
        nameValueLabel(greeting, QStringLiteral("ごあいさつ"), QStringLiteral("目次の画面のごあいさつの文章。"));
}
