#include "informes/Fuentes.h"

#include <QFile>
#include <QFontDatabase>

void InstalaSustitutosFuentes() {
    static bool hecho = false;
    if (hecho)
        return;
    hecho = true;
    // Debian's fonts-wine ships a metric-compatible Tahoma. Its bold file is
    // drawn lighter than the regular one, so bold is left to the renderer; its
    // MS Sans Serif cannot be emboldened at all, so Liberation Sans stands in.
    const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(tahoma))
        QFontDatabase::addApplicationFont(tahoma);
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont Fuente(const QString& familia, double puntos, bool negrita) {
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}
