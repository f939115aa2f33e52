#include "JoyoKanji.h"

#include "GradeKanjiData.h"
#include "JoyoKanjiData.h"

#include <QString>
#include <QStringList>

#include <array>

namespace {

// Every kanji of the table but 𠮟 lies in the main CJK block: one byte per character there.
constexpr char32_t BlockStart = 0x4E00;
constexpr char32_t BlockEnd = 0xA000;
constexpr char32_t OutsideBlock = 0x20B9F; // 𠮟
constexpr int OtherJoyo = 7;

struct Tables {
    std::array<quint8, BlockEnd - BlockStart> grades{};
    int outsideBlockGrade = 0;
    std::array<int, 7> sizes{}; // [0]: the 常用漢字表 without the allowed forms; [1..6]: each grade

    void set(char32_t c, int grade)
    {
        if (c >= BlockStart && c < BlockEnd)
            grades[c - BlockStart] = quint8(grade);
        else if (c == OutsideBlock)
            outsideBlockGrade = grade;
    }

    Tables()
    {
        bool allowedForms = false;
        for (const QString &line : QString::fromUtf8(JoyoKanjiText).split(u'\n')) {
            const QString entry = line.trimmed();
            if (entry.startsWith(u'#')) {
                // The heading line of the allowed forms, after the table itself.
                allowedForms = allowedForms || entry == QStringLiteral("# 許容");
                continue;
            }
            if (entry.isEmpty())
                continue;
            set(codePointAt(entry, 0), OtherJoyo);
            if (!allowedForms)
                ++sizes[0];
        }
        for (const QString &line : QString::fromUtf8(GradeKanjiText).split(u'\n')) {
            const qsizetype tab = line.indexOf(u'\t');
            if (line.startsWith(u'#') || tab < 0)
                continue;
            const int grade = line.left(tab).toInt();
            const QString kanji = line.mid(tab + 1).trimmed();
            for (qsizetype i = 0; i < kanji.size(); ++i) {
                int units = 1;
                set(codePointAt(kanji, i, &units), grade);
                ++sizes[size_t(grade)];
                i += units - 1;
            }
        }
    }
};

const Tables &tables()
{
    static const Tables built;
    return built;
}

} // namespace

bool isKanji(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x20000 && c <= 0x3FFFF)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x2E80 && c <= 0x2FDF);
}

int joyoGrade(char32_t c)
{
    if (c >= BlockStart && c < BlockEnd)
        return tables().grades[c - BlockStart];
    return c == OutsideBlock ? tables().outsideBlockGrade : 0;
}

int joyoTableSize(int grade)
{
    return grade >= 0 && grade <= 6 ? tables().sizes[size_t(grade)] : 0;
}

char32_t codePointAt(QStringView text, qsizetype i, int *units)
{
    if (units)
        *units = 1;
    if (i < 0 || i >= text.size())
        return 0;
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        if (units)
            *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    return c.unicode();
}
