#include "ui/common/Recursos.h"

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
    return QIcon(QStringLiteral(":/iconos/fiscalino.png"));
}
