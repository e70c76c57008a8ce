#include "datos/motor/CopiaTablas.h"

#include "datos/motor/Esquema.h"
#include "datos/motor/Motor.h"
#include "datos/motor/Traductor.h"

#include <cmath>

namespace {

QStringList Columnas(const TablaEsquema& t) {
    QStringList c;
    if (t.conId)
        c << QStringLiteral("ID");
    for (const ColumnaEsquema& k : t.columnas)
        c << QLatin1String(k.nombre);
    return c;
}

// A value as its column keeps it (a count, an amount, a date, a text).
Valor Tipado(const Valor& v, ClaseColumna clase) {
    if (v.EsNulo())
        return v;
    switch (clase) {
    case ClaseColumna::Entero: return Valor::DeEntero(static_cast<qint64>(v.Numero()));
    case ClaseColumna::Numero: return Valor::DeDecimal(v.Numero());
    case ClaseColumna::Fecha: return Valor::DeFecha(v.Fecha());
    case ClaseColumna::Texto: return Valor::DeTexto(v.Texto());
    }
    return v;
}

}  // namespace

void CopiaTablas(MotorBD& origen, MotorBD& destino) {
    for (const TablaEsquema& t : TablasPrograma()) {
        // An origin of an earlier layout lacks the later tables: those the
        // invoices give are drawn from them.
        if (t.desde > 1 && !origen.TieneTabla(t.nombre)) {
            if (qstrcmp(t.nombre, "TERCEROS") == 0)
                destino.Ejecutar(SqlTercerosDeFacturas(), {});
            continue;
        }
        const QStringList columnas = Columnas(t);
        QStringList parametros;
        for (int i = 0; i < columnas.size(); ++i)
            parametros << destino.dialecto().Parametro(i + 1);
        const QString inserta = QStringLiteral("insert into ") + QLatin1String(t.nombre) + QStringLiteral(" (") +
                                columnas.join(QStringLiteral(", ")) + QStringLiteral(") values (") +
                                parametros.join(QStringLiteral(", ")) + QLatin1Char(')');
        // An origin of an earlier layout lacks the newer columns: they go in as Null.
        const QStringList hay =
            origen.Consultar(QStringLiteral("select * from ") + QLatin1String(t.nombre) + QStringLiteral(" where 1 = 0"))
                ->Columnas();
        QStringList leidas;
        for (const QString& c : columnas)
            leidas << (hay.contains(c, Qt::CaseInsensitive) ? c : QStringLiteral("Null"));
        auto filas = origen.Consultar(QStringLiteral("select ") + leidas.join(QStringLiteral(", ")) +
                                      QStringLiteral(" from ") + QLatin1String(t.nombre) +
                                      (t.conId ? QStringLiteral(" order by ID") : QString()));
        std::vector<Valor> valores(static_cast<size_t>(columnas.size()));
        for (int f = 0; f < filas->NumFilas(); ++f) {
            int c = 0;
            if (t.conId)
                valores[0] = Tipado(filas->Celda(f, c++), ClaseColumna::Entero);
            for (const ColumnaEsquema& k : t.columnas) {
                valores[static_cast<size_t>(c)] = Tipado(filas->Celda(f, c), k.clase);
                ++c;
            }
            destino.Ejecutar(inserta, valores);
        }
    }
    destino.SincronizaIdentidades();
}
