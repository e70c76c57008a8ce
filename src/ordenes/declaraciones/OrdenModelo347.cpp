#include "ordenes/declaraciones/OrdenModelo347.h"

#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/ErrorBD.h"
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Modelo347Rpt.h"
#include "ordenes/comun/Orden.h"
#include "ordenes/declaraciones/ArgumentosDeclaracion.h"

namespace {

// The contact kept in the settings; asked on the terminal the first time.
bool Contacto(ContextoOrden& c, Declarante347& d) {
    ContactoDeclaraciones k = LeeContactoDeclaraciones();
    const bool faltaba = k.telefono.trimmed().isEmpty() || k.nombre.trimmed().isEmpty();
    if (k.telefono.trimmed().isEmpty()) {
        const auto r = c.pideRespuesta ? c.pideRespuesta(QStringLiteral("Teléfono de contacto para la Agencia Tributaria: "))
                                       : std::nullopt;
        k.telefono = r.value_or(QString()).trimmed();
    }
    if (k.nombre.trimmed().isEmpty()) {
        const auto r = c.pideRespuesta ? c.pideRespuesta(QStringLiteral("Persona de contacto (apellidos y nombre): "))
                                       : std::nullopt;
        k.nombre = r.value_or(QString()).trimmed();
    }
    d.telefono = k.telefono;
    d.contacto = k.nombre;
    const QString falta = FaltaParaFichero(d);
    if (!falta.isEmpty()) {
        c.avisa(falta);
        return false;
    }
    if (faltaba)
        GuardaContactoDeclaraciones(k);
    return true;
}

}  // namespace

int OrdenModelo347(ContextoOrden& c) {
    const auto argumentos = LeeArgumentosDeclaracion(c);
    if (!argumentos)
        return CodigoSalida::UsoIncorrecto;
    const auto& [anio, salida, pdf] = *argumentos;
    if (!AbreBaseDeOrden(c) || !AccesoDeOrden(c, AccesoInformes))
        return CodigoSalida::Fallo;
    try {
        const Modelo347 m = LeeModelo347(*Conexion, anio);
        // The file first: a failure leaves nothing on standard output.
        if (pdf) {
            const CabeceraEmpresa empresa = LineasEmpresa(*Conexion->AbrirRegistros(SqlDatosEmpresa()));
            if (!EscribePdf(Modelo347Rpt(m, empresa), salida, TextoModelo347::Titulo)) {
                c.avisa(TextoPdfNoGuardado(salida));
                return CodigoSalida::Fallo;
            }
        } else if (!salida.isEmpty()) {
            Declarante347 d = LeeDeclarante(*Conexion);
            if (!Contacto(c, d))
                return CodigoSalida::Fallo;
            QString detalle;
            if (!GuardaFichero347(salida, m, d, &detalle)) {
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
