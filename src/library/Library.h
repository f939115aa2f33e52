#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The highest record number of every category: each holds at most 300 examples.
constexpr int EDLimit = 300;

// How one field stood in its data file: its bytes as read (the blanks before it, its
// quotes and the separator after it included) and the text they were read as. A field
// that still holds that text is written back as those bytes, so a save never rewrites
// what the teacher did not change, whatever the file's encoding, quoting or line ends.
struct StoredField {
    QByteArray bytes;
    QString text;
    QString separator;     // what ends it in the file: ",", a line end, or nothing (the file's end)
    bool unclosed = false; // its quote runs to the end of the file
    bool read = false;     // false for a field typed in this run

    bool holds(const QString &value) const
    {
        return read && value.isNull() == text.isNull() && value == text;
    }
};

// One example: first-, second- and third-level class, then the sentence.
// A null QString is an unset field (a place the data file left empty); it compares
// equal to empty text everywhere, and only the writer tells the two apart.
struct Example {
    std::array<QString, 4> field;
    // The record as its data file held it; nothing for an example typed in this run.
    // Whoever changes a field need not clear it: the writer compares, field by field.
    std::array<StoredField, 4> stored;

    const QString &firstClass() const { return field[0]; }
    const QString &secondClass() const { return field[1]; }
    const QString &thirdClass() const { return field[2]; }
    const QString &sentence() const { return field[3]; }

    // The fields still exactly as read from the file (unset and empty told apart).
    bool isAsStored() const
    {
        for (int f = 0; f < 4; ++f)
            if (!stored[f].holds(field[f]))
                return false;
        return true;
    }
    void forgetStored() { stored = {}; }

    // What the record holds; where it came from does not count.
    bool operator==(const Example &other) const { return field == other.field; }
    bool operator!=(const Example &other) const { return !(*this == other); }
};
