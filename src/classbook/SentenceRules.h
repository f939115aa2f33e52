#pragma once

#include <QString>
#include <QStringView>

// How a sentence of a comment ends, for the checks of 文体 and of endings repeated.
//
// A sentence is judged by its last predicate, with what stands in 「」『』（）【】 set aside
// (「「がんばります。」と話した。」 is 常体), the end marks, closing blanks and a final
// particle (ね, よ, か, な, ぞ, わ) taken off:
//   敬体: ます, ました, ません, ましょう, ませ, です, でした, でしょう, ください (ございます
//         and ませんでした end so too);
//   常体: だ; た (した, いた, った, んだ, かった); る (する, いる, である); う, く, す, む, ぶ,
//         ぐ, ぬ after kana or kanji (思う, 書く, 話す, 読む, 遊ぶ; not ありがとう, おはよう,
//         きょう) and つ after a kanji that is no numeral (立つ; not 一つ); い after the kana
//         that end adjectives and ない, たい (うれしい, 大きい, すごい, しない, したい;
//         not くらい, ぐらい) or after a kanji of an adjective (高い, 強い; not 思い, 願い).
// Anything else (a noun, 体言止め, katakana, a number) is not judged: it fits either style.

enum class SentenceStyle { Unknown, Polite, Plain };

struct SentenceEnding {
    SentenceStyle style = SentenceStyle::Unknown;
    qsizetype start = 0; // where the ending shown starts in the sentence (UTF-16)
    QString shown;       // the ending as the list shows it, 「〜した。」: its last characters and the end mark
};

// What "ending alike" compares: the last three characters before the end mark (quotations
// and brackets set aside, as above), with where they start; an empty key for a sentence
// without end mark or with fewer characters.
struct EndingKey {
    QString key;
    qsizetype start = 0;
};

// The ending and the key of a sentence, from one reading of it: 点検 asks both of every
// sentence of a class.
struct SentenceTail {
    SentenceEnding ending;
    EndingKey key;
};
[[nodiscard]] SentenceTail sentenceTail(QStringView sentence);
