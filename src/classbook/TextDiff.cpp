#include "TextDiff.h"

#include "Characters.h"
#include "CommentText.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

using Kind = DiffPiece::Kind;

// A text cut into grapheme clusters, each given a number so that comparing is cheap: the code
// point for a cluster of one, an interned number beyond Unicode for longer ones.
struct Clusters {
    QList<qsizetype> bounds;
    std::vector<char32_t> keys;

    Clusters(const QString &text, QHash<QString, char32_t> &interned) : bounds(graphemeBoundaries(text))
    {
        keys.reserve(size_t(bounds.size()));
        for (qsizetype i = 0; i + 1 < bounds.size(); ++i) {
            const QStringView cluster = QStringView(text).mid(bounds[i], bounds[i + 1] - bounds[i]);
            if (cluster.size() == 1) {
                keys.push_back(cluster[0].unicode());
            } else if (cluster.size() == 2 && cluster[0].isHighSurrogate()) {
                keys.push_back(QChar::surrogateToUcs4(cluster[0], cluster[1]));
            } else {
                const auto found = interned.constFind(cluster.toString());
                const char32_t key = found != interned.cend() ? *found : char32_t(0x110000 + interned.size());
                interned.insert(cluster.toString(), key);
                keys.push_back(key);
            }
        }
    }
    int size() const { return int(keys.size()); }
};

struct Edit {
    Kind kind;
    int length; // in clusters
};

// Beyond this many edits the character diff gives up: its time grows with the square of the
// edits, and a comment changed that much is compared sentence by sentence first.
constexpr int MaxEdits = 64;

// Whether a[from, aEnd) and b[from, bEnd) surely need more than MaxEdits: only the clusters they
// share can stay, in whatever order, so the edits are at least the rest. Shared clusters are
// counted by bucket (a collision only weakens the bound). A rewritten comment is told at once,
// where Myers' search would give up only after its whole budget.
bool surelyBeyondMaxEdits(const Clusters &a, int aFrom, int aEnd, const Clusters &b, int bFrom, int bEnd)
{
    const int n = aEnd - aFrom;
    const int m = bEnd - bFrom;
    if (n + m <= MaxEdits)
        return false;
    std::array<int, 1024> count{};
    for (int i = aFrom; i < aEnd; ++i)
        ++count[a.keys[size_t(i)] % count.size()];
    int shared = 0;
    for (int j = bFrom; j < bEnd; ++j) {
        int &left = count[b.keys[size_t(j)] % count.size()];
        if (left > 0) {
            --left;
            ++shared;
        }
    }
    return n + m - 2 * shared > MaxEdits;
}

// Myers' shortest edit script between a[from, aEnd) and b[from, bEnd), as runs; false (and
// nothing added to out) when it needs more than MaxEdits.
bool myers(const Clusters &a, const Clusters &b, int aFrom, int aEnd, int bFrom, int bEnd, std::vector<Edit> &out)
{
    const int n = aEnd - aFrom;
    const int m = bEnd - bFrom;
    const int max = std::min(n + m, MaxEdits);
    std::vector<int> v(size_t(2 * max + 3), 0);
    const int offset = max + 1;
    // The furthest x on diagonal k after d edits, at trace[d * d + k + d]: one block, since a
    // rewritten comment takes hundreds of rounds and a vector each cost more than the search.
    std::vector<int> trace;
    int depth = -1;
    for (int d = 0; d <= max; ++d) {
        bool reached = false;
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[size_t(offset + k - 1)] < v[size_t(offset + k + 1)]))
                ? v[size_t(offset + k + 1)]
                : v[size_t(offset + k - 1)] + 1;
            int y = x - k;
            while (x < n && y < m && a.keys[size_t(aFrom + x)] == b.keys[size_t(bFrom + y)]) {
                ++x;
                ++y;
            }
            v[size_t(offset + k)] = x;
            reached = reached || (x >= n && y >= m);
        }
        trace.insert(trace.end(), v.begin() + offset - d, v.begin() + offset + d + 1);
        if (reached) {
            depth = d;
            break;
        }
    }
    if (depth < 0)
        return false;

    std::vector<Edit> backwards;
    auto push = [&backwards](Kind kind, int length) {
        if (length <= 0)
            return;
        if (!backwards.empty() && backwards.back().kind == kind)
            backwards.back().length += length;
        else
            backwards.push_back({kind, length});
    };
    int x = n;
    int y = m;
    for (int d = depth; d > 0; --d) {
        const int *previous = trace.data() + size_t(d - 1) * size_t(d - 1);
        auto at = [previous, d](int k) { return previous[k + d - 1]; };
        const int k = x - y;
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = at(previousK);
        const int previousY = previousX - previousK;
        const int snakeX = down ? previousX : previousX + 1;
        push(Kind::Same, x - snakeX);
        push(down ? Kind::Added : Kind::Removed, 1);
        x = previousX;
        y = previousY;
    }
    push(Kind::Same, x);
    // Within a run of changes the removed part comes first, as a reader expects.
    std::reverse(backwards.begin(), backwards.end());
    for (const Edit &edit : backwards) {
        if (!out.empty() && out.back().kind == edit.kind)
            out.back().length += edit.length;
        else
            out.push_back(edit);
    }
    return true;
}

// Puts each run of changes as one removal then one addition.
std::vector<Edit> grouped(const std::vector<Edit> &edits)
{
    std::vector<Edit> result;
    int removed = 0;
    int added = 0;
    auto flush = [&] {
        if (removed > 0)
            result.push_back({Kind::Removed, removed});
        if (added > 0)
            result.push_back({Kind::Added, added});
        removed = added = 0;
    };
    for (const Edit &edit : edits) {
        if (edit.kind == Kind::Same) {
            flush();
            if (!result.empty() && result.back().kind == Kind::Same)
                result.back().length += edit.length;
            else
                result.push_back(edit);
        } else {
            (edit.kind == Kind::Removed ? removed : added) += edit.length;
        }
    }
    flush();
    return result;
}

// The larger side of the changes next to edits[index], walking by step.
int changesBeside(const std::vector<Edit> &edits, int index, int step)
{
    int removed = 0;
    int added = 0;
    for (int i = index + step; i >= 0 && i < int(edits.size()) && edits[size_t(i)].kind != Kind::Same; i += step)
        (edits[size_t(i)].kind == Kind::Removed ? removed : added) += edits[size_t(i)].length;
    return std::max(removed, added);
}

// Folds a match shorter than the changes on both sides into them: "とても元気" → "いつも明るい"
// reads better as one replacement than as two around a shared "も".
std::vector<Edit> tidied(std::vector<Edit> edits)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 1; i + 1 < int(edits.size()); ++i) {
            const Edit same = edits[size_t(i)];
            if (same.kind != Kind::Same || same.length >= changesBeside(edits, i, -1)
                || same.length >= changesBeside(edits, i, 1))
                continue;
            edits[size_t(i)] = {Kind::Removed, same.length};
            edits.insert(edits.begin() + i + 1, {Kind::Added, same.length});
            edits = grouped(edits);
            changed = true;
            break;
        }
    }
    return edits;
}

// The pieces character by character, or nothing when that needs more than MaxEdits.
std::optional<QList<DiffPiece>> characterDiff(const QString &before, const QString &after)
{
    QHash<QString, char32_t> interned;
    const Clusters a(before, interned);
    const Clusters b(after, interned);
    int prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a.keys[size_t(prefix)] == b.keys[size_t(prefix)])
        ++prefix;
    int suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
           && a.keys[size_t(a.size() - 1 - suffix)] == b.keys[size_t(b.size() - 1 - suffix)])
        ++suffix;

    std::vector<Edit> edits;
    if (prefix > 0)
        edits.push_back({Kind::Same, prefix});
    if (surelyBeyondMaxEdits(a, prefix, a.size() - suffix, b, prefix, b.size() - suffix)
        || !myers(a, b, prefix, a.size() - suffix, prefix, b.size() - suffix, edits))
        return std::nullopt;
    if (suffix > 0)
        edits.push_back({Kind::Same, suffix});
    edits = tidied(grouped(edits));

    QList<DiffPiece> pieces;
    int inA = 0;
    int inB = 0;
    auto cut = [](const QString &text, const Clusters &clusters, int from, int length) {
        return text.mid(clusters.bounds[from], clusters.bounds[from + length] - clusters.bounds[from]);
    };
    for (const Edit &edit : edits) {
        switch (edit.kind) {
        case Kind::Same:
            pieces.append({Kind::Same, cut(after, b, inB, edit.length)});
            inA += edit.length;
            inB += edit.length;
            break;
        case Kind::Removed:
            pieces.append({Kind::Removed, cut(before, a, inA, edit.length)});
            inA += edit.length;
            break;
        case Kind::Added:
            pieces.append({Kind::Added, cut(after, b, inB, edit.length)});
            inB += edit.length;
            break;
        }
    }
    return pieces;
}

// Adds a piece, joined to the last one when they are of one kind.
void append(QList<DiffPiece> &pieces, Kind kind, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!pieces.isEmpty() && pieces.back().kind == kind)
        pieces.back().text += text;
    else
        pieces.append({kind, text});
}

// A text cut after each of its sentences, the blanks between them going with the next one.
QStringList sentences(const QString &text)
{
    QStringList result;
    qsizetype from = 0;
    for (const SentenceSpan &span : sentenceSpans(text)) {
        result.append(text.mid(from, span.start + span.length - from));
        from = span.start + span.length;
    }
    if (from < text.size())
        result.append(text.mid(from));
    return result;
}

// The sentences both texts keep (longest common subsequence) stay; each stretch between them
// is compared character by character, or shown replaced whole when it changed too much.
QList<DiffPiece> sentenceDiff(const QString &before, const QString &after)
{
    const QStringList a = sentences(before);
    const QStringList b = sentences(after);
    const qsizetype width = b.size() + 1;
    std::vector<int> common(size_t((a.size() + 1) * width), 0); // common[i][j]: of a[i..] and b[j..]
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j) {
            common[size_t(i * width + j)] = a[i] == b[j] ? common[size_t((i + 1) * width + j + 1)] + 1
                                                         : std::max(common[size_t((i + 1) * width + j)],
                                                                    common[size_t(i * width + j + 1)]);
        }
    }
    QList<DiffPiece> pieces;
    QString removed;
    QString added;
    auto flush = [&] {
        // Both whole texts: the character diff has already given up on them.
        const bool tried = removed.size() == before.size() && added.size() == after.size();
        const std::optional<QList<DiffPiece>> closer =
            removed.isEmpty() || added.isEmpty() || tried ? std::nullopt : characterDiff(removed, added);
        if (closer) {
            for (const DiffPiece &piece : *closer)
                append(pieces, piece.kind, piece.text);
        } else {
            append(pieces, Kind::Removed, removed);
            append(pieces, Kind::Added, added);
        }
        removed.clear();
        added.clear();
    };
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            flush();
            append(pieces, Kind::Same, a[i]);
            ++i;
            ++j;
        } else if (j == b.size() || (i < a.size() && common[size_t((i + 1) * width + j)] >= common[size_t(i * width + j + 1)])) {
            removed += a[i++];
        } else {
            added += b[j++];
        }
    }
    flush();
    return pieces;
}

} // namespace

QList<DiffPiece> diffTexts(const QString &before, const QString &after)
{
    if (before == after)
        return before.isEmpty() ? QList<DiffPiece>{} : QList<DiffPiece>{{Kind::Same, before}};
    if (std::optional<QList<DiffPiece>> pieces = characterDiff(before, after))
        return *pieces;
    return sentenceDiff(before, after);
}
