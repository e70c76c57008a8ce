#include "ui/common/Recursos.h"

#include <QDir>
#include <QtGlobal>

static void CargaRecursosFiscalino() { Q_INIT_RESOURCE(fiscalino); }

void IniciaRecursos() {
    static bool hecho = false;
    if (!hecho) {
        hecho = true;
        CargaRecursosFiscalino();
    }
}

QIcon IconoAplicacion() {
    IniciaRecursos();
    // Every size drawn for the icon theme, so that the title bar, the task
    // bar and the about box each take a picture made for their size.
    QIcon icono;
    const QDir carpeta(QStringLiteral(":/iconos/aplicacion"));
    for (const QString& archivo : carpeta.entryList({QStringLiteral("*.png")}, QDir::Files))
        icono.addFile(carpeta.filePath(archivo));
    return icono;
}
