// One refresh of the quarter browser (two lists and two sums) and the listing
// of a year, through the program's layer and in plain SQLite on ISO dates, on
// databases of 10 000, 100 000 and 1 000 000 invoices.
//
// The databases are built once per size and run in a temporary folder; set
// FISCALINO_BENCH_DIR to keep them between runs.
#include "data/BaseDatos.h"
#include "data/ConexionBD.h"
#include "invoices/Trimestres.h"
#include "reports/Listado.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

// The invoices span ten years; the refresh reads the second quarter of 2015
// and the listing the whole of 2015.
const QDate kPrimerDia(2010, 1, 1);
const int kDias = 3652;
const QString kDesde = QStringLiteral("01/04/2015"), kHasta = QStringLiteral("30/06/2015");
const char* const kDesdeIso = "2015-04-01";
const char* const kHastaIso = "2015-06-30";
const QString kAnioDesde = QStringLiteral("01/01/2015"), kAnioHasta = QStringLiteral("31/12/2015");

void Falla(sqlite3* db, const char* que) {
    std::fprintf(stderr, "%s: %s\n", que, db ? sqlite3_errmsg(db) : "?");
    std::abort();
}

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Falla(db, sql);
}

QString Carpeta() {
    static std::unique_ptr<QTemporaryDir> temporal;
    if (const char* fija = std::getenv("FISCALINO_BENCH_DIR")) {
        QDir().mkpath(QString::fromLocal8Bit(fija));
        return QString::fromLocal8Bit(fija);
    }
    if (!temporal)
        temporal = std::make_unique<QTemporaryDir>();
    return temporal->path();
}

// The same invoices in both databases: dates stored as ISO text and amounts
// as real numbers, which is what the program's triggers store.
void Llena(sqlite3* db, int n) {
    Exec(db, "begin");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, "
                           "IMPORTE_TOTAL, DESCRIPCION, TIPO) values (?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &st, nullptr) != SQLITE_OK)
        Falla(db, "insert");
    std::vector<std::string> dias;
    for (int d = 0; d < kDias; ++d)
        dias.push_back(kPrimerDia.addDays(d).toString(Qt::ISODate).toStdString());
    const double porcentajes[3] = {21, 10, 4};
    std::uint64_t semilla = 12345;
    auto azar = [&]() {
        semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(semilla >> 33);
    };
    char codigo[32];
    for (int i = 0; i < n; ++i) {
        const double pct = porcentajes[azar() % 3];
        const double total = 1 + (azar() % 1000000) / 100.0;
        const double neto = std::round(total / (1 + pct / 100) * 100) / 100;
        const double iva = std::round((total - neto) * 100) / 100;
        std::snprintf(codigo, sizeof codigo, "F-%07u", azar() % 10000000);
        sqlite3_bind_text(st, 1, codigo, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, dias[azar() % kDias].c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 3, neto);
        sqlite3_bind_double(st, 4, pct);
        sqlite3_bind_double(st, 5, iva);
        sqlite3_bind_double(st, 6, total);
        if (i % 4 == 0)
            sqlite3_bind_null(st, 7);
        else
            sqlite3_bind_text(st, 7, "Material de oficina", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 8, (azar() & 1) ? "P" : "C", -1, SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_DONE)
            Falla(db, "step");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exec(db, "commit");
}

// The program's database, created by its own layer, filled through a direct
// handle that has the program's functions (the index needs DateValue).
QString BaseNuestra(int n) {
    static std::map<int, QString> hechas;
    if (hechas.count(n))
        return hechas[n];
    const QString ruta = Carpeta() + QStringLiteral("/nuestra_%1.mdb").arg(n);
    if (!QFileInfo::exists(ruta)) {
        ConexionBD::Abrir(QStringLiteral("DBQ=") + ruta, true).reset();
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            Falla(db, "open");
        Llena(db, n);
        sqlite3_close(db);
    }
    return hechas[n] = ruta;
}

// The plain database: ISO dates compared directly, an index on (TIPO, FECHA)
// and one on the date alone, as the program's database has on DateValue.
// `cubierta` gives it the program's covering columns as well.
QString BasePlana(int n, bool cubierta = false) {
    static std::map<int, QString> hechas[2];
    if (hechas[cubierta].count(n))
        return hechas[cubierta][n];
    const QString ruta = Carpeta() + QString::fromLatin1(cubierta ? "/plana_cubierta_%1.db" : "/plana_%1.db").arg(n);
    if (!QFileInfo::exists(ruta)) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            Falla(db, "open");
        Exec(db,
             "create table FACTURAS (ID integer primary key autoincrement, COD_FACTURA text, FECHA_FACTURA text, "
             "IMPORTE_NETO real, IVA real, IMPORTE_IVA real, IMPORTE_TOTAL real, DESCRIPCION text, TIPO text);");
        Exec(db, cubierta ? "create index FACTURAS_TIPO_FECHA on FACTURAS (TIPO, FECHA_FACTURA, IMPORTE_IVA, "
                            "IMPORTE_TOTAL); create index FACTURAS_FECHA on FACTURAS (FECHA_FACTURA);"
                          : "create index FACTURAS_TIPO_FECHA on FACTURAS (TIPO, FECHA_FACTURA);"
                            "create index FACTURAS_FECHA on FACTURAS (FECHA_FACTURA);");
        Llena(db, n);
        sqlite3_close(db);
    }
    return hechas[cubierta][n] = ruta;
}

// Reads every column of every row, as a grid or the report would.
std::int64_t LeeTodo(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        Falla(db, "prepare");
    std::int64_t filas = 0;
    double suma = 0;
    std::size_t bytes = 0;
    const int n = sqlite3_column_count(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++filas;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: suma += static_cast<double>(sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: suma += sqlite3_column_double(st, c); break;
            case SQLITE_TEXT:
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
                bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
                break;
            default: break;
            }
        }
    }
    if (rc != SQLITE_DONE)
        Falla(db, "step");
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(suma);
    benchmark::DoNotOptimize(bytes);
    return filas;
}

std::string SqlPlano(const char* que, char tipo, bool lista) {
    std::string s = std::string(que) + " from FACTURAS where TIPO = '" + tipo + "' and FECHA_FACTURA between '" +
                    kDesdeIso + "' and '" + kHastaIso + "'";
    if (lista)
        s += " order by FECHA_FACTURA, COD_FACTURA";
    return s;
}

// The listing statement with the dates compared as stored.
std::string SqlListadoPlano() {
    QString s = ConsultaListado(kAnioDesde, kAnioHasta);
    s.replace(QStringLiteral("DateValue(F.FECHA_FACTURA)"), QStringLiteral("F.FECHA_FACTURA"));
    s.replace(QStringLiteral("DateValue(FECHA_FACTURA)"), QStringLiteral("FECHA_FACTURA"));
    s.replace(QStringLiteral("DateValue('") + kAnioDesde + QStringLiteral("')"), QStringLiteral("'2015-01-01'"));
    s.replace(QStringLiteral("DateValue('") + kAnioHasta + QStringLiteral("')"), QStringLiteral("'2015-12-31'"));
    return s.toStdString();
}

std::unique_ptr<ConexionBD> ConectaNuestra(int n) {
    return ConexionBD::Abrir(QStringLiteral("DBQ=") + BaseNuestra(n));
}

sqlite3* ConectaPlana(int n, bool cubierta) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(BasePlana(n, cubierta).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        Falla(db, "open");
    return db;
}

void BM_Refresco_Programa(benchmark::State& state) {
    auto con = ConectaNuestra(static_cast<int>(state.range(0)));
    std::int64_t filas = 0;
    for (auto _ : state) {
        QStringList sumas{QString(), QString(), QString(), QString()};
        auto pagos = CargaLista(*con, QStringLiteral("P"), kDesde, kHasta);
        CalculaTotales(*con, QStringLiteral("P"), kDesde, kHasta, sumas);
        auto cobros = CargaLista(*con, QStringLiteral("C"), kDesde, kHasta);
        CalculaTotales(*con, QStringLiteral("C"), kDesde, kHasta, sumas);
        benchmark::DoNotOptimize(CalculaDiferencias(sumas));
        filas = pagos->NumFilas() + cobros->NumFilas();
    }
    state.counters["filas"] = static_cast<double>(filas);
}

void RefrescoPlano(benchmark::State& state, bool cubierta) {
    sqlite3* db = ConectaPlana(static_cast<int>(state.range(0)), cubierta);
    std::int64_t filas = 0;
    for (auto _ : state) {
        filas = LeeTodo(db, SqlPlano("select *", 'P', true));
        LeeTodo(db, SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'P', false));
        filas += LeeTodo(db, SqlPlano("select *", 'C', true));
        LeeTodo(db, SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'C', false));
    }
    state.counters["filas"] = static_cast<double>(filas);
    sqlite3_close(db);
}

void BM_ListadoAnual_Programa(benchmark::State& state) {
    auto con = ConectaNuestra(static_cast<int>(state.range(0)));
    std::int64_t filas = 0;
    for (auto _ : state) {
        auto rs = con->AbrirRegistros(ConsultaListado(kAnioDesde, kAnioHasta));
        filas = rs->NumFilas();
    }
    state.counters["filas"] = static_cast<double>(filas);
}

void ListadoPlano(benchmark::State& state, bool cubierta) {
    sqlite3* db = ConectaPlana(static_cast<int>(state.range(0)), cubierta);
    const std::string sql = SqlListadoPlano();
    std::int64_t filas = 0;
    for (auto _ : state)
        filas = LeeTodo(db, sql);
    state.counters["filas"] = static_cast<double>(filas);
    sqlite3_close(db);
}

void BM_Refresco_SQLitePlano(benchmark::State& state) { RefrescoPlano(state, false); }
void BM_Refresco_SQLitePlanoCubierto(benchmark::State& state) { RefrescoPlano(state, true); }
void BM_ListadoAnual_SQLitePlano(benchmark::State& state) { ListadoPlano(state, false); }
void BM_ListadoAnual_SQLitePlanoCubierto(benchmark::State& state) { ListadoPlano(state, true); }

#define FISCALINO_TAMANOS ->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Refresco_Programa) FISCALINO_TAMANOS;
BENCHMARK(BM_Refresco_SQLitePlano) FISCALINO_TAMANOS;
BENCHMARK(BM_Refresco_SQLitePlanoCubierto) FISCALINO_TAMANOS;
BENCHMARK(BM_ListadoAnual_Programa) FISCALINO_TAMANOS;
BENCHMARK(BM_ListadoAnual_SQLitePlano) FISCALINO_TAMANOS;
BENCHMARK(BM_ListadoAnual_SQLitePlanoCubierto) FISCALINO_TAMANOS;

}  // namespace

BENCHMARK_MAIN();
