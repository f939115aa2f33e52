#include "ChecksAndExports.h"

#include "CheckPanel.h"
#include "ClassWindow.h"
#include "DuplicateMarks.h"
#include "ExportCommands.h"

#include <QAction>

void addChecksAndExports(ClassWindow *window)
{
    new DuplicateMarks(window->classBook(), window->tableModel());
    auto *panel = new CheckPanel(window);
    window->addDockWidget(Qt::RightDockWidgetArea, panel);
    panel->hide();
    auto *check = new QAction(QStringLiteral("点検"), window);
    check->setObjectName(QStringLiteral("actCheck"));
    check->setShortcut(QKeySequence(QStringLiteral("F7")));
    QObject::connect(check, &QAction::triggered, panel, [window, panel] {
        if (!window->store().isOpen())
            return;
        panel->showAtStoredWidth();
        panel->runCheck();
        panel->findChild<QWidget *>(QStringLiteral("CheckList"))->setFocus();
    });
    window->addCommand(check, QStringLiteral("点検・書き出し(&E)"));
    new ExportCommands(window);
}
