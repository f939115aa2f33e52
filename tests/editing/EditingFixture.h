#pragma once

// A small library for the editing tests. Category 1 has a classification spread over
// the table (records 1, 2 and 6), a classification with a single example (record 4)
// and a first-level class with a single example (record 7).

#include "FormDriver.h"

namespace fixture {

inline const QVector<QStringList> &category1()
{
    static const QVector<QStringList> records{
        {"国語", "読む", "ほめたい", "音読が上手です。"},
        {"国語", "読む", "ほめたい", "本をよく読みます。"},
        {"国語", "読む", "がんばらせたい", "音読の声が小さいです。"},
        {"国語", "書く", "ほめたい", "字がていねいです。"},
        {"数学", "計算", "ほめたい", "計算が速く正確です。"},
        {"国語", "読む", "ほめたい", "読書感想文が見事でした。"},
        {"理科", "実験", "ほめたい", "実験に熱心に取り組みました。"},
    };
    return records;
}

inline const QVector<QStringList> &category2()
{
    static const QVector<QStringList> records{
        {"道徳", "発表", "ほめたい", "自分の考えをよく発表します。"},
        {"行事", "合唱", "ほめたい", "歌声が響きました。"},
    };
    return records;
}

inline const QVector<QStringList> &category3()
{
    static const QVector<QStringList> records{
        {"生活", "態度", "ほめたい", "明るく元気です。"},
        {"生活", "態度", "がんばらせたい", "忘れ物が多いです。"},
        {"友人", "協調", "ほめたい", "誰とでも仲良くできます。"},
    };
    return records;
}

inline void write(const WorkingFolder &folder) { writeLibrary(folder, category1(), category2(), category3()); }

inline QStringList sentences(const QVector<QStringList> &records)
{
    QStringList result;
    for (const QStringList &record : records)
        result.append(record[3]);
    return result;
}

inline Example example(const QStringList &fields)
{
    Example e;
    for (int i = 0; i < 4; ++i)
        e.field[i] = fields.value(i);
    return e;
}

// A working folder holding the library. EditingForm derives from it so that the files
// are written before the window reads them, and the window goes before the folder.
struct LibraryFolder {
    LibraryFolder() { write(folder); }
    WorkingFolder folder;
};

} // namespace fixture

// The window over the library above, in a fresh working folder.
class EditingForm : private fixture::LibraryFolder, public FormDriver {
public:
    EditingForm() : FormDriver(folder.path()) {}
};
