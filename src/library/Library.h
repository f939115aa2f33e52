#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSharedPointer>
#include <QString>
#include <QTypeInfo>

#include <array>

// The highest record number of every category: each holds at most 300 examples.
constexpr int EDLimit = 300;

// How one field stood in its data file: its bytes as read (the blanks before it, its
// quotes and the separator after it included) and the text they were read as. A field
// that still holds that text is written back as those bytes, so a save never rewrites
// what the teacher did not change, whatever the file's encoding, quoting or line ends.
struct StoredField {
    // What ended it in the file.
    enum class End : quint8 { Nothing, Comma, CrLf, Lf, Cr };

    // The bytes lie in the whole file as read, shared by every field of it rather than
    // copied out one by one. A data file is at most 16 MiB.
    QByteArray file;
    qint32 begin = 0;
    qint32 size = 0;
    QString text;
    End end = End::Nothing;
    bool unclosed = false; // its quote runs to the end of the file
    bool read = false;     // false for a field typed in this run

    QByteArrayView bytes() const { return QByteArrayView(file.constData() + begin, size); }
    bool holds(const QString &value) const
    {
        return read && value.isNull() == text.isNull() && value == text;
    }
    // What ends it: ",", a line end, or nothing (the file's end).
    QString separator() const
    {
        switch (end) {
        case End::Comma:
            return QStringLiteral(",");
        case End::CrLf:
            return QStringLiteral("\r\n");
        case End::Lf:
            return QStringLiteral("\n");
        case End::Cr:
            return QStringLiteral("\r");
        case End::Nothing:
            break;
        }
        return QString();
    }
};

// One example: first-, second- and third-level class, then the sentence.
// A null QString is an unset field (a place the data file left empty); it compares
// equal to empty text everywhere, and only the writer tells the two apart.
struct Example {
    using StoredFields = std::array<StoredField, 4>;

    std::array<QString, 4> field;
    // The record as its data file held it; nothing for an example typed in this run.
    // Whoever changes a field need not clear it: the writer compares, field by field.
    // Held apart and shared by copies, so that a record stays small: a file of thousands
    // of records is copied and grown as lists of them.
    QSharedPointer<const StoredFields> stored;

    const QString &firstClass() const { return field[0]; }
    const QString &secondClass() const { return field[1]; }
    const QString &thirdClass() const { return field[2]; }
    const QString &sentence() const { return field[3]; }

    // How a field stood in the file; a field never read for a record typed in this run.
    const StoredField &storedField(int f) const
    {
        static const StoredField typed;
        return stored ? (*stored)[f] : typed;
    }
    // The fields still exactly as read from the file (unset and empty told apart).
    bool isAsStored() const
    {
        for (int f = 0; f < 4; ++f)
            if (!storedField(f).holds(field[f]))
                return false;
        return true;
    }
    void forgetStored() { stored.reset(); }

    // What the record holds; where it came from does not count.
    bool operator==(const Example &other) const { return field == other.field; }
    bool operator!=(const Example &other) const { return !(*this == other); }
};
// A growing list of thousands of records moves them as bytes instead of copying each one.
Q_DECLARE_TYPEINFO(Example, Q_RELOCATABLE_TYPE);
