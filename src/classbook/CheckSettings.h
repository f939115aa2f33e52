#pragma once

#include <QList>
#include <QString>

class QJsonObject;

// What 点検 looks for in one class, as the school's rules ask: the class's 文体, the longest
// sentence, the grade whose kanji the pupils have learned, and which kinds of finding are
// listed at all. Stored in the class file, so a class keeps its settings wherever it opens.

enum class WritingStyle {
    Polite,     // 敬体（です・ます）, the default
    Plain,      // 常体（だ・である）
    Consistent, // either, as long as one text does not mix them
};

// The kinds of finding a class can switch off.
enum class CheckKind {
    FieldLimit,
    Empty,
    Duplicate,
    Placeholder,
    HalfWidthKana,
    Wording,
    Style,
    RepeatedEnding,
    SentenceLength,
    Kanji,
    Variants,
    Names,
};

// No grade: kanji are only checked against the 常用漢字表.
constexpr int NoGrade = 0;
// 中学: every kanji of the 常用漢字表 counts as learned.
constexpr int JuniorHighGrade = 7;
constexpr int DefaultSentenceLimit = 60;
constexpr int MaxSentenceLimit = 1000;

struct CheckSettings {
    WritingStyle style = WritingStyle::Polite;
    int sentenceLimit = DefaultSentenceLimit; // in characterCount; 0 checks no length
    int grade = NoGrade;                      // 1 to 6, JuniorHighGrade, or NoGrade
    unsigned off = 0;                         // one bit per CheckKind switched off

    bool isOn(CheckKind kind) const { return !(off & bit(kind)); }
    void setOn(CheckKind kind, bool on) { off = on ? off & ~bit(kind) : off | bit(kind); }

    bool operator==(const CheckSettings &other) const
    {
        return style == other.style && sentenceLimit == other.sentenceLimit && grade == other.grade
            && off == other.off;
    }
    bool operator!=(const CheckSettings &other) const { return !(*this == other); }

private:
    static unsigned bit(CheckKind kind) { return 1u << unsigned(kind); }
};

// Every kind, in the order the settings dialog lists them, with what the dialog calls it.
[[nodiscard]] QList<CheckKind> checkKinds();
[[nodiscard]] QString checkKindCaption(CheckKind kind);
[[nodiscard]] QString writingStyleCaption(WritingStyle style);
// "1年" to "6年", "中学", or "指定しない".
[[nodiscard]] QString gradeCaption(int grade);

// The settings' part of the class file, under "checks". Missing (an older file) gives the
// defaults; a part that is there but not understood is refused, saying which, so that a
// damaged file is never taken for the defaults and saved over.
void writeCheckSettings(QJsonObject &root, const CheckSettings &settings);
[[nodiscard]] bool readCheckSettings(const QJsonObject &root, CheckSettings *settings, QString *what);
