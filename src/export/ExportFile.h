#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What an export reports back to the window, and how a finished file takes its place.

// A cell whose characters code page 932 cannot hold: the export names them all before it
// writes anything, so that the teacher can change them or choose UTF-8.
struct Cp932Refusal {
    int pupil = -1;     // index into ClassBook::pupils; -1 for the header row
    int column = 0;     // column of the export table (0 出席番号, 1 氏名, 2 ふりがな, 3... the fields)
    QString characters; // the distinct characters refused, in order of first occurrence

    bool operator==(const Cp932Refusal &other) const
    {
        return pupil == other.pupil && column == other.column && characters == other.characters;
    }
};

enum class ExportStatus {
    Written,
    TargetExists, // the file is there and the caller did not allow replacing it: nothing written
    Refused,      // characters the encoding cannot hold: nothing written, see refusals
    Failed,       // nothing written, see error
};

struct ExportResult {
    ExportStatus status = ExportStatus::Written;
    QString error;
    QList<Cp932Refusal> refusals;

    bool ok() const { return status == ExportStatus::Written; }
};

// The file is there (a dangling symbolic link counts: writing would go somewhere).
[[nodiscard]] bool exportTargetExists(const QString &path);

// Why nothing can be written at path (its folder is missing), or an empty string.
[[nodiscard]] QString exportFolderProblem(const QString &path);

// Why an export to path must not start: the file is there and may not be replaced, or
// its folder is missing. Nothing when it may go ahead; then what an interrupted export
// left in that folder is cleared first.
[[nodiscard]] std::optional<ExportResult> exportBlocked(const QString &path, bool overwrite);

// Puts the finished bytes at path through the checked safe save: replacing a file there
// only when overwrite is set, never a file that appeared meanwhile otherwise.
[[nodiscard]] ExportResult writeExportFile(const QString &path, const QByteArray &bytes, bool overwrite);

// What a failed export reports.
[[nodiscard]] ExportResult exportFailed(const QString &error);
