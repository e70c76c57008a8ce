#include "arranque/ArranqueVentanas.h"

#include <QCoreApplication>

#include "ventanas/comun/Ventanas.h"
#include "ventanas/copias/RestaurarCopiaFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "ventanas/ajustes/DatosEmpresaFrm.h"
#include "ventanas/ajustes/ParametrosFrm.h"

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
