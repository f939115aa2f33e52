#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// The preferred families that are installed, in order, looked up once. A font naming a
// family that is not installed makes Qt ask fontconfig for a whole fallback list for it:
// with the two Windows names missing, as on most Linux systems, that was a sixth of the
// work done before the window first showed.
const QStringList &installedFamilies()
{
    static const QStringList families = [] {
        const QStringList preferred{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                    QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
        const QStringList available = QFontDatabase::families();
        QStringList installed;
        for (const QString &family : preferred)
            if (available.contains(family, Qt::CaseInsensitive))
                installed.append(family);
        return installed.isEmpty() ? preferred : installed;
    }();
    return families;
}

} // namespace

QFont uiFont(double pointSize, bool bold)
{
    QFont font;
    font.setFamilies(installedFamilies());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
