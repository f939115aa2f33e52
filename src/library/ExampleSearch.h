#pragma once

#include "Category.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Finding examples across the three categories, as the class window's example pane lists
// them: a category (or all three), the classification levels narrowed from the first down by
// the category's own rules, and words typed in a search box.

// What the teacher asked for.
struct ExampleQuery {
    int category = -1;  // 0 to 2, or -1 for all three
    QStringList classes; // the chosen classes from the first level down; fewer than three narrow less
    QString words;       // the search box as typed
};

struct FoundExample {
    int category = 0;
    int record = 0;
    bool operator==(const FoundExample &other) const { return category == other.category && record == other.record; }
};

using Categories = std::array<const Category *, 3>;

// The search box's text as words: split at blanks, half- or full-width.
[[nodiscard]] QStringList searchWords(const QString &text);

// True when every word is part of the sentence or of one of its classes. Characters are
// compared as they are: full- and half-width, hiragana and katakana, upper and lower case differ.
[[nodiscard]] bool matchesWords(const Example &example, const QStringList &words);

// The records of one category narrowed to the classes given, as the main window's lists narrow.
[[nodiscard]] QList<int> narrowedRecords(const Category &category, const QStringList &classes);

// The examples the query leaves, category by category, each in library order.
[[nodiscard]] QList<FoundExample> findExamples(const Categories &categories, const ExampleQuery &query);

// What the classification list of the level below query.classes offers: the distinct
// classes there, in order of first occurrence, over the query's categories.
[[nodiscard]] QStringList classChoices(const Categories &categories, const ExampleQuery &query);
