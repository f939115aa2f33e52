#include "WordingRules.h"

#include "Codec.h"
#include "SafeSave.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <vector>

namespace {

QString lineError(const char *format, int otherLine = 0)
{
    QString message = QString::fromUtf8(format);
    return otherLine > 0 ? message.arg(otherLine) : message;
}

} // namespace

WordingRules parseWordingRules(const QString &text)
{
    WordingRules result;
    QHash<QString, int> lineOfAvoid;
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 1;
        QStringView line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (number == 1 && line.startsWith(QChar(0xFEFF)))
            line = line.mid(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab < 0) {
            result.errors.append({number, lineError("タブがありません。「×表記」と「○表記」の間はタブで区切ってください。")});
            continue;
        }
        // Blanks around either part are a slip of the editor, not part of the wording.
        const WordPattern pattern = parseWordPattern(line.left(tab).trimmed());
        // Compared as read, so that [る]事 and ［る］事 are one ×表記.
        const QString written = pattern.error.isEmpty() ? patternText(pattern.before, pattern.word, pattern.after)
                                                        : line.left(tab).trimmed().toString();
        QString replacement = line.mid(tab + 1).trimmed().toString();
        const bool suggestion = replacement.startsWith(u"例：") || replacement.startsWith(u"例:");
        if (suggestion)
            replacement = replacement.mid(2).trimmed();
        const QString &avoid = pattern.word;
        if (written.isEmpty()) {
            result.errors.append({number, lineError("×表記がありません。")});
        } else if (!pattern.error.isEmpty()) {
            result.errors.append({number, pattern.error});
        } else if (replacement.contains(u'\t')) {
            result.errors.append({number, lineError("タブが二つ以上あります。一行に一つの決まりを書いてください。")});
        } else if (suggestion && replacement.isEmpty()) {
            result.errors.append({number, lineError("「例：」のあとに、言いかえの例がありません。")});
        } else if (!suggestion && avoid == replacement) {
            result.errors.append({number, lineError("×表記と○表記が同じです。")});
        } else if (!suggestion && replacement.contains(avoid)) {
            result.errors.append({number, lineError("○表記が×表記を含んでいるので、置き換えても直りません。")});
        } else if (const auto seen = lineOfAvoid.constFind(written); seen != lineOfAvoid.constEnd()) {
            result.errors.append({number, lineError("同じ×表記が %1 行目にもあります。", *seen)});
        } else {
            lineOfAvoid.insert(written, number);
            result.rules.append({avoid, replacement, number, pattern.before, pattern.after, suggestion});
        }
    }
    return result;
}

WordingRules loadWordingRules(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        WordingRules result;
        result.fileMissing = true;
        return result;
    }
    const ReadResult read = readCurrent(path);
    if (read.state != ReadResult::State::Read) {
        WordingRules result;
        result.errors.append({0, QStringLiteral("表記ルールのファイルを読めません（%1）。").arg(read.error)});
        return result;
    }
    const DecodedText decoded = decodeDataFile(read.bytes);
    WordingRules result = parseWordingRules(decoded.text);
    // A rule read from undecodable bytes would hold U+FFFD and never match what the teacher
    // means: say so rather than silently checking for something else.
    for (const int line : decoded.badLines) {
        result.errors.append({line, lineError("読めない文字があります。UTF-8 で保存してください。")});
        result.rules.erase(std::remove_if(result.rules.begin(), result.rules.end(),
                                          [line](const WordingRule &rule) { return rule.line == line; }),
                           result.rules.end());
    }
    std::stable_sort(result.errors.begin(), result.errors.end(),
                     [](const WordingRuleError &a, const WordingRuleError &b) { return a.line < b.line; });
    return result;
}

WordingMatcher::WordingMatcher(const QList<WordingRule> &rules) : m_rules(rules)
{
    for (int r = 0; r < m_rules.size(); ++r) {
        const char16_t first = m_rules[r].avoid.at(0).unicode();
        m_byFirstUnit[first].append(r);
        m_isFirstUnit.set(first);
    }
    for (QList<int> &candidates : m_byFirstUnit) {
        std::stable_sort(candidates.begin(), candidates.end(),
                         [this](int a, int b) { return m_rules[a].avoid.size() > m_rules[b].avoid.size(); });
    }
}

QList<WordingHit> WordingMatcher::hits(QStringView text) const
{
    QList<WordingHit> found;
    // Per rule, where its next hit may start (so that its hits do not overlap); made at the
    // first hit, since most texts have none and a class's names make thousands of rules.
    std::vector<qsizetype> nextFree;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (!m_isFirstUnit.test(unit))
            continue;
        for (const int r : *m_byFirstUnit.constFind(unit)) {
            const WordingRule &rule = m_rules[r];
            const qsizetype length = rule.avoid.size();
            if (length > text.size() - i || (length > 1 && text[i + 1] != rule.avoid[1])
                || (!nextFree.empty() && i < nextFree[size_t(r)]) || text.mid(i, length) != rule.avoid
                || !conditionsHold(rule.before, rule.after, text, i, length))
                continue;
            found.append({r, i, length});
            if (nextFree.empty())
                nextFree.assign(size_t(m_rules.size()), 0);
            nextFree[size_t(r)] = i + length;
        }
    }
    return found;
}

std::optional<ClassBook> replaceInField(const ClassBook &book, int pupil, int field, qsizetype start,
                                        const QString &expected, const QString &replacement)
{
    if (pupil < 0 || pupil >= book.pupils.size() || field < 0 || field >= book.pupils[pupil].texts.size())
        return std::nullopt;
    const QString &text = book.pupils[pupil].texts[field];
    if (start < 0 || start > text.size() || QStringView(text).mid(start, expected.size()) != expected)
        return std::nullopt;
    ClassBook changed = book;
    changed.pupils[pupil].texts[field].replace(start, expected.size(), replacement);
    return changed;
}

ReplaceAllResult replaceEverywhere(const ClassBook &book, const WordingRule &rule)
{
    ReplaceAllResult result{book, 0};
    if (!rule.hasReplacement() || rule.avoid.isEmpty())
        return result;
    const WordingMatcher matcher({rule});
    for (Pupil &pupil : result.book.pupils) {
        for (QString &text : pupil.texts) {
            // The hits do not overlap; from the last, so the earlier ones keep their places.
            const QList<WordingHit> hits = matcher.hits(text);
            for (auto hit = hits.crbegin(); hit != hits.crend(); ++hit)
                text.replace(hit->start, hit->length, rule.replacement);
            result.count += int(hits.size());
        }
    }
    return result;
}
