#pragma once

#include "ClassBook.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A class list (名簿) taken from a CSV file or from cells copied out of a spreadsheet
// (tab-separated), and how its pupils join a class.

enum class RosterRole { Ignore, Number, Name, Kana, Sex };

struct RosterTable {
    QList<QStringList> rows; // every row as read, the header row included
    bool hasHeader = false;  // the first row names the columns
    QList<RosterRole> roles; // one per column (the widest row decides the count)

    int columnCount() const { return int(roles.size()); }
};

// Rows and cells of delimited text with RFC 4180 quoting ("" inside quotes is one quote;
// quoted cells may hold the separator and line breaks). CR LF, LF and CR end rows; empty
// rows are left out.
[[nodiscard]] QList<QStringList> splitDelimited(const QString &text, QChar separator);

// Reads a roster: a tab in the first line means cells copied from a spreadsheet, else CSV.
// A first row naming the columns (出席番号/番号/No, 氏名/名前, ふりがな/よみがな/かな, 性別)
// sets the roles; without one they are guessed: a first column of numbers is 出席番号, the
// next column 氏名, then ふりがな when it holds kana, and a column of 男/女 is 性別.
[[nodiscard]] RosterTable readRoster(const QString &text);
// The file's bytes in UTF-8 (with or without byte order mark) or code page 932.
[[nodiscard]] RosterTable readRosterBytes(const QByteArray &bytes);

// The role a header cell names, or Ignore.
[[nodiscard]] RosterRole roleOfHeader(const QString &cell);
[[nodiscard]] QString rosterRoleCaption(RosterRole role);

struct RosterPupils {
    QList<Pupil> pupils;   // texts left empty
    QStringList problems;  // rows left out and why ("3行目: 氏名がありません")
};
// The pupils of the table's data rows under its roles.
[[nodiscard]] RosterPupils rosterPupils(const RosterTable &table);

struct RosterMerge {
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    QStringList problems;
};
// Adds pupils to a class: one with the 出席番号 of a pupil already there updates that
// pupil's 氏名 (and ふりがな and 性別 where the roster has them), keeping every text; a
// pupil without a number matches a pupil of the same name; the rest are added. Nobody is
// removed. Two roster rows with one 出席番号: the first counts, the second is a problem.
[[nodiscard]] RosterMerge mergeRoster(ClassBook &book, const QList<Pupil> &pupils);
