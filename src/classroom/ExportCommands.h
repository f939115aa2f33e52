#pragma once

#include "ExportFile.h"

#include <QObject>
#include <QString>

#include <functional>

class ClassWindow;

// "Excel に書き出す", "CSV に書き出す" and "列をコピー" in the class window. The window's
// dialogs choose the file and the encoding; a file that is already there is replaced only
// after the teacher says so; a Shift_JIS export lists every character it cannot hold, by
// pupil and column, and writes nothing.
class ExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ExportCommands(ClassWindow *window);

    void exportXlsx();
    void exportCsv();
    void copyColumn();

private:
    // Asks for the file (suggesting one named after the class) and writes it through write,
    // asking before replacing a file. Says how it went.
    void exportTo(const QString &title, const QString &suffix, const QString &filter,
                  const std::function<ExportResult(const QString &path, bool overwrite)> &write);
    bool classIsOpen() const;

    ClassWindow *const m_window;
};
