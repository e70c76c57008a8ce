#include "app/ArranqueVentanas.h"

#include <QCoreApplication>

#include "ui/common/Ventanas.h"
#include "ui/copias/RestaurarCopiaFrm.h"
#include "ui/main/InicioMDIFrm.h"
#include "ui/settings/DatosEmpresaFrm.h"
#include "ui/settings/ParametrosFrm.h"

Arranque ArranqueConVentanas() {
    Arranque a;
    a.muestraDatosEmpresa = [] {
        DatosEmpresaFrm dlg;
        dlg.setObjectName(QStringLiteral("DatosEmpresaFrm"));
        dlg.exec();
    };
    a.muestraParametros = [] {
        ParametrosFrm dlg;
        dlg.setObjectName(QStringLiteral("ParametrosFrm"));
        dlg.exec();
    };
    a.restauraPrimeraVez = [] {
        RestaurarCopiaFrm dlg;
        return dlg.exec() == QDialog::Accepted;
    };
    a.muestraVentanaPrincipal = [] {
        auto* v = new InicioMDIFrm();
        v->show();
    };
    a.aplicaTamano = [](double ancho, double alto, int estado) {
        if (auto* v = qobject_cast<InicioMDIFrm*>(VentanaPrincipal()))
            v->AplicaTamano(ancho, alto, estado);
    };
    a.terminaPrograma = [] { QCoreApplication::exit(1); };
    return a;
}
