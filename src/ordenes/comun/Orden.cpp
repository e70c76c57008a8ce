#include "ordenes/comun/Orden.h"

#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"

bool AbreBaseDeOrden(ContextoOrden& c, bool paraEscribir) {
    if (!(paraEscribir ? ConectarBD() : ConectarBDSoloLectura()))
        return false;  // the message went through the seam, to standard error
    try {
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from PARAMETROS"));
        if (!rs->Fin())
            CargaParametros(*rs);
        return true;
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        CierraConexion();
        return false;
    }
}

bool AccesoDeOrden(ContextoOrden& c, bool guardado) {
    if (!guardado || PalabraClave.isEmpty())
        return true;
    const std::optional<QString> clave = c.pideSecreto ? c.pideSecreto(QStringLiteral("Contraseña: ")) : std::nullopt;
    if (!clave) {
        c.avisa(QStringLiteral("Hace falta la clave de acceso y no hay un terminal donde pedirla."));
        return false;
    }
    if (*clave != PalabraClave) {
        c.avisa(QStringLiteral("Contraseña no válida."));
        return false;
    }
    return true;
}
