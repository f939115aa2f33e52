#pragma once

// The class the benchmarks of 点検, the exports and a hand-in share: pupils with four fields of
// 250 characters drawn from sentences of the kind teachers write, so sentences repeat between
// pupils as they do when a teacher works from examples.

#include "ClassBook.h"

#include <QRandomGenerator>
#include <QString>

inline constexpr int FieldLength = 250;

// Some hold words a school's rules catch (友達, 子供, 出来る), one the name placeholder.
inline const char *const Sentences[] = {
    "毎朝元気にあいさつし、学級の雰囲気を明るくしてくれました。",
    "係の仕事に責任をもって取り組み、友達からも頼りにされています。",
    "算数の学習では、図や式を使って自分の考えを分かりやすく説明することが出来るようになりました。",
    "音読を毎日続け、登場人物の気持ちを考えながら読めるようになりました。",
    "休み時間には下級生の子供たちと遊び、優しく声をかける姿が見られました。",
    "理科の実験では、予想を立ててから結果を確かめる姿勢が身につきました。",
    "運動会では応援団として、大きな声で全校をまとめました。",
    "〇〇さんの丁寧なノートは、学級のお手本になっています。",
    "社会科見学で学んだことを新聞にまとめ、分かりやすく発表しました。",
    "困っている友達に気づき、そっと手を差し伸べることが出来ました。",
    "漢字の練習にこつこつと取り組み、小テストで満点を続けています。",
    "図工では色の組み合わせを工夫し、のびのびとした作品を仕上げました。",
    "話し合いの場面では、友達の意見をよく聞いてから自分の考えを伝えていました。",
    "給食当番の仕事を最後まで丁寧に行い、片付けまで進んで手伝いました。",
    "外国語の時間には、習った表現を使って積極的に友達と会話しました。",
    "読書の幅が広がり、沢山の本を読んで感想を伝え合いました。",
};
inline constexpr int SentenceCount = int(sizeof Sentences / sizeof *Sentences);

inline QString commentFor(QRandomGenerator &random)
{
    QString text;
    while (text.size() < FieldLength) {
        text += QString::fromUtf8(Sentences[random.bounded(SentenceCount)]);
        if (random.bounded(4) == 0)
            text += u'\n';
    }
    return text.left(FieldLength);
}

inline ClassBook makeClass(int pupils, quint32 seed = 2026)
{
    QRandomGenerator random(seed);
    ClassBook book;
    book.name = QStringLiteral("6年1組 2学期");
    book.fields = {{QStringLiteral("総合所見"), 250}, {QStringLiteral("道徳"), 250},
                   {QStringLiteral("総合的な学習の時間"), 250}, {QStringLiteral("外国語活動"), 250}};
    for (int i = 1; i <= pupils; ++i) {
        Pupil pupil;
        pupil.number = i;
        pupil.name = QStringLiteral("山田 児童%1").arg(i);
        pupil.kana = QStringLiteral("やまだ じどう");
        for (int f = 0; f < 4; ++f)
            pupil.texts.append(commentFor(random));
        book.pupils.append(pupil);
    }
    return book;
}
