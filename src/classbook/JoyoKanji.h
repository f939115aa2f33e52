#pragma once

#include <QStringView>

// The 常用漢字表 (2010) and the 学年別漢字配当表 (2017), from the tables checked in under
// data/ (joyo-kanji.txt, grade-kanji.txt; their sources are named there), built into the
// program.

// A kanji as the checks count them: a CJK ideograph (with the extensions, the compatibility
// ideographs and the radicals), but not 々, 〆 or 〇, which are marks and a numeral.
[[nodiscard]] bool isKanji(char32_t c);

// The grade (1 to 6) in which the 学年別漢字配当表 teaches the kanji, 7 for the rest of the
// 常用漢字表, or 0 for a character outside it. 叱, 填, 剥 and 頬, the forms the table allows
// beside 𠮟, 塡, 剝 and 頰, count as in it.
[[nodiscard]] int joyoGrade(char32_t c);

// How many characters the built-in tables hold: the 常用漢字表 without the allowed forms
// (grade 0), or one grade of the 学年別漢字配当表 (1 to 6).
[[nodiscard]] int joyoTableSize(int grade);

// The code point at position i of text (a surrogate pair read whole), and its length in UTF-16 units.
[[nodiscard]] char32_t codePointAt(QStringView text, qsizetype i, int *units = nullptr);
