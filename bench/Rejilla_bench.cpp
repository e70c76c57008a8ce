// The quarter browser's list of a busy quarter: opening it whole and
// showing a screenful of it anywhere in the list.
#include "datos/ConexionBD.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/comun/RejillaLogica.h"
#include "dominio/facturas/FacturasLogica.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Datos {
    QTemporaryDir dir;
    std::unique_ptr<ConexionBD> con;
    explicit Datos(int filas) {
        con = ConexionBD::Abrir(QStringLiteral("Driver={SQLite3 ODBC Driver};DBQ=") + dir.path() +
                                    QStringLiteral("/Fiscalino.mdb;UID=Administrador;PWD="),
                                true);
        con->Ejecutar(QStringLiteral(
                          "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                          "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, "
                          "IMPORTE_NETO, IVA, TIPO) "
                          "select 'F-' || i, printf('2008-%02d-%02d', 1 + i % 3, 1 + i % 28), "
                          "i % 1000 + (i % 100) / 100.0, i % 5000 + (i % 100) / 100.0, "
                          "i % 4000, 21, 'P' from n")
                          .arg(filas));
    }
};

Datos& Trimestre(int filas) {
    static std::map<int, std::unique_ptr<Datos>> cache;
    auto& d = cache[filas];
    if (!d)
        d = std::make_unique<Datos>(filas);
    return *d;
}

void BM_AbreLista(benchmark::State& st) {
    Datos& d = Trimestre(static_cast<int>(st.range(0)));
    ModeloRegistros modelo(ColumnasModeloFacturas());
    for (auto _ : st) {
        auto rs = CargaLista(*d.con, QStringLiteral("P"), QStringLiteral("01/01/2008"), QStringLiteral("31/03/2008"));
        modelo.EstableceRegistros(rs.get());
        benchmark::DoNotOptimize(modelo.rowCount());
        modelo.EstableceRegistros(nullptr);
    }
    st.SetItemsProcessed(st.iterations() * st.range(0));
}
BENCHMARK(BM_AbreLista)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

// One screenful (40 rows of 7 cells) at a place that moves through the list.
void BM_PantallaDeFilas(benchmark::State& st) {
    Datos& d = Trimestre(static_cast<int>(st.range(0)));
    auto rs = CargaLista(*d.con, QStringLiteral("P"), QStringLiteral("01/01/2008"), QStringLiteral("31/03/2008"));
    auto columnas = ColumnasModeloFacturas();
    for (auto& c : columnas)
        if (c.campo.startsWith(QLatin1String("IMPORTE")))
            c.formato = FormatoMiles;
    ModeloRegistros modelo(columnas);
    modelo.EstableceRegistros(rs.get());
    const int filas = modelo.rowCount();
    int inicio = 0;
    for (auto _ : st) {
        for (int f = inicio; f < inicio + 40 && f < filas; ++f)
            for (int c = 0; c < modelo.columnCount(); ++c)
                benchmark::DoNotOptimize(modelo.data(modelo.index(f, c)));
        inicio = (inicio + 997) % filas;
    }
}
BENCHMARK(BM_PantallaDeFilas)->Arg(50000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
