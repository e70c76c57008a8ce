#include "ui/common/Fuentes.h"

#include <QFile>
#include <QFontDatabase>

void InstalaSustitutosFuentes() {
    static bool hecho = false;
    if (hecho)
        return;
    hecho = true;
    // Debian's fonts-wine ships metric-compatible Tahoma and MS Sans Serif.
    for (const char* f : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                          "/usr/share/wine/fonts/ms_sans_serif.ttf"})
        if (QFile::exists(QString::fromLatin1(f)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(f));
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
