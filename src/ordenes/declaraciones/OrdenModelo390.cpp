#include "ordenes/declaraciones/OrdenModelo390.h"

#include "base/Archivos.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/ErrorBD.h"
#include "dominio/declaraciones/Fichero390.h"
#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Modelo390Rpt.h"
#include "ordenes/comun/Orden.h"
#include "ordenes/declaraciones/ArgumentosDeclaracion.h"


int OrdenModelo390(ContextoOrden& c) {
    const auto argumentos = LeeArgumentosDeclaracion(c);
    if (!argumentos)
        return CodigoSalida::UsoIncorrecto;
    const auto& [anio, salida, pdf] = *argumentos;
    if (!AbreBaseDeOrden(c) || !AccesoDeOrden(c, AccesoInformes))
        return CodigoSalida::Fallo;
    if (ModeloDeImpuesto(OpcionIva) == ModeloDeclaracion::M420) {
        c.avisa(QStringLiteral("El resumen anual del IGIC (Modelo 425) no está disponible todavía."));
        return CodigoSalida::Fallo;
    }
    try {
        const Modelo390 m = LeeModelo390(*Conexion, anio, OpcionIva);
        // The file first: a failure leaves nothing on standard output.
        if (pdf) {
            const CabeceraEmpresa empresa = LineasEmpresa(*Conexion->AbrirRegistros(SqlDatosEmpresa()));
            if (!EscribePdf(Modelo390Rpt(m, empresa), salida, QStringLiteral("Resumen Anual del IVA"))) {
                c.avisa(TextoPdfNoGuardado(salida));
                return CodigoSalida::Fallo;
            }
        } else if (!salida.isEmpty()) {
            QString falta;
            const QByteArray datos = LeeFichero390(*Conexion, m, VersionPrograma, &falta);
            if (!falta.isEmpty()) {
                c.avisa(falta);
                return CodigoSalida::Fallo;
            }
            QString detalle;
            if (!EscribeArchivoEntero(salida, datos, &detalle)) {
                c.avisa(QStringLiteral("No se ha podido guardar el archivo %1: %2").arg(salida, detalle));
                return CodigoSalida::Fallo;
            }
        }
        for (const QString& linea : m.LineasOrden())
            c.escribe(linea);
        return CodigoSalida::Exito;
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
}
