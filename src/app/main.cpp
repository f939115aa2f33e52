#include "Fonts.h"
#include "Form1.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef Q_OS_WIN
#include "Dialogs.h"
#include "HomeFolder.h"

#include <QFileInfo>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ことばん"));
    // The whole interface is Japanese, Qt's own buttons and menus included, whatever the locale.
    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    // The data files are read from, and written to, the folder Kotoban is started in; on
    // Windows, the teacher's own folder, which the program prepares itself.
#ifdef Q_OS_WIN
    const HomeFolder home = prepareHomeFolder(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("data")));
    const QString folder = QFileInfo(home.path).isDir() ? home.path : QDir::currentPath();
#else
    const QString folder = QDir::currentPath();
#endif
    // Every window speaks in the program's own font, not only the main one. Before they get
    // theirs, the main window's text boxes lay out an empty page in the application's font:
    // any other family would be loaded for that alone at every start.
    QApplication::setFont(uiFont(9));
    Form1 window(folder);
    // Logging out or shutting down closes the window as a close does, saving.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &Form1::closeUnattended);
    window.show();
#ifdef Q_OS_WIN
    if (!home.problem.isEmpty())
        MessageBoxDialogs(&window).inform(appTitle(), home.problem, Dialogs::Icon::Warning);
#endif
    window.reportStartupProblems();
    return QApplication::exec();
}
