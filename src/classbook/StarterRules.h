#pragma once

#include <QString>
#include <QStringList>

// The starter wording rules (data/表記ルール.txt, built into the program), and how a teacher's
// own rules file takes up the starter's sections it does not have yet, only when she asks:
// her file is never changed otherwise, and nothing in it is changed or removed then.

[[nodiscard]] QString starterWordingRules();

struct StarterAddition {
    QStringList sections; // the headings of the sections added, without "# "
    QList<int> sectionRules; // how many rules each of them adds
    int ruleCount = 0;
    QString text;         // what goes at the end of the file, "\n" between lines

    bool isEmpty() const { return ruleCount == 0; }
};

// The starter's sections whose heading line the teacher's rules do not have, each with
// only the rules whose ×表記 they do not have yet (a word she already rules on stays hers).
[[nodiscard]] StarterAddition starterAdditions(const QString &teacherText);

struct StarterFileChange {
    bool ok = false;
    bool created = false; // there was no file: it is the whole starter now
    StarterAddition added;
    QString error;
};

// What addStarterSections would add to the file at path (or that it would create it).
[[nodiscard]] StarterFileChange previewStarterSections(const QString &path);

// Adds the missing starter sections at the end of the rules file at path, keeping every byte
// that was there, in the file's own encoding and line breaks; the file as it was is kept as
// 表記ルール.bak first. A missing file is created from the starter.
[[nodiscard]] StarterFileChange addStarterSections(const QString &path);
