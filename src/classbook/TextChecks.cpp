#include "TextChecks.h"

#include "CommentText.h"
#include "JoyoKanji.h"
#include "NameChecks.h"
#include "SentenceRules.h"

namespace {

Finding make(FindingKind kind, const CellRef &cell, qsizetype start, qsizetype end)
{
    Finding finding;
    finding.kind = kind;
    finding.cell = cell;
    finding.start = start;
    finding.length = end - start;
    return finding;
}

void addStyle(const CellRef &cell, const QList<SentenceSpan> &spans, const QList<SentenceTail> &tails,
              WritingStyle style, QList<Finding> &out)
{
    QList<std::pair<SentenceSpan, SentenceEnding>> judged;
    int polite = 0;
    for (qsizetype i = 0; i < spans.size(); ++i) {
        const SentenceEnding &ending = tails[i].ending;
        if (ending.style == SentenceStyle::Unknown)
            continue;
        judged.append({spans[i], ending});
        polite += ending.style == SentenceStyle::Polite ? 1 : 0;
    }
    const int plain = int(judged.size()) - polite;
    WritingStyle expected = style;
    if (style == WritingStyle::Consistent) {
        if (polite == 0 || plain == 0)
            return;
        // The text's own majority; on a tie, the style it starts in.
        const bool politeFirst = judged.first().second.style == SentenceStyle::Polite;
        expected = polite > plain || (polite == plain && politeFirst) ? WritingStyle::Polite : WritingStyle::Plain;
    }
    const SentenceStyle wrong = expected == WritingStyle::Polite ? SentenceStyle::Plain : SentenceStyle::Polite;
    for (const auto &[span, ending] : std::as_const(judged)) {
        if (ending.style != wrong)
            continue;
        Finding finding = make(FindingKind::Style, cell, span.start + ending.start, span.start + span.length);
        finding.found = ending.shown;
        finding.expected = expected;
        out.append(std::move(finding));
    }
}

void addRepeatedEndings(const CellRef &cell, QStringView text, const QList<SentenceSpan> &spans,
                        const QList<SentenceTail> &tails, QList<Finding> &out)
{
    constexpr int Listed = 3;
    QString previous;
    int run = 0;
    qsizetype listed = -1; // the run's finding in out, once it has one
    for (qsizetype i = 0; i < spans.size(); ++i) {
        const SentenceSpan &span = spans[i];
        const EndingKey &key = tails[i].key;
        run = !key.key.isEmpty() && key.key == previous ? run + 1 : 1;
        previous = key.key;
        if (key.key.isEmpty() || run < Listed) {
            listed = -1;
            continue;
        }
        if (run == Listed) {
            const qsizetype start = span.start + key.start;
            Finding finding = make(FindingKind::RepeatedEnding, cell, start, span.start + span.length);
            finding.found = u'〜' + text.mid(start, finding.length).toString();
            listed = out.size();
            out.append(std::move(finding));
        }
        out[listed].count = run;
    }
}

void addLongSentences(const CellRef &cell, QStringView text, const QList<SentenceSpan> &spans, int limit,
                      QList<Finding> &out)
{
    for (const SentenceSpan &span : spans) {
        const QString sentence = text.mid(span.start, span.length).toString();
        // A character is at least one UTF-16 unit: most sentences are decided without counting.
        if (sentence.size() <= limit)
            continue;
        const int length = countedLength(sentence);
        if (length <= limit)
            continue;
        Finding finding = make(FindingKind::LongSentence, cell, span.start, span.start + span.length);
        finding.found = sentence;
        finding.textLength = length;
        finding.limit = limit;
        out.append(std::move(finding));
    }
}

bool isHiragana(char32_t c) { return c >= 0x3041 && c <= 0x309F; }

// The word around text[start, end): the kanji next to it, and the kana that follow them (綺麗な, 嬉しい).
QString wordAround(QStringView text, qsizetype start, qsizetype end)
{
    constexpr int MostKana = 2;
    while (start > 0 && isKanji(codePointAt(text, start - 1)))
        --start;
    int units = 1;
    while (end < text.size() && isKanji(codePointAt(text, end, &units)))
        end += units;
    for (int kana = 0; kana < MostKana && end < text.size() && isHiragana(text[end].unicode()); ++kana)
        ++end;
    return text.mid(start, end - start).toString();
}

} // namespace

void addSentenceFindings(const CellRef &cell, const QString &text, const CheckSettings &settings, QList<Finding> &out)
{
    const bool style = settings.isOn(CheckKind::Style);
    const bool endings = settings.isOn(CheckKind::RepeatedEnding);
    const bool length = settings.isOn(CheckKind::SentenceLength) && settings.sentenceLimit > 0;
    if (!style && !endings && !length)
        return;
    const QList<SentenceSpan> spans = sentenceSpans(text);
    QList<SentenceTail> tails;
    if (style || endings) {
        tails.reserve(spans.size());
        for (const SentenceSpan &span : spans)
            tails.append(sentenceTail(QStringView(text).mid(span.start, span.length)));
    }
    if (style)
        addStyle(cell, spans, tails, settings.style, out);
    if (endings)
        addRepeatedEndings(cell, text, spans, tails, out);
    if (length)
        addLongSentences(cell, text, spans, settings.sentenceLimit, out);
}

void addKanjiFindings(const CellRef &cell, const QString &text, int grade, const ClassNames &names, QList<Finding> &out)
{
    const bool byGrade = grade >= 1 && grade <= 6;
    std::optional<QList<std::pair<qsizetype, qsizetype>>> nameSpans;
    auto inName = [&](qsizetype at) {
        if (!nameSpans)
            nameSpans = names.nameSpans(text);
        return std::any_of(nameSpans->cbegin(), nameSpans->cend(),
                           [at](const auto &span) { return at >= span.first && at < span.first + span.second; });
    };
    // What a kanji at i is listed as: outside the table, not yet learned (with its grade), or nothing.
    auto kindAt = [&](qsizetype i, int *units, int *taught) {
        const char32_t c = codePointAt(text, i, units);
        if (!isKanji(c))
            return FindingKind::Empty;
        *taught = joyoGrade(c);
        if (*taught == 0)
            return inName(i) ? FindingKind::Empty : FindingKind::OutsideJoyo;
        return byGrade && *taught > grade && !inName(i) ? FindingKind::NotYetLearned : FindingKind::Empty;
    };
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        int taught = 0;
        const FindingKind kind = kindAt(i, &units, &taught);
        if (kind == FindingKind::Empty) {
            i += units;
            continue;
        }
        // Kanji of the same kind side by side are one finding: 薔薇, not 薔 and 薇.
        Finding finding = make(kind, cell, i, i + units);
        int highest = taught;
        for (i += units; i < text.size(); i += units) {
            if (kindAt(i, &units, &taught) != kind)
                break;
            highest = std::max(highest, taught);
        }
        finding.length = i - finding.start;
        finding.found = text.mid(finding.start, finding.length);
        finding.context = wordAround(text, finding.start, i);
        finding.textLength = highest;
        finding.limit = grade;
        out.append(std::move(finding));
    }
}
