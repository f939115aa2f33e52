#include "CellMarks.h"

#include "CommentText.h"

CellMarks cellMarks(const QString &text, int limit, bool duplicate)
{
    CellMarks marks;
    marks.length = countedLength(text);
    marks.overLimit = limit > 0 && marks.length > limit;
    marks.empty = isBlankText(text);
    marks.duplicate = duplicate && !marks.empty;
    return marks;
}
