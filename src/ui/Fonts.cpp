#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// The first of the preferred families that is installed, looked up once. A font naming a
// family that is not installed makes Qt ask fontconfig for a whole fallback list for it, and
// a font naming two families makes it build one for every script the text holds (Common,
// Hiragana, Katakana, Han): either was a sixth of the work done before the window first
// showed. Characters the family lacks (𠮷 in IPAPGothic) still come from Qt's own fallback.
const QString &installedFamily()
{
    static const QString family = [] {
        const QStringList preferred{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                    QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
        const QStringList available = QFontDatabase::families();
        for (const QString &family : preferred)
            if (available.contains(family, Qt::CaseInsensitive))
                return family;
        return preferred.first();
    }();
    return family;
}

} // namespace

QFont uiFont(double pointSize, bool bold)
{
    QFont font(installedFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
