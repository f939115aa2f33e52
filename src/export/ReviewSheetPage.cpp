#include "ReviewSheetPage.h"

#include <QTextLayout>
#include <QTextOption>

SheetFonts sheetFonts()
{
    // IPA Gothic first: a TrueType font, which the PDF writer embeds (as a subset) rather than
    // drawing as outlines, so the sheet's text can be searched and copied.
    auto font = [](qreal points) {
        QFont f;
        f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("MS Gothic"),
                       QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans CJK JP")});
        f.setPointSizeF(points);
        f.setKerning(false);
        return f;
    };
    return {font(15), font(11), font(7.5), font(9)};
}

std::shared_ptr<QTextLayout> laidOut(const QString &text, const QFont &font, qreal width, qreal leading,
                                     QPaintDevice *device)
{
    auto layout = std::make_shared<QTextLayout>(QString(text).replace(u'\n', QChar::LineSeparator), font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true); // drawn later: keep the shaped glyphs rather than shape twice
    layout->beginLayout();
    for (qreal y = 0;; y += leading) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
    }
    layout->endLayout();
    return layout;
}

QList<PlacedPiece> placePieces(const std::vector<SheetGroup> &groups, qreal firstTop, qreal pageTop, qreal pageBottom)
{
    QList<PlacedPiece> placed;
    int page = 0;
    qreal y = firstTop;
    auto newPage = [&] {
        ++page;
        y = pageTop;
    };
    for (const SheetGroup &group : groups) {
        qreal height = 0;
        for (const SheetPiece &piece : group)
            height += piece.height;
        const bool fitsHere = y + height <= pageBottom;
        const bool fitsAPage = pageTop + height <= pageBottom;
        if (!fitsHere && fitsAPage && y > pageTop)
            newPage();
        for (const SheetPiece &piece : group) {
            if (y + piece.height > pageBottom && y > pageTop)
                newPage();
            placed.append({&piece, page, y});
            y += piece.height;
        }
    }
    return placed;
}
