#include "ClassSearch.h"

#include "ClassChecks.h"

#include <algorithm>

namespace {

char16_t foldedUnit(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        c = char16_t(c - 0xFF01 + 0x21);
    else if (c == 0x3000)
        return u' ';
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + (u'a' - u'A'));
    if (c < 0x80 || c >= 0x3000)
        return c;
    return QChar(c).toCaseFolded().unicode();
}

// Folds text into out, reusing its memory across the class's many texts.
void foldInto(QStringView text, QString &out)
{
    out.resize(text.size());
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        to[i] = foldedUnit(text[i].unicode());
}

QString withoutBlanks(QString text)
{
    text.removeIf([](QChar c) { return c.isSpace(); });
    return text;
}

class Searcher
{
public:
    Searcher(const QString &words, int maxHits) : m_words(searchFolded(words.trimmed())), m_maxHits(maxHits) {}

    bool full() const { return m_result.hits.size() >= m_maxHits; }

    // Adds the places in text; false once the result is full (and there was more).
    bool search(const QString &text, int pupil, int field, int note)
    {
        if (text.size() < m_words.size())
            return true;
        foldInto(text, m_folded);
        for (qsizetype at = m_folded.indexOf(m_words); at >= 0; at = m_folded.indexOf(m_words, at + m_words.size())) {
            if (full()) {
                m_result.truncated = true;
                return false;
            }
            m_result.hits.append({pupil, field, note, at, m_words.size(), hitContext(text, at, m_words.size())});
        }
        return true;
    }

    bool empty() const { return m_words.isEmpty(); }
    SearchResult result() { return std::move(m_result); }

private:
    const QString m_words;
    const int m_maxHits;
    QString m_folded;
    SearchResult m_result;
};

} // namespace

QString searchFolded(QStringView text)
{
    QString folded;
    foldInto(text, folded);
    return folded;
}

SearchResult searchClass(const ClassBook &book, const QString &words, int maxHits)
{
    Searcher searcher(words, maxHits);
    if (searcher.empty())
        return {};
    for (int p = 0; p < book.pupils.size(); ++p) {
        const Pupil &pupil = book.pupils[p];
        bool going = searcher.search(pupil.name, p, NameColumn, -1) && searcher.search(pupil.kana, p, KanaColumn, -1);
        for (int f = 0; going && f < pupil.texts.size() && f < book.fields.size(); ++f)
            going = searcher.search(pupil.texts[f], p, f, -1);
        for (int n = 0; going && n < pupil.notes.size(); ++n)
            going = searcher.search(pupil.notes[n].text, p, NotesColumn, n);
        if (!going)
            break;
    }
    return searcher.result();
}

QString hitContext(const QString &text, qsizetype start, qsizetype length, int around)
{
    qsizetype from = std::max<qsizetype>(0, start - around);
    qsizetype to = std::min(text.size(), start + length + around);
    // Never half of a character outside the basic plane.
    if (from > 0 && text[from].isLowSurrogate())
        --from;
    if (to < text.size() && text[to].isLowSurrogate())
        ++to;
    QString context = text.mid(from, to - from);
    for (QChar &c : context) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    }
    return (from > 0 ? QStringLiteral("…") : QString()) + context + (to < text.size() ? QStringLiteral("…") : QString());
}

bool pupilMatches(const Pupil &pupil, const QString &typed)
{
    QString words = withoutBlanks(searchFolded(typed));
    if (words.isEmpty())
        return true;
    if (words.endsWith(u'番'))
        words.chop(1);
    bool isNumber = false;
    const int number = words.toInt(&isNumber);
    if (isNumber)
        return number > 0 && pupil.number == number;
    return withoutBlanks(searchFolded(pupil.name)).contains(words)
        || withoutBlanks(searchFolded(pupil.kana)).contains(words);
}
