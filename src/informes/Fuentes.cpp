#include "informes/Fuentes.h"

#include <QFile>
#include <QFontDatabase>

namespace {

// Debian's fonts-wine ships a metric-compatible Tahoma. Its bold file is
// drawn lighter than the regular one, so bold is left to the renderer; its
// MS Sans Serif cannot be emboldened at all, so Liberation Sans stands in.
// Adding a file builds the whole font database, so it waits until a screen
// asks for the face.
void CargaTahoma() {
    static bool hecho = false;
    if (hecho)
        return;
    hecho = true;
    const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(tahoma))
        QFontDatabase::addApplicationFont(tahoma);
}

}  // namespace

void InstalaSustitutosFuentes() {
    PreparaSustitutosFuentes();
    CargaTahoma();
}

void PreparaSustitutosFuentes() {
    static bool hecho = false;
    if (hecho)
        return;
    hecho = true;
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont Fuente(const QString& familia, double puntos, bool negrita) {
    if (familia.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        CargaTahoma();
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}
