#pragma once

// A small example library of three categories, written for the tests.

#include "Category.h"

#include <QStringList>

#include <array>

// "first|second|third|sentence" per record.
inline QList<Example> exampleRecords(const QStringList &lines)
{
    QList<Example> records;
    for (const QString &line : lines) {
        Example example;
        const QStringList fields = line.split(u'|');
        for (int f = 0; f < 4; ++f)
            example.field[f] = fields.value(f);
        records.append(example);
    }
    return records;
}

// Record numbers in the comments. かめ and カメ, ABC and ＡＢＣ are there to be told apart.
inline const std::array<QStringList, 3> &sampleLines()
{
    static const std::array<QStringList, 3> lines{{
        {
            QStringLiteral("国語|読む|ほめたい|〇〇は音読に意欲的に取り組みました。"),     // 1
            QStringLiteral("国語|書く|ほめたい|ていねいな字で最後まで書き上げました。"), // 2
            QStringLiteral("算数|計算|がんばろう|計算への意欲が高まってきました。"),    // 3
            QStringLiteral("算数|図形|ほめたい|図形の問題にねばり強く取り組みました。"), // 4
            QStringLiteral("理科|観察|ほめたい|カメの観察を毎日続けました。"),           // 5
            QStringLiteral("国語|読む|がんばろう|ＡＢＣの歌を覚えました。"),             // 6
        },
        {
            QStringLiteral("道徳|友情|ほめたい|友達にやさしく声をかけていました。"), // 1
            QStringLiteral("行事|友情|ほめたい|運動会で友達を応援しました。"),       // 2
            QStringLiteral("行事|運動会|ほめたい|リレーを意欲的に走りました。"),     // 3
        },
        {
            QStringLiteral("生活|係|ほめたい|かめの世話を進んで行いました。"),            // 1
            QStringLiteral("生活|あいさつ|がんばろう|ABCを大きな声で言えました。"), // 2
        },
    }};
    return lines;
}

inline std::array<Category, 3> sampleCategories()
{
    std::array<Category, 3> categories{Category(categoryRules()[0]), Category(categoryRules()[1]),
                                       Category(categoryRules()[2])};
    for (int c = 0; c < 3; ++c)
        categories[c].load(categoryRules()[c].defaultTitle, exampleRecords(sampleLines()[c]));
    return categories;
}
