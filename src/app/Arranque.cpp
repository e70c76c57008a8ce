#include "app/Arranque.h"

#include "config/ActualizacionMod.h"
#include "config/Ajustes.h"
#include "data/comun/Mensajes.h"
#include "config/Parametros.h"
#include "data/BaseDatos.h"
#include "data/ErroresBD.h"

#include <QCoreApplication>

namespace {
const int kEsperaComprobacionMs = 1000;
}  // namespace

FinArranque Main(const Arranque& ganchos) {
    if (!ConectarBD())
        return FinArranque::SinConexion;
    ComprobarVersion();

    std::unique_ptr<Registros> rs;
    try {
        rs = Conexion->AbrirRegistros(QStringLiteral("select * from ") + QStringLiteral("PARAMETROS"));
    } catch (const ErrorBD& e) {
        // Without a parameter table the program cannot go on.
        MostrarErrorBD(e);
        CierraConexion();
        return FinArranque::SinConexion;
    }

    if (rs->Fin()) {
        MuestraMensaje(QStringLiteral("Atención, es la primera vez que se arranca la aplicación. Introduzca a "
                                      "continuación los Parámetros Básicos de Configuración y vuelva a arrancar el "
                                      "programa."),
                       Botones::Aceptar, Icono::Informacion, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        rs.reset();
        if (ganchos.muestraDatosEmpresa)
            ganchos.muestraDatosEmpresa();
        if (ganchos.muestraParametros)
            ganchos.muestraParametros();
        CierraConexion();
        return FinArranque::PrimeraVez;
    }

    CargaParametros(*rs);
    rs.reset();

    if (ganchos.muestraVentanaPrincipal)
        ganchos.muestraVentanaPrincipal();
    if (ganchos.aplicaTamano) {
        const EstadoVentana v = LeeEstadoVentana();
        ganchos.aplicaTamano(v.ancho, v.alto, v.estado);
    }
    // The check reads the whole file: it starts once the window has had time
    // to show and runs apart (a write before then waits for it); a damaged
    // database gets the connection's message once it is known, and is never written.
    Conexion->IniciaComprobacion(
        [termina = ganchos.terminaPrograma](const QString& fallo) {
            if (fallo.isEmpty())
                return;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [fallo, termina] {
                    AvisaFalloConexion(fallo);
                    CierraConexion();
                    if (termina)
                        termina();
                },
                Qt::QueuedConnection);
        },
        kEsperaComprobacionMs);
    return FinArranque::VentanaAbierta;
}
