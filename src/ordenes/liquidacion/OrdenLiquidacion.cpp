#include "ordenes/liquidacion/OrdenLiquidacion.h"

#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "informes/LiquidacionRpt.h"
#include "ordenes/comun/Orden.h"

int OrdenLiquidacion(ContextoOrden& c) {
    const PeriodoOrden periodo = LeePeriodoOrden(c.argumentos.value(0), c.argumentos.value(1));
    if (!periodo.error.isEmpty()) {
        c.avisa(periodo.error);
        return CodigoSalida::UsoIncorrecto;
    }
    // Only a PDF name: a slip of the hand must not write over the database or another file.
    const QString pdf = c.argumentos.value(2);
    if (c.argumentos.size() > 2 && !pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        c.avisa(QStringLiteral("El archivo de salida debe terminar en .pdf: ") + pdf);
        return CodigoSalida::UsoIncorrecto;
    }
    if (!AbreBaseDeOrden(c) || !AccesoDeOrden(c, AccesoInformes))
        return CodigoSalida::Fallo;
    try {
        const CabeceraEmpresa empresa = LineasEmpresa(*Conexion->AbrirRegistros(SqlDatosEmpresa()));
        const Liquidacion l = LeeLiquidacion(*Conexion, periodo.desde, periodo.hasta, OpcionIva);
        // The file first: a failure leaves nothing on standard output.
        if (!pdf.isEmpty() && !EscribePdf(LiquidacionRpt(l, empresa), pdf, QStringLiteral("Liquidación del Trimestre"))) {
            c.avisa(TextoPdfNoGuardado(pdf));
            return CodigoSalida::Fallo;
        }
        for (const QString& linea : l.LineasOrden())
            c.escribe(linea);
        return CodigoSalida::Exito;
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
}
