#include "Form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef Q_OS_WIN
#include "Dialogs.h"
#include "HomeFolder.h"

#include <QDir>
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

#ifdef Q_OS_WIN
    // Data files are opened by bare name: the working folder is the teacher's own folder.
    const HomeFolder home = prepareHomeFolder(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("data")));
    QDir::setCurrent(home.path);
#endif
    Form1 window;
    window.show();
#ifdef Q_OS_WIN
    if (!home.problem.isEmpty())
        MessageBoxDialogs(&window).inform(appTitle(), home.problem, Dialogs::Icon::Warning);
#endif
    window.reportStartupProblems();
    return QApplication::exec();
}
