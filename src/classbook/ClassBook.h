#pragma once

#include "PupilNote.h"

#include <QList>
#include <QString>
#include <QStringList>

// A class of pupils and the comment fields the teacher writes for each of them
// (総合所見, 道徳, ...). Plain values: the class window edits them through the
// operations in ClassBook.cpp, the class file stores them, the checks and the
// exports read them.

// One comment field of the class, with its length limit in characters (0 = none).
struct ClassField {
    QString name;
    int limit = 0;

    bool operator==(const ClassField &other) const { return name == other.name && limit == other.limit; }
    bool operator!=(const ClassField &other) const { return !(*this == other); }
};

// One pupil. texts holds one text per field of the class, in the class's field order.
struct Pupil {
    int number = 0; // 出席番号; 0 when none was given
    QString name;   // 氏名 (the only required part), family and given name split at the first blank
    QString kana;   // ふりがな
    QString sex;    // 性別 as written (男, 女, or anything else)
    QStringList texts;
    QList<PupilNote> notes; // newest first (see Notes.h)

    bool operator==(const Pupil &other) const
    {
        return number == other.number && name == other.name && kana == other.kana && sex == other.sex
            && texts == other.texts && notes == other.notes;
    }
    bool operator!=(const Pupil &other) const { return !(*this == other); }
};

// How "〇〇" in a sentence becomes the pupil's name.
enum class NamingRule {
    FamilySan, // 姓＋さん (the default)
    GivenSan,  // 名＋さん
    FamilyBySex, // 姓＋くん for 男, 姓＋さん otherwise
};

// The kinds of note a new class offers.
inline QStringList defaultNoteTags()
{
    return {QStringLiteral("学習"), QStringLiteral("生活"), QStringLiteral("行事"), QStringLiteral("係"),
            QStringLiteral("友だち")};
}

struct ClassBook {
    QString name;            // e.g. "3年2組 2学期"
    QList<ClassField> fields; // never empty in a class the program made
    QList<Pupil> pupils;      // kept in 出席番号 order
    NamingRule naming = NamingRule::FamilySan;
    QStringList noteTags = defaultNoteTags(); // the kinds a note can have; the teacher adds more

    bool operator==(const ClassBook &other) const
    {
        return name == other.name && fields == other.fields && pupils == other.pupils && naming == other.naming
            && noteTags == other.noteTags;
    }
    bool operator!=(const ClassBook &other) const { return !(*this == other); }
};
