#include "ClassChecks.h"

#include "Characters.h"
#include "Codec.h"
#include "CommentText.h"
#include "NameChecks.h"
#include "TextChecks.h"
#include "VariantSpellings.h"
#include "Naming.h"

#include <QSet>

#include <algorithm>
#include <optional>

namespace {

constexpr QChar Replacement(0xFFFD);

class Checker
{
public:
    Checker(const ClassBook &book, const WordingMatcher &wording, const CheckOptions &options)
        : m_book(book), m_wording(wording), m_options(options), m_settings(book.checks), m_duplicates(book),
          m_names(book)
    {
        // The class's spellings are counted before any text is listed.
        if (m_settings.isOn(CheckKind::Variants))
            m_variants.emplace(book, wording.rules(), !m_settings.isOn(CheckKind::Wording), m_names);
    }

    QList<Finding> run()
    {
        for (int p = 0; p < m_book.pupils.size(); ++p) {
            const Pupil &pupil = m_book.pupils[p];
            if (m_options.names && ruleNeedsNameParts(m_book.naming) && pupil.calledAs.isEmpty()
                && !nameHasBlank(pupil.name))
                m_findings.append(make(FindingKind::NameWithoutBlank, {p, NameColumn}));
            if (m_options.cp932) {
                checkCp932({p, NameColumn});
                checkCp932({p, KanaColumn});
            }
            if (m_options.notes && m_book.pupils[p].notes.isEmpty())
                m_findings.append(make(FindingKind::NoNotes, {p, NotesColumn}));
            for (int f = 0; f < m_book.fields.size(); ++f)
                checkField({p, f});
        }
        return std::move(m_findings);
    }

private:
    void checkField(const CellRef &cell)
    {
        const QString text = cellText(m_book, cell);
        const int limit = m_book.fields[cell.field].limit;
        const CellMarks marks = cellMarks(text, limit, false);
        if (marks.empty) {
            if (isOn(CheckKind::Empty))
                m_findings.append(make(FindingKind::Empty, cell));
            return;
        }
        if (isOn(CheckKind::FieldLimit) && marks.overLimit) {
            Finding finding = make(FindingKind::OverLimit, cell);
            finding.start = positionAfterCharacters(text, limit);
            finding.length = text.size() - finding.start;
            finding.textLength = marks.length;
            finding.limit = limit;
            m_findings.append(std::move(finding));
        }
        // Findings inside the text, in text order.
        QList<Finding> inside;
        if (startsLikeFormula(text)) {
            Finding finding = make(FindingKind::FormulaStart, cell);
            finding.length = 1;
            finding.found = text.left(1);
            inside.append(std::move(finding));
        }
        if (isOn(CheckKind::Duplicate) && m_duplicates.isMarked(cell))
            addDuplicates(cell, text, inside);
        if (isOn(CheckKind::Placeholder))
            addPlaceholders(cell, text, inside);
        if (isOn(CheckKind::HalfWidthKana))
            addHalfWidthKana(cell, text, inside);
        if (isOn(CheckKind::Wording))
            addWording(cell, text, inside);
        addSentenceFindings(cell, text, m_settings, inside);
        if (isOn(CheckKind::Kanji))
            addKanjiFindings(cell, text, m_settings.grade, m_names, inside);
        if (m_variants)
            m_variants->addFindings(cell, inside);
        if (isOn(CheckKind::Names))
            m_names.addFindings(cell, text, inside);
        std::stable_sort(inside.begin(), inside.end(),
                         [](const Finding &a, const Finding &b) { return a.start < b.start; });
        m_findings.append(std::move(inside));
        if (m_options.cp932)
            checkCp932(cell);
    }

    void addDuplicates(const CellRef &cell, const QString &text, QList<Finding> &out)
    {
        QSet<QString> reported;
        for (const SentenceSpan &span : sentenceSpans(text)) {
            const QString sentence = text.mid(span.start, span.length);
            if (!isComparedSentence(sentence) || reported.contains(sentence))
                continue;
            reported.insert(sentence);
            // Once per sentence, shared by every place it is found.
            auto sharedBy = m_sharedBy.find(sentence);
            if (sharedBy == m_sharedBy.end())
                sharedBy = m_sharedBy.insert(sentence, m_duplicates.pupilsHolding(sentence));
            if (sharedBy->size() < 2)
                continue;
            Finding finding = make(FindingKind::DuplicateSentence, cell);
            finding.start = span.start;
            finding.length = span.length;
            finding.found = sentence;
            finding.sharedBy = *sharedBy;
            out.append(std::move(finding));
        }
    }

    void addPlaceholders(const CellRef &cell, const QString &text, QList<Finding> &out) const
    {
        for (const QStringView placeholder : {QStringView(u"〇〇"), QStringView(u"○○")}) {
            for (qsizetype at = text.indexOf(placeholder); at >= 0; at = text.indexOf(placeholder, at + 2)) {
                Finding finding = make(FindingKind::Placeholder, cell);
                finding.start = at;
                finding.length = 2;
                finding.found = placeholder.toString();
                out.append(std::move(finding));
            }
        }
    }

    void addHalfWidthKana(const CellRef &cell, const QString &text, QList<Finding> &out) const
    {
        auto isHalfWidth = [](QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; };
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isHalfWidth(text[i]))
                continue;
            qsizetype end = i + 1;
            while (end < text.size() && isHalfWidth(text[end]))
                ++end;
            Finding finding = make(FindingKind::HalfWidthKana, cell);
            finding.start = i;
            finding.length = end - i;
            finding.found = text.mid(i, end - i);
            // ｶﾞ becomes ガ: compatibility composition joins the sound marks.
            finding.replacement = finding.found.normalized(QString::NormalizationForm_KC);
            out.append(std::move(finding));
            i = end - 1;
        }
    }

    void addWording(const CellRef &cell, const QString &text, QList<Finding> &out) const
    {
        for (const WordingHit &hit : m_wording.hits(text)) {
            const WordingRule &rule = m_wording.rules()[hit.rule];
            Finding finding = make(FindingKind::Wording, cell);
            finding.start = hit.start;
            finding.length = hit.length;
            finding.found = rule.avoid;
            // An example of a rewording is shown, never put in.
            (rule.suggestion ? finding.example : finding.replacement) = rule.replacement;
            // 「る事が」の「事」: the word alone would not say which 事 is meant.
            if (rule.before.isSet() || rule.after.isSet()) {
                const qsizetype from = std::max<qsizetype>(0, hit.start - 1);
                finding.context = text.mid(from, hit.start + hit.length + 1 - from);
            }
            finding.rule = hit.rule;
            out.append(std::move(finding));
        }
    }

    void checkCp932(const CellRef &cell)
    {
        const QString text = cellText(m_book, cell);
        const QString refused = shiftJisRefusals(text);
        for (qsizetype i = 0; i < refused.size(); ++i) {
            const qsizetype units = refused[i].isHighSurrogate() && i + 1 < refused.size() ? 2 : 1;
            Finding finding = make(FindingKind::OutsideCp932, cell);
            finding.found = refused.mid(i, units);
            finding.start = text.indexOf(finding.found);
            finding.length = units;
            m_findings.append(std::move(finding));
            i += units - 1;
        }
    }

    bool isOn(CheckKind kind) const { return m_settings.isOn(kind); }

    static Finding make(FindingKind kind, const CellRef &cell)
    {
        Finding finding;
        finding.kind = kind;
        finding.cell = cell;
        return finding;
    }

    const ClassBook &m_book;
    const WordingMatcher &m_wording;
    const CheckOptions m_options;
    const CheckSettings m_settings;
    const DuplicateSentences m_duplicates;
    const ClassNames m_names;
    std::optional<VariantSpellings> m_variants;
    QHash<QString, QList<int>> m_sharedBy;
    QList<Finding> m_findings;
};

} // namespace

bool startsLikeFormula(const QString &text)
{
    return !text.isEmpty() && QStringView(u"=+-@").contains(text.front());
}

bool isComparedSentence(const QString &sentence)
{
    // A character is at least one UTF-16 unit: most sentences are decided without counting.
    return sentence.size() >= ShortestComparedSentence && countedLength(sentence) >= ShortestComparedSentence;
}

QString shiftJisRefusals(const QString &text)
{
    // The codec counts U+FFFD among the characters it cannot hold; this says so here too, so
    // that the export never relies on that alone.
    QString refused = unencodableCharacters(text, Encoding::Cp932);
    if (text.contains(Replacement) && !refused.contains(Replacement))
        refused += Replacement;
    return refused;
}

QStringList comparedSentences(const QString &text)
{
    QStringList sentences;
    for (const SentenceSpan &span : sentenceSpans(text)) {
        const QString sentence = text.mid(span.start, span.length);
        if (isComparedSentence(sentence) && !sentences.contains(sentence))
            sentences.append(sentence);
    }
    return sentences;
}

DuplicateSentences::DuplicateSentences(const ClassBook &book)
{
    for (int p = 0; p < book.pupils.size(); ++p) {
        for (int f = 0; f < book.fields.size(); ++f)
            add({p, f}, comparedSentences(book.pupils[p].texts.value(f)));
    }
}

void DuplicateSentences::add(const CellRef &cell, const QStringList &sentences)
{
    if (sentences.isEmpty())
        return;
    for (const QString &sentence : sentences) {
        Holders &holders = m_holders[sentence];
        holders.cells.append(cell);
        ++holders.perPupil[cell.pupil];
    }
    m_sentences.insert(cell, sentences);
}

void DuplicateSentences::remove(const CellRef &cell)
{
    const QStringList sentences = m_sentences.take(cell);
    for (const QString &sentence : sentences) {
        auto it = m_holders.find(sentence);
        if (it == m_holders.end())
            continue;
        it->cells.removeOne(cell);
        auto pupil = it->perPupil.find(cell.pupil);
        if (pupil != it->perPupil.end() && --*pupil == 0)
            it->perPupil.erase(pupil);
        if (it->cells.isEmpty())
            m_holders.erase(it);
    }
}

QList<CellRef> DuplicateSentences::update(const CellRef &cell, const QString &text)
{
    const QStringList before = m_sentences.value(cell);
    const QStringList after = comparedSentences(text);
    if (before == after)
        return {};
    // Only the holders of a sentence that came or went can change their mark.
    QList<CellRef> touched{cell};
    QSet<CellRef> seen{cell};
    auto collect = [&](const QStringList &sentences, const QStringList &others) {
        for (const QString &sentence : sentences) {
            if (others.contains(sentence))
                continue;
            const auto holders = m_holders.constFind(sentence);
            if (holders == m_holders.constEnd())
                continue;
            for (const CellRef &holder : holders->cells) {
                if (!seen.contains(holder)) {
                    seen.insert(holder);
                    touched.append(holder);
                }
            }
        }
    };
    collect(before, after);
    collect(after, before);
    QList<bool> marked;
    marked.reserve(touched.size());
    for (const CellRef &c : std::as_const(touched))
        marked.append(isMarked(c));
    remove(cell);
    add(cell, after);
    QList<CellRef> changed;
    for (qsizetype i = 0; i < touched.size(); ++i) {
        if (isMarked(touched[i]) != marked[i])
            changed.append(touched[i]);
    }
    return changed;
}

bool DuplicateSentences::isMarked(const CellRef &cell) const
{
    const auto sentences = m_sentences.constFind(cell);
    if (sentences == m_sentences.constEnd())
        return false;
    for (const QString &sentence : *sentences) {
        // The cell's own pupil is among them: a second one makes it shared.
        const auto holders = m_holders.constFind(sentence);
        if (holders != m_holders.constEnd() && holders->perPupil.size() > 1)
            return true;
    }
    return false;
}

QList<int> DuplicateSentences::pupilsHolding(const QString &sentence) const
{
    const auto holders = m_holders.constFind(sentence);
    if (holders == m_holders.constEnd())
        return {};
    QList<int> pupils = holders->perPupil.keys();
    std::sort(pupils.begin(), pupils.end());
    return pupils;
}

QList<Finding> checkClass(const ClassBook &book, const WordingMatcher &wording, const CheckOptions &options)
{
    return Checker(book, wording, options).run();
}
