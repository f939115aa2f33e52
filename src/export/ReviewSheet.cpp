#include "ReviewSheet.h"

#include "Characters.h"
#include "ReviewSheetPage.h"

#include <QBuffer>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace {

constexpr int Resolution = 600;
const QColor Ink(0, 0, 0);
const QColor Grey(90, 90, 90);
const QColor RuleGrey(150, 150, 150);

QString noteSign(int number)
{
    return number >= 1 && number <= 20 ? QString(QChar(char16_t(0x2460 + number - 1))) : QStringLiteral("(%1)").arg(number);
}

// What the margin says: the check's own words, without repeating a sentence that the text
// already shows underlined.
QString marginMessage(const Finding &finding, const ClassBook &book)
{
    QString message = findingMessage(finding, book);
    const QString quoted = QStringLiteral("：「%1」").arg(finding.found);
    if (finding.kind == FindingKind::DuplicateSentence && message.endsWith(quoted))
        message = message.chopped(quoted.size()) + QStringLiteral("。");
    return message;
}

QString handInCaption(const ReviewSheetInput &input)
{
    return QStringLiteral("第%1回提出　%2").arg(input.handInNumber).arg(input.at.toString(QStringLiteral("yyyy年M月d日 H:mm")));
}

// Builds the pieces of the sheet, pupil by pupil.
class SheetBuilder {
public:
    SheetBuilder(const ReviewSheetInput &input, QPaintDevice *device)
        : m_input(input), m_device(device), m(Resolution), m_fonts(sheetFonts())
    {
        for (const Finding &finding : input.findings)
            m_findings[{finding.cell.pupil, finding.cell.field}].append(&finding);
    }

    const SheetMeasures &measures() const { return m; }
    const SheetFonts &fonts() const { return m_fonts; }

    std::vector<SheetGroup> groups()
    {
        std::vector<SheetGroup> groups;
        for (int p = 0; p < m_input.book.pupils.size(); ++p) {
            m_noteNumber = 0;
            SheetGroup group;
            group.push_back(header(p));
            for (int f = 0; f < m_input.book.fields.size(); ++f)
                addField(group, p, f);
            groups.push_back(std::move(group));
        }
        return groups;
    }

    // The title on the first page; its height.
    SheetPiece title()
    {
        const ClassBook &book = m_input.book;
        QStringList fields;
        for (const ClassField &field : book.fields)
            fields.append(field.limit > 0 ? QStringLiteral("%1（%2字まで）").arg(field.name).arg(field.limit) : field.name);
        QString legend = QStringLiteral("右の欄の①②…は点検で見つかったことで、本文の該当するところに下線を引いています。");
        if (m_input.hasEarlierHandIn)
            legend += QStringLiteral("【前回から変更あり】（左に縦線）は前回の提出から文章が変わった欄です（%1か所）。").arg(m_input.changed.size());
        auto heading = laidOut(QStringLiteral("所見 見直し用　%1").arg(book.name), m_fonts.title, m.contentWidth(), m.pt(20), m_device);
        auto details = laidOut(QStringLiteral("%1　%2人\n欄：%3\n%4")
                                   .arg(handInCaption(m_input))
                                   .arg(book.pupils.size())
                                   .arg(fields.join(QStringLiteral("、")), legend),
                               m_fonts.label, m.contentWidth(), m.pt(11), m_device);
        const qreal headingHeight = heading->lineCount() * m.pt(20);
        const qreal height = headingHeight + details->lineCount() * m.pt(11) + m.pt(10);
        return {height, [this, heading, details, headingHeight](QPainter &painter, qreal top) {
                    painter.setPen(Ink);
                    heading->draw(&painter, QPointF(m.left(), top));
                    painter.setPen(Grey);
                    details->draw(&painter, QPointF(m.left(), top + headingHeight));
                }};
    }

private:
    struct Note {
        std::shared_ptr<QTextLayout> layout;
        qreal y = 0; // from the top of the piece
    };

    // Lays the notes out in the margin, each at its wanted height or below the one before; the
    // height they take.
    qreal placeNotes(QList<Note> &notes, const QList<std::pair<const Finding *, qreal>> &wanted)
    {
        qreal bottom = 0;
        for (const auto &[finding, y] : wanted) {
            ++m_noteNumber;
            m_numbers.insert(finding, m_noteNumber);
            auto layout = laidOut(noteSign(m_noteNumber) + marginMessage(*finding, m_input.book), m_fonts.label,
                                  m.marginWidth(), m.pt(10), m_device);
            const qreal at = std::max(y, bottom);
            notes.append({layout, at});
            bottom = at + layout->lineCount() * m.pt(10) + m.pt(2);
        }
        return bottom;
    }

    void drawNotes(QPainter &painter, const QList<Note> &notes, qreal top) const
    {
        painter.setPen(Ink);
        for (const Note &note : notes)
            note.layout->draw(&painter, QPointF(m.left() + m.textWidth() + m.gutter(), top + note.y));
    }

    SheetPiece header(int p)
    {
        const Pupil &pupil = m_input.book.pupils[p];
        const QString number = pupil.number > 0 ? QString::number(pupil.number) + QStringLiteral("番　") : QString();
        auto name = laidOut(number + pupil.name, m_fonts.heading, m.textWidth(), m.pt(16), m_device);
        auto kana = laidOut(pupil.kana, m_fonts.label, m.textWidth(), m.pt(10), m_device);
        QList<std::pair<const Finding *, qreal>> wanted;
        for (const int column : {NameColumn, KanaColumn}) {
            for (const Finding *finding : m_findings.value({p, column}))
                wanted.append({finding, m.pt(8)});
        }
        QList<Note> notes;
        const qreal noteBottom = placeNotes(notes, wanted);
        const qreal nameWidth = name->lineAt(0).naturalTextWidth();
        const qreal height = std::max(m.pt(27), noteBottom + m.pt(4));
        return {height, [this, name, kana, notes, nameWidth](QPainter &painter, qreal top) {
                    painter.setPen(QPen(RuleGrey, m.pt(0.6)));
                    painter.drawLine(QPointF(m.left(), top + m.pt(3)), QPointF(m.left() + m.contentWidth(), top + m.pt(3)));
                    painter.setPen(Ink);
                    name->draw(&painter, QPointF(m.left(), top + m.pt(8)));
                    painter.setPen(Grey);
                    kana->draw(&painter, QPointF(m.left() + nameWidth + m.pt(10), top + m.pt(11)));
                    drawNotes(painter, notes, top);
                }};
    }

    QString fieldCaption(int p, int f) const
    {
        const ClassField &field = m_input.book.fields[f];
        const int length = characterCount(m_input.book.pupils[p].texts.value(f));
        QString caption = field.limit > 0 ? QStringLiteral("%1　%2/%3字").arg(field.name).arg(length).arg(field.limit)
                                          : QStringLiteral("%1　%2字").arg(field.name).arg(length);
        if (field.limit > 0 && length > field.limit)
            caption += QStringLiteral("（%1字多い）").arg(length - field.limit);
        if (m_input.hasEarlierHandIn && m_input.changed.contains({p, f}))
            caption += QStringLiteral("　【前回から変更あり】");
        return caption;
    }

    // A field: its caption, then its text, cut into pieces of at most a page.
    void addField(SheetGroup &group, int p, int f)
    {
        const QString text = m_input.book.pupils[p].texts.value(f);
        const bool empty = text.trimmed().isEmpty();
        const qreal leading = m.pt(13.5);
        const qreal captionHeight = m.pt(13);
        auto caption = laidOut(fieldCaption(p, f), m_fonts.label, m.textWidth(), captionHeight, m_device);
        auto body = laidOut(empty ? QStringLiteral("（未記入）") : text, m_fonts.text, m.textWidth(), leading, m_device);
        const QList<const Finding *> findings = m_findings.value({p, f});
        const int perPiece = std::max(1, int((m.bodyBottom() - m.top() - m.pt(40)) / leading));
        for (int first = 0; first < body->lineCount(); first += perPiece) {
            const int last = std::min(body->lineCount(), first + perPiece);
            const qreal textTop = first == 0 ? captionHeight : 0;
            QList<std::pair<const Finding *, qreal>> wanted;
            for (const Finding *finding : findings) {
                const int line = std::max(0, body->lineForTextPosition(int(finding->start)).lineNumber());
                if (line >= first && line < last)
                    wanted.append({finding, textTop + (line - first) * leading});
            }
            QList<Note> notes;
            const qreal noteBottom = placeNotes(notes, wanted);
            const qreal height = std::max(textTop + (last - first) * leading, noteBottom) + m.pt(4);
            const bool firstPiece = first == 0;
            const bool changed = m_input.hasEarlierHandIn && m_input.changed.contains({p, f});
            group.push_back({height, [=](QPainter &painter, qreal top) {
                                 if (changed) // a bar in the left margin, so a checker finds them leafing through
                                     painter.fillRect(QRectF(m.left() - m.pt(8), top, m.pt(2.5), height - m.pt(4)), Ink);
                                 if (firstPiece) {
                                     painter.setPen(changed ? Ink : Grey);
                                     caption->draw(&painter, QPointF(m.left(), top));
                                 }
                                 painter.setPen(empty ? Grey : Ink);
                                 const QPointF origin(m.left(), top + textTop - first * leading);
                                 for (int i = first; i < last; ++i)
                                     body->lineAt(i).draw(&painter, origin);
                                 if (!empty)
                                     underline(painter, *body, findings, origin, first, last);
                                 drawNotes(painter, notes, top);
                             }});
        }
    }

    // Underlines what each finding is about, its margin number small above where it starts (a
    // whole-cell finding has nothing to underline).
    void underline(QPainter &painter, const QTextLayout &body, const QList<const Finding *> &findings, QPointF origin,
                   int first, int last) const
    {
        QFont small = m_fonts.label;
        small.setPointSizeF(5.5);
        painter.setFont(small);
        for (const Finding *finding : findings) {
            const int start = int(finding->start);
            const int end = int(finding->start + finding->length);
            for (int i = first; i < last && finding->length > 0; ++i) {
                const QTextLine line = body.lineAt(i);
                const int from = std::max(start, line.textStart());
                const int to = std::min(end, line.textStart() + line.textLength());
                if (from >= to)
                    continue;
                const qreal x = origin.x() + line.cursorToX(from);
                const qreal y = origin.y() + line.y() + line.ascent() + m.pt(1.8);
                painter.setPen(QPen(Ink, m.pt(0.7)));
                painter.drawLine(QPointF(x, y), QPointF(origin.x() + line.cursorToX(to), y));
                if (from == start)
                    painter.drawText(QPointF(x, origin.y() + line.y() - m.pt(0.5)), noteSign(m_numbers.value(finding)));
            }
        }
    }

    const ReviewSheetInput &m_input;
    QPaintDevice *const m_device;
    const SheetMeasures m;
    const SheetFonts m_fonts;
    QHash<CellRef, QList<const Finding *>> m_findings;
    int m_noteNumber = 0;
    QHash<const Finding *, int> m_numbers; // each finding's number in the margin
};

} // namespace

ReviewSheetPdf reviewSheetPdf(const ReviewSheetInput &input)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(QStringLiteral("所見 見直し用　%1　%2").arg(input.book.name, handInCaption(input)));
    writer.setCreator(QStringLiteral("ことばん"));

    SheetBuilder builder(input, &writer);
    const SheetMeasures &m = builder.measures();
    const SheetPiece title = builder.title();
    const std::vector<SheetGroup> groups = builder.groups();
    const QList<PlacedPiece> placed = placePieces(groups, m.top() + title.height, m.top(), m.bodyBottom());
    const int pages = placed.isEmpty() ? 1 : placed.last().page + 1;

    QPainter painter(&writer);
    auto footer = laidOut(QStringLiteral("%1　%2").arg(input.book.name, handInCaption(input)), builder.fonts().label,
                          m.contentWidth(), m.pt(10), &writer);
    qsizetype next = 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        if (page == 0)
            title.paint(painter, m.top());
        for (; next < placed.size() && placed[next].page == page; ++next)
            placed[next].piece->paint(painter, placed[next].top);
        painter.setFont(builder.fonts().label);
        painter.setPen(Grey);
        const qreal footTop = m.bodyBottom() + m.pt(14);
        footer->draw(&painter, QPointF(m.left(), footTop));
        painter.drawText(QRectF(m.left(), footTop, m.contentWidth(), m.pt(12)), Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    }
    painter.end();
    return {buffer.data(), pages};
}

ExportResult writeReviewSheet(const QString &path, const QByteArray &bytes, bool overwrite)
{
    if (const std::optional<ExportResult> blocked = exportBlocked(path, overwrite))
        return *blocked;
    return writeExportFile(path, bytes, overwrite);
}
