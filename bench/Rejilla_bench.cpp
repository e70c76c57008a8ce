// The quarter browser's list of a busy quarter: opening it whole and
// showing a screenful of it anywhere in the list, beside its anchor: the same
// rows in plain SQLite (the grid's columns, ISO dates as text, an index that
// serves the list's order) read into a model of plain QVariants. Before
// timing, the grid's columns are compared row by row with the anchor's: the
// run fails on any difference. `--comprobar` compares only, at the smallest
// size.
#include "anclas/ModeloPlano.h"
#include "datos/ConexionBD.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/comun/RejillaLogica.h"
#include "dominio/facturas/FacturasLogica.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

struct Datos {
    QTemporaryDir dir;
    std::unique_ptr<ConexionBD> con;
    sqlite3* plana = nullptr;
    ~Datos() { sqlite3_close(plana); }
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
        // The anchor: the same rows, copied out of the program's file.
        const QByteArray archivo = QFile::encodeName(dir.path() + QStringLiteral("/plana.db"));
        sqlite3_open(archivo.constData(), &plana);
        const std::string programa = QFile::encodeName(dir.path() + QStringLiteral("/Fiscalino.mdb")).toStdString();
        const std::string sql =
            "attach '" + programa + "' as p; "
            "create table FACTURAS (ID integer primary key, FECHA_FACTURA text, COD_FACTURA text, IVA real, "
            "IMPORTE_NETO real, IMPORTE_IVA real, IMPORTE_TOTAL real, TIPO text); "
            "insert into FACTURAS select ID, FECHA_FACTURA, COD_FACTURA, IVA, IMPORTE_NETO, IMPORTE_IVA, "
            "IMPORTE_TOTAL, TIPO from p.FACTURAS; "
            "create index FACTURAS_TIPO_FECHA_CODIGO on FACTURAS (TIPO, FECHA_FACTURA, COD_FACTURA); detach p;";
        if (sqlite3_exec(plana, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s\n", sqlite3_errmsg(plana));
            std::exit(1);
        }
    }
};

Datos& Trimestre(int filas);

// The anchor's statement: the grid's columns, in the list's order.
std::string SqlPlano() {
    std::string columnas;
    for (const ColumnaRejilla& c : ColumnasModeloFacturas())
        columnas += (columnas.empty() ? "" : ", ") + c.campo.toStdString();
    return "select " + columnas +
           " from FACTURAS where TIPO = 'P' and FECHA_FACTURA between '2008-01-01' and '2008-03-31' "
           "order by FECHA_FACTURA, COD_FACTURA, ID";
}

std::string Texto(const Valor& v) {
    char b[64];
    switch (v.tipo()) {
    case Valor::Tipo::Nulo: return "∅";
    case Valor::Tipo::Entero: return std::to_string(v.entero());
    case Valor::Tipo::Decimal: return std::string(b, std::to_chars(b, b + sizeof b, v.decimal(), std::chars_format::fixed, 2).ptr);
    case Valor::Tipo::Fecha: return v.fecha().toString(Qt::ISODate).toStdString();
    case Valor::Tipo::Texto: return v.texto().toStdString();
    }
    return {};
}

std::string Texto(const QVariant& v) {
    char b[64];
    if (v.isNull())
        return "∅";
    if (v.typeId() == QMetaType::Double)
        return std::string(b, std::to_chars(b, b + sizeof b, v.toDouble(), std::chars_format::fixed, 2).ptr);
    return v.toString().toStdString();
}

// The grid's columns of every row, both ways.
void Compara(int filas) {
    Datos& d = Trimestre(filas);
    auto rs = CargaLista(*d.con, QStringLiteral("P"), QStringLiteral("01/01/2008"), QStringLiteral("31/03/2008"));
    ModeloPlano plano;
    plano.Llena(d.plana, SqlPlano());
    const auto columnas = ColumnasModeloFacturas();
    bool igual = rs->NumFilas() == plano.rowCount() && plano.rowCount() > 0;
    for (int f = 0; igual && f < plano.rowCount(); ++f)
        for (int c = 0; igual && c < columnas.size(); ++c) {
            const std::string a = Texto(rs->Celda(f, rs->IndiceColumna(columnas[c].campo)));
            const std::string b = Texto(plano.data(plano.index(f, c), Qt::DisplayRole));
            if (a != b) {
                std::fprintf(stderr, "fila %d, %s: %s el programa, %s SQLite\n", f, qPrintable(columnas[c].campo),
                             a.c_str(), b.c_str());
                igual = false;
            }
        }
    if (!igual) {
        std::fprintf(stderr, "DIFERENCIA en la lista de %d facturas: %d filas el programa, %d SQLite\n", filas,
                     rs->NumFilas(), plano.rowCount());
        std::exit(1);
    }
    std::fprintf(stderr, "  lista de %d facturas: filas iguales\n", filas);
}

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

void BM_AbreLista_Plano(benchmark::State& st) {
    Datos& d = Trimestre(static_cast<int>(st.range(0)));
    ModeloPlano modelo;
    const std::string sql = SqlPlano();
    for (auto _ : st) {
        modelo.Llena(d.plana, sql);
        benchmark::DoNotOptimize(modelo.rowCount());
    }
    st.SetItemsProcessed(st.iterations() * st.range(0));
}
BENCHMARK(BM_AbreLista_Plano)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_PantallaDeFilas_Plano(benchmark::State& st) {
    Datos& d = Trimestre(static_cast<int>(st.range(0)));
    ModeloPlano modelo;
    modelo.Llena(d.plana, SqlPlano());
    const int filas = modelo.rowCount();
    int inicio = 0;
    for (auto _ : st) {
        for (int f = inicio; f < inicio + 40 && f < filas; ++f)
            for (int c = 0; c < modelo.columnCount(); ++c)
                benchmark::DoNotOptimize(modelo.data(modelo.index(f, c), Qt::DisplayRole));
        inicio = (inicio + 997) % filas;
    }
}
BENCHMARK(BM_PantallaDeFilas_Plano)->Arg(50000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const bool soloComprobar = argc > 1 && std::strcmp(argv[1], "--comprobar") == 0;
    for (int filas : {1000, 50000}) {
        Compara(filas);
        if (soloComprobar)
            return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
