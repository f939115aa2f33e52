#pragma once

#include "Codec.h"
#include "Library.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The example data files: a title field, then four fields per example, each field
// quoted or bare, separated by a half-width comma or a line end.
//
// Two reading rules the format itself leaves open, decided here:
//  - a line break between the quotes belongs to the field, so a multi-line sentence
//    written by the writer reads back intact (it is held with "\n" in memory);
//  - characters between a closing quote and the next separator (they arise only from a
//    text that contained a double quote) are kept, appended to the field, so nothing
//    the teacher wrote is dropped.

struct DataFileContent {
    QString title; // null when the file holds no field at all
    QVector<Example> records;
};

// Parses decoded file text. With emptyMeansUnset an empty place between separators,
// and a field cut off by the end of the file, is unset (null); otherwise empty text.
[[nodiscard]] DataFileContent parseDataFile(const QString &text, bool emptyMeansUnset);

// Formats a title line and records with CR LF line ends: texts between double quotes
// unchanged (their line breaks as CR LF), unset fields as nothing.
[[nodiscard]] QString formatDataFile(const QString &title, const QVector<Example> &records);

struct LoadedFile {
    enum class State { Loaded, Missing, Unreadable };
    State state = State::Missing;
    QString error;      // why an existing file could not be read
    DataFileContent content;
    Encoding encoding = Encoding::Cp932;
    QList<int> badLines; // lines with bytes that could not be decoded
    QByteArray bytes;    // the file as read, to back it up and to notice changes made by others
};

// Reads one data file from disk. Never fails: a missing or unreadable file comes back
// with its state and no content.
[[nodiscard]] LoadedFile readDataFile(const QString &path, bool emptyMeansUnset);

// What the program remembers of a data file between loading and saving.
struct FileOrigin {
    LoadedFile::State state = LoadedFile::State::Missing;
    Encoding encoding = Encoding::Cp932;
    QByteArray bytes;      // the content as it was read, and then as it was last written
    QByteArray startBytes; // the content at start-up, kept as the backup
    bool backedUp = false;
};

// The bytes a save writes: the title line, the records, in the file's own encoding
// (with its byte order mark where it had one).
[[nodiscard]] QByteArray encodeLibraryFile(const QString &title, const QList<Example> &records, Encoding encoding);
