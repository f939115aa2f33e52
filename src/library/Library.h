#pragma once

#include <QString>

#include <array>

// The highest record number of every category: each holds at most 300 examples.
constexpr int EDLimit = 300;

// One example: first-, second- and third-level class, then the sentence.
// A null QString is an unset field (a place the data file left empty); it compares
// equal to empty text everywhere, and only the writer tells the two apart.
struct Example {
    std::array<QString, 4> field;

    const QString &firstClass() const { return field[0]; }
    const QString &secondClass() const { return field[1]; }
    const QString &thirdClass() const { return field[2]; }
    const QString &sentence() const { return field[3]; }

    bool operator==(const Example &other) const { return field == other.field; }
    bool operator!=(const Example &other) const { return !(*this == other); }
};
