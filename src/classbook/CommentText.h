#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// How the checks cut a pupil's comment into sentences. Lengths are characterCount's
// (Characters.h), the count the table and the editor show: characters as a reader counts
// them, line breaks left out.

// characterCount(text), without the grapheme cluster machinery when every character of the
// text is one cluster on its own (kana, kanji, ASCII, full-width forms), as in most comments:
// the checks count every sentence of a class.
[[nodiscard]] int countedLength(const QString &text);

// The position in text after its first `count` characters as characterCount counts them
// (line breaks skipped), or the end of the text.
[[nodiscard]] qsizetype positionAfterCharacters(const QString &text, int count);

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

// Sentences shorter than this (in characterCount) are too common to count as the same sentence
// given to two pupils: "よくできました。" is a set phrase, not a copied comment.
constexpr int ShortestComparedSentence = 10;
