#include "Form1.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ことばん"));
    // The whole interface is Japanese, Qt's own buttons and menus included, whatever the locale.
    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    // The data files are read from, and written to, the folder Kotoban is started in.
    Form1 window(QDir::currentPath());
    // Logging out or shutting down closes the window as a close does, saving.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &Form1::closeUnattended);
    window.show();
    window.reportStartupProblems();
    return QApplication::exec();
}
