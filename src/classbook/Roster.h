#pragma once

#include "ClassBook.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A class list (名簿) taken from a CSV file or from cells copied out of a spreadsheet
// (tab-separated): its rows, the role of each column, and the pupils it holds. How those
// pupils join a class is RosterMatch's business.

// 姓 and 名 (and their ふりがな) may come in columns of their own; they are joined with a
// full-width blank, the way school systems write a name.
enum class RosterRole { Ignore, Number, Name, Kana, Sex, FamilyName, GivenName, FamilyKana, GivenKana };

// How a 性別 column of codes reads: 1 and 2 (M and F always read 男 and 女).
enum class SexCodes { OneIsBoy, OneIsGirl };

struct RosterTable {
    QList<QStringList> rows; // every row as read, title and header rows included
    QList<int> lines;        // the line of the text each row starts on, from 1
    int headerRow = -1;      // the row naming the columns; neither it nor a row above it is a pupil
    QList<RosterRole> roles; // one per column (the widest row decides the count)
    SexCodes sexCodes = SexCodes::OneIsBoy;

    int columnCount() const { return int(roles.size()); }
    int firstPupilRow() const { return headerRow + 1; }
};

struct DelimitedRows {
    QList<QStringList> rows;
    QList<int> lines; // the line each row starts on, from 1
};
// Rows and cells of delimited text with RFC 4180 quoting ("" inside quotes is one quote;
// quoted cells may hold the separator and line breaks). CR LF, LF and CR end rows; empty
// rows are left out.
[[nodiscard]] DelimitedRows splitDelimitedRows(const QString &text, QChar separator);
[[nodiscard]] QList<QStringList> splitDelimited(const QString &text, QChar separator);

// Reads a roster: a tab in the first line means cells copied from a spreadsheet, else CSV.
// The header is the first of the top rows that names a column (出席番号/番号/No, 氏名/名前,
// 姓, 名, ふりがな/よみがな/かな, 性別, ...); the rows above it are a title. Without one the
// roles are guessed: a first column of numbers is 出席番号, the next column 氏名, then
// ふりがな when it holds kana, and a column of 男/女 or M/F is 性別.
[[nodiscard]] RosterTable readRoster(const QString &text);
// The file's bytes in UTF-8 (with or without byte order mark) or code page 932. A file that
// is UTF-8 but for a few broken bytes is read as UTF-8, so that only those lines are lost.
[[nodiscard]] RosterTable readRosterBytes(const QByteArray &bytes);

// The role a header cell names, or Ignore.
[[nodiscard]] RosterRole roleOfHeader(const QString &cell);
[[nodiscard]] QString rosterRoleCaption(RosterRole role);
// Every role in the order the preview offers them.
[[nodiscard]] QList<RosterRole> rosterRoles();

// True when the table's 性別 column holds 1/2 or M/F, which the preview shows how it reads.
[[nodiscard]] bool hasSexCodes(const RosterTable &table);
[[nodiscard]] QString sexCodesCaption(SexCodes codes);

struct RosterPupils {
    QList<Pupil> pupils;  // texts left empty
    QList<int> lines;     // the line each pupil was read from
    QStringList problems; // rows left out and why ("3行目: 氏名がないので取り込みません。")
};
// The pupils of the table's rows below the header under its roles. A row holding bytes
// that could not be read, or cells run together by a quote left open, is left out with
// its lines named, as is a row that repeats the header.
[[nodiscard]] RosterPupils rosterPupils(const RosterTable &table);
