#pragma once

class QAbstractItemView;

// Rows of several lines a little taller than Qt measures them. A line with a character the
// main font lacks (𠮷 in a name) is drawn in a fallback font with a taller line, and Qt then
// cuts the next line to "…" though the row's height counted it; the room keeps it whole.
void giveRowsRoom(QAbstractItemView *view);
