#pragma once

// For test classes that open the window in init() and close it in cleanup(): the test
// class derives from WindowFixture and drives the window through `driver`.

#include "FormDriver.h"

inline QString s(const char *utf8) { return QString::fromUtf8(utf8); }

// One record: three classes and the sentence.
inline QStringList ex(const char *first, const char *second, const char *third, const char *sentence)
{
    return {s(first), s(second), s(third), s(sentence)};
}

class WindowFixture {
protected:
    // Opens the window over a fresh working folder holding the three data files; true
    // when it came up active. A window already open is closed first.
    bool open(const QByteArray &file1, const QByteArray &file2, const QByteArray &file3)
    {
        return openWith([&](const WorkingFolder &f) { writeDataFiles(f, file1, file2, file3); });
    }

    // The same with the starter library's titles.
    bool openLibrary(const QVector<QStringList> &category1, const QVector<QStringList> &category2,
                     const QVector<QStringList> &category3)
    {
        return openWith([&](const WorkingFolder &f) { writeLibrary(f, category1, category2, category3); });
    }

    // A short library: category 1 holds 国語／全体／ほめたい "理解力あり。" and
    // "音読が上手です。", category 2 道徳／思いやり／ほめたい "友達に優しい。", category 3
    // 生活／あいさつ／ほめたい "元気にあいさつ。".
    bool openShortLibrary()
    {
        return openLibrary({ex("国語", "全体", "ほめたい", "理解力あり。"), ex("国語", "全体", "ほめたい", "音読が上手です。")},
                           {ex("道徳", "思いやり", "ほめたい", "友達に優しい。")},
                           {ex("生活", "あいさつ", "ほめたい", "元気にあいさつ。")});
    }

    // The window goes before its folder.
    void close()
    {
        driver.reset();
        folder.reset();
    }

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<FormDriver> driver;

private:
    template <class Write> bool openWith(Write write)
    {
        close();
        folder = std::make_unique<WorkingFolder>();
        write(*folder);
        driver = std::make_unique<FormDriver>(folder->path());
        return driver->active;
    }
};
