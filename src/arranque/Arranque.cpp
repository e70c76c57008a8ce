#include "arranque/Arranque.h"

#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/Ajustes.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Copias.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const int kEsperaComprobacionMs = 1000;
const QString kTituloPrimeraVez = QStringLiteral("Primera ejecución - CONFIGURACIÓN");

// A new computer, or a lost database, with copies at hand: one of them may be
// put in place of the empty database. True when one was restored.
bool OfreceRestaurar(const Arranque& ganchos) {
    if (!ganchos.restauraPrimeraVez || !HayCopias(CarpetaCopia()))
        return false;
    const Respuesta r = MuestraMensaje(
        QStringLiteral("Atención, es la primera vez que se arranca la aplicación, pero hay copias de seguridad en ") +
            CarpetaCopia() +
            QStringLiteral(". ¿Desea restaurar una de ellas? Si contesta No, se creará una base de datos vacía."),
        Botones::SiNo, Icono::Pregunta, kTituloPrimeraVez);
    return r == Respuesta::Si && ganchos.restauraPrimeraVez();
}

// Connects, offering the copies when the database does not exist yet. A file
// is looked for before the connection creates it, so that a copy takes its
// place; a server's database exists before the program's tables do, and is
// known new once connected, a copy then replacing the empty tables. False
// when there is no connection.
bool ConectaOfreciendoCopias(const Arranque& ganchos) {
    const QString ruta = RutaBaseDatos();
    const bool servidor = ConexionBD::EsDireccionServidor(ruta);
    if (!servidor && !QFileInfo::exists(ruta) && OfreceRestaurar(ganchos) && Conexion && Conexion->Abierta())
        return true;
    if (!ConectarBD())
        return false;
    if (servidor && Conexion->Nueva())
        OfreceRestaurar(ganchos);
    return (Conexion && Conexion->Abierta()) || ConectarBD();
}

}  // namespace

FinArranque Main(const Arranque& ganchos) {
    if (!ConectaOfreciendoCopias(ganchos))
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
                       Botones::Aceptar, Icono::Informacion, kTituloPrimeraVez);
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
