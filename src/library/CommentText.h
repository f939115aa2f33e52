#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// How the class counts and cuts a pupil's comment. Shared by the table's marks, the checks
// and the exports, so that "185/200" means the same everywhere.

// The length the school's limit is about: characters as the teacher sees them, so a
// character outside the Basic Multilingual Plane (𠮷, an emoji) counts once, not as its two
// UTF-16 units; line breaks are not counted (CR LF, LF or CR), as the composition's count
// does not count them: a limit is about the text, and record systems lay out lines themselves.
[[nodiscard]] int commentLength(QStringView text);

// A blank in a comment: half- and full-width spaces, tabs and the like (not line breaks).
[[nodiscard]] bool isBlank(QChar c);

// Nothing but blanks and line breaks: a field the teacher has not written yet.
[[nodiscard]] bool isBlankText(QStringView text);

// A sentence of a comment, as a span of UTF-16 units in the text, without the blanks around it.
struct SentenceSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const SentenceSpan &other) const { return start == other.start && length == other.length; }
};

// The sentences of a comment: a sentence ends after 。, ！ or ？ (together with the marks and
// closing brackets right after it), or at a line break. A 。 inside 「」, 『』 or （） does not end
// it: 先生は「よくできたね。」と話しました。 is one sentence. Blank sentences are left out.
[[nodiscard]] QList<SentenceSpan> sentenceSpans(QStringView text);

// Sentences shorter than this (in commentLength) are too common to count as the same sentence
// given to two pupils: "よくできました。" is a set phrase, not a copied comment.
constexpr int ShortestComparedSentence = 10;
