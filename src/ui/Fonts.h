#pragma once

#include <QFont>

// The program is designed around "ＭＳ Ｐゴシック". Where it is missing, IPAPGothic has the same
// metrics, and Noto Sans CJK JP is the last resort.
QFont uiFont(double pointSize, bool bold = false);
