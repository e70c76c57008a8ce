#include "datos/CopiaDatos.h"

#include "base/Formatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/TransaccionBD.h"
#include "datos/motor/Esquema.h"
#include "datos/motor/Motor.h"
#include "datos/motor/Traductor.h"

#include <cmath>


namespace {

// What a table holds, to compare two databases: its rows and, for each amount
// column, the sum in cents.
struct CuentaTabla {
    qint64 filas = 0;
    std::vector<qint64> centimos;
    bool operator==(const CuentaTabla& o) const { return filas == o.filas && centimos == o.centimos; }
};

// Only the tables `origen` holds: one of an earlier layout lacks the later ones.
std::vector<CuentaTabla> CuentaTablas(MotorBD& motor, MotorBD& origen) {
    std::vector<CuentaTabla> r;
    for (const TablaEsquema& t : TablasPrograma()) {
        CuentaTabla cuenta;
        if (t.desde > 1 && !origen.TieneTabla(t.nombre)) {
            r.push_back(cuenta);
            continue;
        }
        cuenta.filas = static_cast<qint64>(
            motor.Consultar(QStringLiteral("select count(*) from ") + QLatin1String(t.nombre))->Campo(0).Numero());
        QStringList importes;
        for (const ColumnaEsquema& k : t.columnas)
            if (k.clase == ClaseColumna::Numero)
                importes << QLatin1String(k.nombre);
        cuenta.centimos.assign(static_cast<size_t>(importes.size()), 0);
        if (!importes.isEmpty()) {
            // In cents, added one by one: no sum of doubles decides the comparison.
            auto rs = motor.Consultar(QStringLiteral("select ") + importes.join(QStringLiteral(", ")) +
                                      QStringLiteral(" from ") + QLatin1String(t.nombre));
            for (int f = 0; f < rs->NumFilas(); ++f)
                for (int c = 0; c < importes.size(); ++c) {
                    const Valor v = rs->Celda(f, c);
                    if (!v.EsNulo())
                        cuenta.centimos[static_cast<size_t>(c)] += std::llround(v.Numero() * 100);
                }
        }
        r.push_back(std::move(cuenta));
    }
    return r;
}

QString Numero(qint64 n) { return FormatoEnteroAgrupado(static_cast<double>(n)); }

// The summary as the user reads it: the invoices with the sums of their
// bases, cuotas and totals (the sum of the rates is compared, not shown),
// and the single-row tables by their records.
QStringList DescribeCuentas(const std::vector<CuentaTabla>& cuentas) {
    static const struct {
        const char* columna;
        const char* palabra;
    } kSumas[] = {{"IMPORTE_NETO", "bases"}, {"IMPORTE_IVA", "cuotas"}, {"IMPORTE_TOTAL", "totales"}};
    static const struct {
        const char* tabla;
        const char* titulo;
    } kTitulos[] = {{"PARAMETROS", "Configuración de la aplicación"}, {"DATOS_EMPRESA", "Datos de la empresa"},
                   {"TERCEROS", "Clientes y proveedores"}};
    QStringList r;
    const std::vector<TablaEsquema>& tablas = TablasPrograma();
    for (size_t i = 0; i < tablas.size(); ++i) {
        const TablaEsquema& t = tablas[i];
        const CuentaTabla& c = cuentas[i];
        // Customers and suppliers come from the invoices: said only when there are some.
        if (t.desde > 1 && c.filas == 0)
            continue;
        if (QLatin1String(t.nombre) != QLatin1String("FACTURAS")) {
            QString titulo = QLatin1String(t.nombre);
            for (const auto& k : kTitulos)
                if (QLatin1String(t.nombre) == QLatin1String(k.tabla))
                    titulo = QString::fromUtf8(k.titulo);
            r << titulo + QStringLiteral(": ") +
                     (c.filas == 0   ? QStringLiteral("ningún registro")
                      : c.filas == 1 ? QStringLiteral("1 registro")
                                     : Numero(c.filas) + QStringLiteral(" registros"));
            continue;
        }
        if (c.filas == 0) {
            r << QStringLiteral("Ninguna factura");
            continue;
        }
        QStringList sumas;
        size_t k = 0;
        for (const ColumnaEsquema& col : t.columnas) {
            if (col.clase != ClaseColumna::Numero)
                continue;
            for (const auto& suma : kSumas)
                if (QLatin1String(col.nombre) == QLatin1String(suma.columna))
                    sumas << QString::fromUtf8(suma.palabra) + QLatin1Char(' ') + FormatoCentimos(c.centimos[k]);
            ++k;
        }
        r << (c.filas == 1 ? QStringLiteral("1 factura") : Numero(c.filas) + QStringLiteral(" facturas")) +
                 QStringLiteral(" (") + sumas.join(QStringLiteral("; ")) + QLatin1Char(')');
    }
    return r;
}

}  // namespace

// The copy's one road (a friend of the connection, to reach both engines).
QStringList Traspasa(ConexionBD& origen, ConexionBD& destino, bool sustituir) {
    if (!origen.Abierta() || !destino.Abierta())
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
    MotorBD& o = *origen.motor_;
    MotorBD& d = *destino.motor_;
    if (!sustituir)
        for (const TablaEsquema& t : TablasPrograma())
            if (d.Consultar(QStringLiteral("select count(*) from ") + QLatin1String(t.nombre))->Campo(0).Numero() > 0)
                throw ErrorBD(CodigoError::BaseDatos,
                              QStringLiteral("La base de datos de destino ya tiene datos: sólo se copia en una base vacía."));
    // One snapshot of the origin, one transaction on the destination.
    TransaccionBD lectura(o, ClaseTransaccion::Instantanea);
    TransaccionBD escritura(d);
    if (sustituir)
        for (const TablaEsquema& t : TablasPrograma())
            d.Ejecutar(QStringLiteral("delete from ") + QLatin1String(t.nombre), {});
    CopiaTablas(o, d);
    const std::vector<CuentaTabla> cuentas = CuentaTablas(o, o);
    if (CuentaTablas(d, o) != cuentas)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La copia no coincide con el original: no se ha guardado nada."));
    escritura.Confirma();
    return DescribeCuentas(cuentas);
}

QStringList CopiaBaseDatos(ConexionBD& origen, ConexionBD& destino) { return Traspasa(origen, destino, false); }

QStringList SustituyeDatos(ConexionBD& origen, ConexionBD& destino) { return Traspasa(origen, destino, true); }
