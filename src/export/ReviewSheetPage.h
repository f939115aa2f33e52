#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QTextLayout;

// How the review sheet is put on pages: the measures of an A4 page, the fonts, and pieces of
// known height that the pages take in order. Internal to ReviewSheet.cpp and its pieces.

struct SheetMeasures {
    explicit SheetMeasures(int resolution) : unit(resolution / 72.0) {}
    qreal unit; // device units per point
    qreal pt(qreal points) const { return points * unit; }

    qreal pageWidth() const { return pt(595.28); }
    qreal pageHeight() const { return pt(841.89); }
    qreal left() const { return pt(40); }
    qreal top() const { return pt(36); }
    qreal contentWidth() const { return pageWidth() - 2 * left(); }
    qreal marginWidth() const { return pt(128); } // 点検's notes, right of the text
    qreal gutter() const { return pt(10); }
    qreal textWidth() const { return contentWidth() - marginWidth() - gutter(); }
    qreal bodyBottom() const { return pageHeight() - pt(40); } // the page number goes below
};

struct SheetFonts {
    QFont title;
    QFont heading; // 出席番号 and 氏名
    QFont label;   // a field's name and length, the notes, the page foot
    QFont text;
};
[[nodiscard]] SheetFonts sheetFonts();

// Text laid out in lines of the given width, each `leading` below the one before; the
// teacher's line breaks kept.
[[nodiscard]] std::shared_ptr<QTextLayout> laidOut(const QString &text, const QFont &font, qreal width, qreal leading,
                                                   QPaintDevice *device);

// A part of the sheet that draws itself at a height on the page.
struct SheetPiece {
    qreal height = 0;
    std::function<void(QPainter &painter, qreal top)> paint;
};

// The pieces of one pupil, kept on one page when they fit.
using SheetGroup = std::vector<SheetPiece>;

// Which page each piece goes on: a group moves to a new page rather than being split, unless
// it is taller than a page; a piece never is (the caller cuts long texts into pieces).
struct PlacedPiece {
    const SheetPiece *piece = nullptr;
    int page = 0;
    qreal top = 0;
};
[[nodiscard]] QList<PlacedPiece> placePieces(const std::vector<SheetGroup> &groups, qreal firstTop, qreal pageTop,
                                             qreal pageBottom);
