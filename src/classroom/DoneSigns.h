#pragma once

#include "DoneMarks.h"

#include <QString>

// How the table shows a 完了 mark, by a sign before the length (not by colour alone):
// 済 finished, 改 marked finished but revised since, so it needs another look.
inline QString doneSign(DoneState state)
{
    switch (state) {
    case DoneState::Open: break;
    case DoneState::Done: return QStringLiteral("済");
    case DoneState::ChangedSinceDone: return QStringLiteral("改");
    }
    return {};
}

inline QString doneTip(DoneState state)
{
    switch (state) {
    case DoneState::Open: break;
    case DoneState::Done: return QStringLiteral("\n\n済 完了");
    case DoneState::ChangedSinceDone:
        return QStringLiteral("\n\n改 完了にした後で文章が変わりました。見直して、もう一度完了にしてください。");
    }
    return {};
}
