#include "dominio/ajustes/DatosEmpresaLogica.h"

#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "datos/motor/ErroresBD.h"

const QString NombreEmpresaPruebas = QStringLiteral("EMPRESA en PRUEBAS");

namespace {

const QString kTabla = QStringLiteral("DATOS_EMPRESA");

QString Texto(const QStringList& textos, int i) { return i < textos.size() ? textos[i] : QString(); }

QString Nombre(const QStringList& textos) {
    const QString n = Texto(textos, 0);
    return DoblarComillas(n.isEmpty() ? NombreEmpresaPruebas : n);
}

QString V(const QStringList& textos, int i) { return ValorSQL(Texto(textos, i)); }

}  // namespace

QStringList ColumnasEmpresa() {
    return {QStringLiteral("NOMBRE"),    QStringLiteral("DESCRIPCION"), QStringLiteral("CIF"),
            QStringLiteral("DIRECCION"), QStringLiteral("LOCALIDAD"),   QStringLiteral("COD_POSTAL"),
            QStringLiteral("PROVINCIA"), QStringLiteral("TLFN"),        QStringLiteral("FAX"),
            QStringLiteral("EMAIL"),     QStringLiteral("WEB")};
}

QStringList ColumnasActividad() {
    return {QStringLiteral("COD_ACTIVIDAD"), QStringLiteral("TIPO_ACTIVIDAD"), QStringLiteral("EPIGRAFE_IAE")};
}

QString SqlLeeEmpresa() { return QStringLiteral("select * from ") + kTabla; }

QString SqlInsertaEmpresa(const QStringList& t) {
    const QString c = QStringLiteral(",");
    const bool actividad = t.size() > 11;
    return QStringLiteral("insert into ") + kTabla +
           QStringLiteral("       (NOMBRE,DESCRIPCION,CIF,DIRECCION,LOCALIDAD,COD_POSTAL,PROVINCIA,TLFN,FAX,EMAIL,WEB") +
           (actividad ? c + ColumnasActividad().join(c) : QString()) + QStringLiteral(") ") +
           QStringLiteral("values ('") + Nombre(t) + QStringLiteral("',") + V(t, 1) + c + V(t, 2) + c + V(t, 3) +
           QStringLiteral("       ,") + V(t, 4) + c + V(t, 5) + c + V(t, 6) + c + V(t, 7) +
           QStringLiteral("       ,") + V(t, 8) + c + V(t, 9) + c + V(t, 10) +
           (actividad ? c + V(t, 11) + c + V(t, 12) + c + V(t, 13) : QString()) + QStringLiteral(")");
}

QString SqlActualizaEmpresa(const QStringList& t) {
    static const char* const piezas[] = {"     , DESCRIPCION = ", "     , CIF = ",       "     , DIRECCION = ",
                                         "     , LOCALIDAD = ",   "     , COD_POSTAL = ", "     , PROVINCIA = ",
                                         "     , TLFN = ",        "     , FAX = ",        "     , EMAIL = ",
                                         "     , WEB = "};
    QString sql = QStringLiteral("update ") + kTabla + QStringLiteral("   set NOMBRE = '") + Nombre(t) +
                  QStringLiteral("'");
    for (int i = 1; i <= 10; ++i)
        sql += QLatin1String(piezas[i - 1]) + V(t, i);
    if (t.size() > 11)
        for (int i = 0; i < 3; ++i)
            sql += QStringLiteral("     , ") + ColumnasActividad()[i] + QStringLiteral(" = ") + V(t, 11 + i);
    return sql;
}

CargaEmpresaPantalla LeeEmpresaPantalla(const QStringList& etiquetas) {
    CargaEmpresaPantalla c;
    for (int i = 0; i < etiquetas.size(); ++i)
        c.textos << QString();
    try {
        auto rs = ConexionAbierta().AbrirRegistros(SqlLeeEmpresa());
        if (rs->Fin())
            return c;
        c.hayFila = true;
        for (int i = 0; i < etiquetas.size(); ++i)
            c.textos[i] = rs->Campo(etiquetas[i]).Texto();
        rs->Cerrar();
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
    }
    return c;
}

bool GuardaEmpresa(const QStringList& textos, bool insertar) {
    try {
        ConexionAbierta().Ejecutar(insertar ? SqlInsertaEmpresa(textos) : SqlActualizaEmpresa(textos));
        return true;
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return false;
    }
}
