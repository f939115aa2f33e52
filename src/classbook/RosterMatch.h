#pragma once

#include "ClassBook.h"

#include <QList>
#include <QString>
#include <QStringList>

// How a roster joins a class, planned first and shown before anything changes.
//
// A roster row is the class pupil of the same 氏名 (blanks compared loosely: half-width,
// full-width and runs of them count as one; nothing else folded) and, where both have one,
// the same ふりがな. 出席番号 is what the roster updates, not who the child is, so a pupil
// joining mid-year moves everyone after them down one number and every text stays with its
// child. Pupils of one name are told apart by 出席番号 when every one of them kept theirs,
// then by ふりがな; otherwise the teacher is asked. A row whose 出席番号 belongs to a class
// pupil whose name is nowhere in the roster may be that child renamed: the teacher is asked,
// and a new child is the answer until they say otherwise. Nobody is removed.

enum class RosterChange {
    New,        // joins the class with empty texts
    Unchanged,
    Updated,    // the same child and number; 氏名 as written, ふりがな or 性別 taken from the roster
    Renumbered, // the same child under another 出席番号
    Renamed,    // the class pupil of this 出席番号, chosen by the teacher as this child under a new name
};

struct RosterRowPlan {
    int line = 0;          // the roster line the row came from
    Pupil incoming;        // as read
    QList<int> candidates; // when the teacher is asked: the class pupils the row may be
    int pupil = -1;        // the class pupil the row is, or -1 for a new one

    bool asked() const { return !candidates.isEmpty(); }
};

struct RosterPlan {
    QList<RosterRowPlan> rows;
    QList<Pupil> before;  // the class's pupils when planned: a class changed since is not merged
    QStringList problems; // rows left out and why
};

// lines: the roster line of each pupil (from rosterPupils); missing ones count from 1.
[[nodiscard]] RosterPlan planRoster(const ClassBook &book, const QList<Pupil> &incoming, const QList<int> &lines = {});

// What the row does to the class under its present choice.
[[nodiscard]] RosterChange rowChange(const RosterPlan &plan, int row);
// The class pupils that no row is, in class order: kept as they are.
[[nodiscard]] QList<int> missingPupils(const RosterPlan &plan);
// Why the choices cannot be applied (one class pupil chosen for two rows), or nothing.
[[nodiscard]] QString choiceProblem(const RosterPlan &plan);

// 氏名 with every run of blanks as one half-width blank, trimmed: how names are compared.
[[nodiscard]] QString looseName(const QString &name);

struct RosterMerge {
    bool ok = true;
    QString reason; // why nothing was merged
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    QStringList renumbered;    // "井上 海（2→3番）"
    QStringList renamed;       // "12番：山田 太郎 → 佐藤 花子"
    QStringList missing;       // "5番 江藤 晴": kept as they are
    QStringList numberCleared; // missing pupils whose 出席番号 the roster gave to another child
    QStringList withoutBlank;  // names that cannot be split into 姓 and 名, with no 呼び名 either
    QStringList problems;
};

// Carries out the plan: matched pupils take the roster's number, name, and its ふりがな and
// 性別 where it has them, keeping everything else (texts, 呼び名, ...); new pupils are added.
// A kept pupil whose 出席番号 the roster gave to another child is left without a number.
[[nodiscard]] RosterMerge applyRosterPlan(ClassBook &book, const RosterPlan &plan);
// Plans and applies with the plan's own proposals where the teacher would be asked.
[[nodiscard]] RosterMerge mergeRoster(ClassBook &book, const QList<Pupil> &pupils);

// The words the preview and the result use.
// What the row does, for the preview's list ("新しく加える", "3→4番", ...).
[[nodiscard]] QString rosterChangeCaption(const RosterPlan &plan, int row);
// The counts and the lists the teacher reads before importing.
[[nodiscard]] QString rosterPlanSummary(const RosterPlan &plan);
// The result, naming every pupil whose number or name changed and every one kept aside.
[[nodiscard]] QString rosterMergeReport(const RosterMerge &merge);

struct RosterTable;
// The plan for a table as read and corrected: its pupils, with the rows left out among the problems.
[[nodiscard]] RosterPlan planRosterTable(const ClassBook &book, const RosterTable &table);
// The choices the teacher can make for an asked row: its candidates, then -1 for a new child.
[[nodiscard]] QList<int> rosterChoices(const RosterRowPlan &row);
[[nodiscard]] QString rosterChoiceCaption(const RosterPlan &plan, int row, int pupil);
