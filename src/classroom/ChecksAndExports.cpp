#include "ChecksAndExports.h"

#include "CheckPanel.h"
#include "ClassWindow.h"
#include "DoneMarkControls.h"
#include "DuplicateMarks.h"
#include "ExportCommands.h"
#include "StarterRules.h"
#include "WordingRules.h"
#include "HandInCommands.h"

#include <QAction>
#include <QDir>
#include <QStatusBar>

namespace {

const QString MenuTitle = QStringLiteral("点検・書き出し(&E)");

QAction *command(ClassWindow *window, const char *name, const QString &text)
{
    auto *action = new QAction(text, window);
    action->setObjectName(QLatin1String(name));
    return action;
}

// The class's settings, changed through the class store so they are saved with it; the
// list, when shown, follows them at once.
void editCheckSettings(ClassWindow *window, CheckPanel *panel)
{
    if (!window->store().isOpen())
        return;
    const std::optional<CheckSettings> settings = window->dialogs().editCheckSettings(window->classBook().checks);
    if (!settings || *settings == window->classBook().checks)
        return;
    window->store().apply([&settings](ClassBook &book) { book.checks = *settings; });
    window->classEdited();
    if (panel->isVisible())
        panel->runCheck();
}

// The starter's new sections, into the teacher's own rules file only now that she asks,
// after she has seen what they are.
void addStarterRules(ClassWindow *window, CheckPanel *panel)
{
    const QString title = QStringLiteral("表記ルールに見本を加える");
    const QString path = QDir(window->workingFolder()).filePath(WordingRulesFileName);
    ClassDialogs &dialogs = window->dialogs();
    const StarterFileChange preview = previewStarterSections(path);
    if (!preview.ok) {
        dialogs.inform(title, preview.error, Dialogs::Icon::Warning);
        return;
    }
    if (!preview.created && preview.added.isEmpty()) {
        dialogs.inform(title, QStringLiteral("%1 には、見本の決まりがもう入っています。").arg(WordingRulesFileName),
                       Dialogs::Icon::Information);
        return;
    }
    QString question;
    if (preview.created) {
        question = QStringLiteral("%1 がありません。見本の決まり（%2 個）で作りますか？")
                       .arg(WordingRulesFileName)
                       .arg(preview.added.ruleCount);
    } else {
        QStringList lines;
        for (qsizetype i = 0; i < preview.added.sections.size(); ++i)
            lines.append(QStringLiteral("・%1（%2 個）")
                             .arg(preview.added.sections[i].section(u'（', 0, 0))
                             .arg(preview.added.sectionRules[i]));
        question = QStringLiteral("%1 の最後に、見本の次の決まりを加えますか？\n\n%2\n\n"
                                  "いま書いてある決まりは、そのまま残ります（加える前のファイルは 表記ルール.bak に残します）。")
                       .arg(WordingRulesFileName, lines.join(u'\n'));
    }
    if (!dialogs.ask(title, question, Dialogs::Icon::Question, true))
        return;
    const StarterFileChange done = addStarterSections(path);
    if (!done.ok) {
        dialogs.inform(title, done.error, Dialogs::Icon::Warning);
        return;
    }
    window->statusBar()->showMessage(
        QStringLiteral("%1 に決まりを %2 個加えました。").arg(WordingRulesFileName).arg(done.added.ruleCount), 10000);
    if (panel->isVisible())
        panel->runCheck();
}

} // namespace

void addChecksAndExports(ClassWindow *window)
{
    new DuplicateMarks(window->classBook(), window->tableModel());
    auto *panel = new CheckPanel(window);
    window->addDockWidget(Qt::RightDockWidgetArea, panel);
    panel->hide();
    QAction *check = command(window, "actCheck", QStringLiteral("点検"));
    check->setShortcut(QKeySequence(QStringLiteral("F7")));
    QObject::connect(check, &QAction::triggered, panel, [window, panel] {
        if (!window->store().isOpen())
            return;
        panel->showAtStoredWidth();
        panel->runCheck();
        panel->findChild<QWidget *>(QStringLiteral("CheckList"))->setFocus();
    });
    window->addCommand(check, MenuTitle);
    QAction *settings = command(window, "actCheckSettings", QStringLiteral("点検の設定…"));
    QObject::connect(settings, &QAction::triggered, panel, [window, panel] { editCheckSettings(window, panel); });
    window->addCommand(settings, MenuTitle, false);
    QAction *starter = command(window, "actAddStarterRules", QStringLiteral("表記ルールに見本を加える…"));
    QObject::connect(starter, &QAction::triggered, panel, [window, panel] { addStarterRules(window, panel); });
    window->addCommand(starter, MenuTitle, false);
    new ExportCommands(window);
    new DoneMarkControls(window);
    new HandInCommands(window);
}
