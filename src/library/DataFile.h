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
    StoredField storedTitle; // the title's bytes as read (only when read from bytes)

    // Lines a teacher may want to look at (1-based, where the line starts): lines of more
    // or fewer than four fields (more than one on the title line), which shift the fields
    // of every later record; and the line of a quote that nothing closes, which takes
    // the rest of the file into one field (0: none).
    QList<int> fieldCountLines;
    int unclosedQuoteLine = 0;
};

// Parses decoded file text. With emptyMeansUnset an empty place between separators,
// and a field cut off by the end of the file, is unset (null); otherwise empty text.
[[nodiscard]] DataFileContent parseDataFile(const QString &text, bool emptyMeansUnset);

// Parses the text decoded from bytes, and gives every field (and the title) its bytes
// as read, so that writing back what nobody changed gives the same bytes.
[[nodiscard]] DataFileContent parseDataFile(const QByteArray &bytes, const DecodedText &decoded,
                                            bool emptyMeansUnset);

// Formats a title line and records with CR LF line ends: texts between double quotes
// unchanged (their line breaks as CR LF), unset fields as nothing.
[[nodiscard]] QString formatDataFile(const QString &title, const QVector<Example> &records);

// Larger files are refused: a library of 300 examples takes far less, and a link to an
// endless device must not fill the memory.
constexpr qint64 MaxDataFileBytes = 16 * 1024 * 1024;

struct LoadedFile {
    enum class State { Loaded, Missing, Unreadable };
    State state = State::Missing;
    QString error;      // why an existing file could not be read (it is then never written)
    DataFileContent content;
    Encoding encoding = Encoding::Cp932;
    QList<int> badLines; // lines with bytes that could not be decoded
    QByteArray bytes;    // the file as read, to back it up and to notice changes made by others
};

// Reads one data file from disk. Never fails: a missing or unreadable file comes back
// with its state and no content. Only a regular file of at most MaxDataFileBytes is
// read; a named pipe or a device is refused without waiting on it.
[[nodiscard]] LoadedFile readDataFile(const QString &path, bool emptyMeansUnset);
// The same for bytes already read.
[[nodiscard]] LoadedFile loadDataFile(const QByteArray &bytes, bool emptyMeansUnset);

// What the program remembers of a data file between loading and saving.
struct FileOrigin {
    LoadedFile::State state = LoadedFile::State::Missing;
    Encoding encoding = Encoding::Cp932;
    QByteArray bytes;      // the content as it was read, and then as it was last written
    QByteArray startBytes; // the content at start-up, backed up if the file is gone when saving
    StoredField title;     // the title's bytes as read
    int savedChanges = 0;  // the category's change count that the file on disk holds
};

// The bytes a save writes: the file's byte order mark (if its encoding has one), the title,
// the records. A field that still holds what was read goes back as the bytes it was read
// from; the others are written as the format says, in the file's encoding, each keeping
// the separator its place had (a new record gets a line of its own, ended as the file's
// lines are). So a file nobody changed comes back byte for byte, and a change rewrites
// only the fields it touched.
[[nodiscard]] QByteArray encodeDataFile(const QString &title, const StoredField &storedTitle,
                                        const QVector<Example> &records, Encoding encoding);
// Every field written anew, as the format says.
[[nodiscard]] QByteArray encodeLibraryFile(const QString &title, const QList<Example> &records, Encoding encoding);
