#include "ventanas/comun/Recursos.h"

#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QtGlobal>

static void CargaRecursosFiscalino() { Q_INIT_RESOURCE(fiscalino); }

void IniciaRecursos() {
    static bool hecho = false;
    if (!hecho) {
        hecho = true;
        CargaRecursosFiscalino();
    }
}

QPixmap PixmapPng(const QString& ruta) {
    IniciaRecursos();
    // Read as PNG by name, so that no image plugin is loaded to guess the format.
    QImageReader lector(ruta, "png");
    return QPixmap::fromImage(lector.read());
}

QIcon IconoAplicacion() {
    IniciaRecursos();
    // Every size drawn for the icon theme, so that the title bar, the task
    // bar and the about box each take a picture made for their size.
    static const QIcon icono = [] {
        QIcon i;
        const QDir carpeta(QStringLiteral(":/iconos/aplicacion"));
        for (const QString& archivo : carpeta.entryList({QStringLiteral("*.png")}, QDir::Files)) {
            i.addPixmap(PixmapPng(carpeta.filePath(archivo)));
        }
        return i;
    }();
    return icono;
}
