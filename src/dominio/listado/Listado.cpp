#include "dominio/listado/Listado.h"

#include "datos/motor/Comillas.h"
#include "datos/ConexionBD.h"
#include "dominio/facturas/Nif.h"

#include <QFileInfo>

QString ConsultaListado(const QString& desde, const QString& hasta) {
    // The boxes admit no apostrophe, but the texts may come from elsewhere:
    // doubled, one can only make the date fail to convert.
    const QString entre = DoblarComillas(desde) + QStringLiteral("') and DateValue('") + DoblarComillas(hasta) +
                          QStringLiteral("')");
    return QStringLiteral("select F.FECHA_FACTURA,") +
           QStringLiteral("       C.IVA As IMPORTE_IVA_C, C.TOTAL As IMPORTE_TOTAL_C,") +
           QStringLiteral("       V.IVA As IMPORTE_IVA_V, V.TOTAL As IMPORTE_TOTAL_V") + QStringLiteral("  from (") +
           QStringLiteral("         (select distinct FECHA_FACTURA") + QStringLiteral("            from FACTURAS") +
           QStringLiteral("           where DateValue(FECHA_FACTURA) Between DateValue('") + entre +
           QStringLiteral("         ) F left outer join") +
           QStringLiteral("         (select FECHA_FACTURA, Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL") +
           QStringLiteral("            from FACTURAS") + QStringLiteral("           where TIPO = 'P'") +
           QStringLiteral("             and DateValue(FECHA_FACTURA) Between DateValue('") + entre +
           QStringLiteral("           group by FECHA_FACTURA") +
           QStringLiteral("         ) C on F.FECHA_FACTURA = C.FECHA_FACTURA") +
           QStringLiteral("       ) left outer join ") +
           QStringLiteral("       (select FECHA_FACTURA, Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL") +
           QStringLiteral("          from FACTURAS") + QStringLiteral("         where TIPO = 'C'") +
           QStringLiteral("           and DateValue(FECHA_FACTURA) Between DateValue('") + entre +
           QStringLiteral("         group by FECHA_FACTURA") +
           QStringLiteral("       ) V on F.FECHA_FACTURA = V.FECHA_FACTURA") +
           QStringLiteral(" where DateValue(F.FECHA_FACTURA) Between DateValue('") + entre +
           QStringLiteral(" order by F.FECHA_FACTURA");
}

QString SqlDatosEmpresa() { return QStringLiteral("select * from ") + QStringLiteral("DATOS_EMPRESA"); }

CabeceraEmpresa LineasEmpresa(const Registros& rs) {
    CabeceraEmpresa c;
    if (rs.Fin())
        return c;
    auto t = [&](const char* col) { return rs.Campo(QLatin1String(col)).Texto(); };
    c.linea1 = t("NOMBRE");
    c.linea2 = t("DIRECCION");
    c.linea3 = t("COD_POSTAL") + QLatin1Char(' ') + t("LOCALIDAD") + QLatin1Char(' ') + t("PROVINCIA");
    if (rs.IndiceColumna(QStringLiteral("CIF")) >= 0)
        c.nif = NormalizaNif(t("CIF"));
    return c;
}

QString LineaTitulo(const QString& desde, const QString& hasta) {
    return QStringLiteral("entre las fechas ") + desde + QStringLiteral("  y  ") + hasta;
}

std::vector<FilaListado> FilasListado(const Registros& rs) {
    std::vector<FilaListado> filas;
    const int cFecha = rs.IndiceColumna(QStringLiteral("FECHA_FACTURA"));
    const int cols[4] = {rs.IndiceColumna(QStringLiteral("IMPORTE_IVA_C")), rs.IndiceColumna(QStringLiteral("IMPORTE_TOTAL_C")),
                         rs.IndiceColumna(QStringLiteral("IMPORTE_IVA_V")), rs.IndiceColumna(QStringLiteral("IMPORTE_TOTAL_V"))};
    if (cFecha < 0 || cols[0] < 0 || cols[1] < 0 || cols[2] < 0 || cols[3] < 0)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("El listado no tiene las columnas esperadas."));
    filas.reserve(rs.NumFilas());
    for (int i = 0; i < rs.NumFilas(); ++i) {
        FilaListado f;
        f.fecha = rs.Celda(i, cFecha).Fecha();
        std::optional<double>* destino[4] = {&f.ivaC, &f.totalC, &f.ivaV, &f.totalV};
        for (int k = 0; k < 4; ++k) {
            const Valor& v = rs.Celda(i, cols[k]);
            if (!v.EsNulo())
                *destino[k] = v.Numero();
        }
        filas.push_back(f);
    }
    return filas;
}

QString CarpetaParaGuardar(const QString& documentos, const QString& personal) {
    // A folder that does not exist would leave the file dialog in the folder
    // the program was started from, mostly its own.
    if (!documentos.isEmpty() && QFileInfo(documentos).isDir())
        return documentos;
    return personal;
}
