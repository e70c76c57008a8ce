// The program's data layer side by side with plain SQLite, on one machine:
// the quarter refresh (two lists and two sums), the listing of a year, the
// grid's fill, the file's size, the start-up to the first paint and the
// memory of a quarter of 25 000 invoices a side on screen.
//
// The invoices go in in date order over the last five years up to the end of
// the current quarter, as a real book grows; 10 000, 100 000 and 1 000 000 of
// them. Every statement measured is first run both ways and its rows
// compared: the run fails on any difference. At the end it prints each
// ratio, program ÷ plain SQLite.
//
// The databases are built once per size in a temporary folder; set
// FISCALINO_BENCH_DIR to keep them between runs. `--comprobar` compares
// the rows (and the grids of the children) at the smallest size only, untimed.
#include "Procesos.h"
#include "anclas/ModeloPlano.h"
#include "datos/ConexionBD.h"
#include "datos/CopiaDatos.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/listado/Listado.h"
#include "dominio/comun/RejillaLogica.h"
#include "dominio/facturas/FacturasLogica.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kTamanos[] = {10000, 100000, 1000000};

// ---- The period: five years of invoices up to the end of this quarter ---------

struct Periodo {
    QDate primero, ultimo;            // of the invoices
    QString desde, hasta;             // this quarter, day first
    QString anioDesde, anioHasta;     // this year
    std::string desdeIso, hastaIso, anioDesdeIso, anioHastaIso;
};

const Periodo& ElPeriodo() {
    static const Periodo p = [] {
        Periodo r;
        const QDate hoy = QDate::currentDate();
        const int t = TrimestreDeFecha(hoy);
        const QDate inicioTrimestre(hoy.year(), 3 * t + 1, 1);
        r.ultimo = inicioTrimestre.addMonths(3).addDays(-1);
        r.primero = inicioTrimestre.addMonths(-57);
        auto dia = [](const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); };
        auto iso = [](const QDate& d) { return d.toString(Qt::ISODate).toStdString(); };
        r.desde = dia(inicioTrimestre);
        r.hasta = dia(r.ultimo);
        r.anioDesde = dia(QDate(hoy.year(), 1, 1));
        r.anioHasta = dia(QDate(hoy.year(), 12, 31));
        r.desdeIso = iso(inicioTrimestre);
        r.hastaIso = iso(r.ultimo);
        r.anioDesdeIso = iso(QDate(hoy.year(), 1, 1));
        r.anioHastaIso = iso(QDate(hoy.year(), 12, 31));
        return r;
    }();
    return p;
}

// ---- The databases ---------------------------------------------------------------

[[noreturn]] void Falla(sqlite3* db, const char* que) {
    std::fprintf(stderr, "%s: %s\n", que, db ? sqlite3_errmsg(db) : "?");
    std::exit(1);
}

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Falla(db, sql);
}

sqlite3* Abre(const QString& ruta, int flags = SQLITE_OPEN_READWRITE) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, flags, nullptr) != SQLITE_OK)
        Falla(db, "open");
    return db;
}

QString Carpeta() { return CarpetaBench(); }

// The same invoices in every database, in date order; codes as a user types them.
void Llena(sqlite3* db, int n) {
    const Periodo& p = ElPeriodo();
    const qint64 dias = p.primero.daysTo(p.ultimo) + 1;
    Exec(db, "begin");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, "
                           "IMPORTE_TOTAL, DESCRIPCION, TIPO) values (?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &st, nullptr) != SQLITE_OK)
        Falla(db, "insert");
    const double porcentajes[3] = {21, 10, 4};
    std::uint64_t semilla = 12345;
    auto azar = [&]() {
        semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(semilla >> 33);
    };
    char codigo[32];
    std::string fecha;
    qint64 diaActual = -1;
    for (int i = 0; i < n; ++i) {
        const qint64 d = static_cast<qint64>(i) * dias / n;
        if (d != diaActual) {
            diaActual = d;
            fecha = p.primero.addDays(d).toString(Qt::ISODate).toStdString();
        }
        const double pct = porcentajes[azar() % 3];
        const double total = 1 + (azar() % 1000000) / 100.0;
        const double neto = std::round(total / (1 + pct / 100) * 100) / 100;
        const double iva = std::round((total - neto) * 100) / 100;
        const std::uint32_t numero = azar() % 10000000;
        auto r = std::to_chars(codigo, codigo + 20, numero);
        *r.ptr = '\0';
        const std::string cod = "F-" + std::string(7 - static_cast<size_t>(r.ptr - codigo), '0') + codigo;
        sqlite3_bind_text(st, 1, cod.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, fecha.c_str(), -1, SQLITE_TRANSIENT);
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

enum class Base {
    Programa,        // made by the program's own layer
    Plana,           // the anchor: the same columns, ISO dates, the indexes that serve each statement best
    PlanaMisIndices  // plain SQLite with the program's indexes, for the file size
};

// An empty database of the program's, made by its own layer: its table is
// the model of the plain one, its indexes those of the file size's.
QString EsquemaPrograma() {
    const QString ruta = Carpeta() + QStringLiteral("/esquema.mdb");
    if (!QFileInfo::exists(ruta))
        ConexionBD::Abrir(QStringLiteral("DBQ=") + ruta, true)->Cerrar();
    return ruta;
}

// The program's invoices table as plain SQLite declares it: the same columns
// in the same order, each with the affinity of what it holds, dates as text.
std::string TablaPlana() {
    sqlite3* db = Abre(EsquemaPrograma(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "select name, lower(type), pk from pragma_table_info('FACTURAS')", -1, &st, nullptr) !=
        SQLITE_OK)
        Falla(db, "table_info");
    std::string sql = "create table FACTURAS (";
    bool primera = true;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string nombre = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const std::string tipo = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        const auto tiene = [&tipo](const char* t) { return tipo.find(t) != std::string::npos; };
        std::string plano = "text";
        if (sqlite3_column_int(st, 2))
            plano = "integer primary key autoincrement";
        else if (tiene("int"))
            plano = "integer";
        else if (tiene("doub") || tiene("real") || tiene("floa") || tiene("dec") || tiene("num"))
            plano = "real";
        sql += (primera ? "" : ", ") + nombre + " " + plano;
        primera = false;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return sql + ")";
}

// The anchor's indexes: the quarter's list in its order, its sums and the
// year listing's covered by an index each.
const char* const kIndicesPlanos[] = {
    "create index PLANA_TIPO_FECHA_CODIGO on FACTURAS (TIPO, FECHA_FACTURA, COD_FACTURA)",
    "create index PLANA_TIPO_FECHA_IMPORTES on FACTURAS (TIPO, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL)",
    "create index PLANA_FECHA on FACTURAS (FECHA_FACTURA)"};

QString CarpetaPrograma(int n) { return Carpeta() + QStringLiteral("/programa_%1").arg(n); }

QString RutaBase(Base b, int n) {
    static std::map<std::pair<int, int>, QString> hechas;
    auto& ruta = hechas[{static_cast<int>(b), n}];
    if (!ruta.isEmpty())
        return ruta;
    switch (b) {
    case Base::Programa: ruta = CarpetaPrograma(n) + QStringLiteral("/Fiscalino.mdb"); break;
    case Base::Plana: ruta = Carpeta() + QStringLiteral("/plana_%1.db").arg(n); break;
    case Base::PlanaMisIndices: ruta = Carpeta() + QStringLiteral("/plana_indices_%1.db").arg(n); break;
    }
    if (QFileInfo::exists(ruta))
        return ruta;
    std::fprintf(stderr, "Preparando %s...\n", qPrintable(QFileInfo(ruta).fileName()));
    if (b == Base::Programa) {
        QDir().mkpath(CarpetaPrograma(n));
        auto con = ConexionBD::Abrir(QStringLiteral("DBQ=") + ruta, true);
        con->Ejecutar(QStringLiteral("insert into PARAMETROS (PALABRA_CLAVE, IVA, OPCION_IVA, FRASE_FINAL, "
                                     "ACCESO_FACTURAS, ACCESO_INFORMES) values (Null, 21, 'IVA', Null, 'N', 'N')"));
        con->Cerrar();
        sqlite3* db = Abre(ruta);
        Llena(db, n);
        sqlite3_close(db);
        return ruta;
    }
    sqlite3* db = Abre(ruta, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec(db, TablaPlana().c_str());
    if (b == Base::Plana) {
        for (const char* indice : kIndicesPlanos)
            Exec(db, indice);
    } else {
        // The program's own indexes, as its schema names them.
        auto con = ConexionBD::Abrir(QStringLiteral("DBQ=") + EsquemaPrograma());
        auto rs = con->AbrirRegistros(QStringLiteral("select sql from sqlite_master where type = 'index' and sql is not null"));
        for (int i = 0; i < rs->NumFilas(); ++i)
            Exec(db, rs->Celda(i, 0).Texto().toUtf8().constData());
    }
    Llena(db, n);
    sqlite3_close(db);
    return ruta;
}

// ---- The statements, plain ------------------------------------------------------

std::string SqlPlano(const char* que, char tipo, bool lista) {
    const Periodo& p = ElPeriodo();
    std::string s = std::string(que) + " from FACTURAS where TIPO = '" + tipo + "' and FECHA_FACTURA between '" +
                    p.desdeIso + "' and '" + p.hastaIso + "'";
    if (lista)
        s += " order by FECHA_FACTURA, COD_FACTURA, ID";
    return s;
}

std::string SqlListadoPlano() {
    const Periodo& p = ElPeriodo();
    const std::string entre = "between '" + p.anioDesdeIso + "' and '" + p.anioHastaIso + "'";
    return "select F.FECHA_FACTURA, C.IVA As IMPORTE_IVA_C, C.TOTAL As IMPORTE_TOTAL_C, V.IVA As IMPORTE_IVA_V, "
           "V.TOTAL As IMPORTE_TOTAL_V from ((select distinct FECHA_FACTURA from FACTURAS where FECHA_FACTURA " +
           entre +
           ") F left outer join (select FECHA_FACTURA, Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL "
           "from FACTURAS where TIPO = 'P' and FECHA_FACTURA " +
           entre +
           " group by FECHA_FACTURA) C on F.FECHA_FACTURA = C.FECHA_FACTURA) left outer join (select FECHA_FACTURA, "
           "Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL from FACTURAS where TIPO = 'C' and FECHA_FACTURA " +
           entre + " group by FECHA_FACTURA) V on F.FECHA_FACTURA = V.FECHA_FACTURA where F.FECHA_FACTURA " + entre +
           " order by F.FECHA_FACTURA";
}

// ---- Rows written out the same way on both sides, to compare them ----------------

// Amounts to the cent: sums of the same amounts taken in another order (the
// program's index carries them in another order) differ in the last bits.
std::string Numero(double d) {
    char b[64];
    auto r = std::to_chars(b, b + sizeof b, d, std::chars_format::fixed, 2);
    return std::string(b, r.ptr);
}

std::vector<std::string> FilasPlano(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        Falla(db, "prepare");
    std::vector<std::string> filas;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::string f;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: f += "∅"; break;
            case SQLITE_INTEGER: f += std::to_string(sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: f += Numero(sqlite3_column_double(st, c)); break;
            default: f += reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            }
            f += '|';
        }
        filas.push_back(f);
    }
    sqlite3_finalize(st);
    return filas;
}

std::vector<std::string> FilasPrograma(const Registros& rs) {
    std::vector<std::string> filas;
    for (int i = 0; i < rs.NumFilas(); ++i) {
        std::string f;
        for (int c = 0; c < rs.NumColumnas(); ++c) {
            const Valor v = rs.Celda(i, c);
            switch (v.tipo()) {
            case Valor::Tipo::Nulo: f += "∅"; break;
            case Valor::Tipo::Entero: f += std::to_string(v.entero()); break;
            case Valor::Tipo::Decimal: f += Numero(v.decimal()); break;
            case Valor::Tipo::Fecha: f += v.fecha().toString(Qt::ISODate).toStdString(); break;
            case Valor::Tipo::Texto: f += v.texto().toStdString(); break;
            }
            f += '|';
        }
        filas.push_back(f);
    }
    return filas;
}

void Compara(const char* que, int n, const std::vector<std::string>& programa, const std::vector<std::string>& plano) {
    if (programa == plano) {
        std::fprintf(stderr, "  %-26s %8d: %zu filas iguales\n", que, n, plano.size());
        return;
    }
    std::fprintf(stderr, "DIFERENCIA en %s con %d facturas: %zu filas el programa, %zu SQLite\n", que, n,
                 programa.size(), plano.size());
    for (size_t i = 0; i < std::min(programa.size(), plano.size()); ++i)
        if (programa[i] != plano[i]) {
            std::fprintf(stderr, "  fila %zu:\n    %s\n    %s\n", i, programa[i].c_str(), plano[i].c_str());
            break;
        }
    std::exit(1);
}

std::unique_ptr<ConexionBD> ConectaPrograma(int n) {
    return ConexionBD::Abrir(QStringLiteral("DBQ=") + RutaBase(Base::Programa, n));
}

// The same invoices on a PostgreSQL server, when FISCALINO_BENCH_POSTGRESQL
// names one (the address of a database the benchmark may create others
// beside): copied once from the program's file into "fiscalino_bench_N".
QString DireccionServidor(int n) {
    QUrl u(qEnvironmentVariable("FISCALINO_BENCH_POSTGRESQL"));
    u.setPath(QStringLiteral("/fiscalino_bench_%1").arg(n));
    return u.toString();
}

std::unique_ptr<ConexionBD> ConectaServidor(int n) {
    static std::set<int> listas;
    if (!listas.count(n)) {
        PGconn* admin = PQconnectdb(qgetenv("FISCALINO_BENCH_POSTGRESQL").constData());
        PGresult* r = PQexec(admin, QStringLiteral("select 1 from pg_database where datname = 'fiscalino_bench_%1'").arg(n).toUtf8().constData());
        const bool existe = PQntuples(r) > 0;
        PQclear(r);
        if (!existe) {
            std::fprintf(stderr, "Preparando fiscalino_bench_%d en el servidor...\n", n);
            PQclear(PQexec(admin, QStringLiteral("create database fiscalino_bench_%1").arg(n).toUtf8().constData()));
            auto servidor = ConexionBD::Abrir(DireccionServidor(n), true);
            auto archivo = ConectaPrograma(n);
            CopiaBaseDatos(*archivo, *servidor);
            servidor->Ejecutar(QStringLiteral("analyze"));
        }
        PQfinish(admin);
        listas.insert(n);
    }
    return ConexionBD::Abrir(DireccionServidor(n));
}

void ComparaFilas(int n, bool servidor = false) {
    auto con = servidor ? ConectaServidor(n) : ConectaPrograma(n);
    sqlite3* db = Abre(RutaBase(Base::Plana, n));
    const Periodo& p = ElPeriodo();
    for (char tipo : {'P', 'C'}) {
        const QString t = QString(QLatin1Char(tipo));
        Compara("lista del trimestre", n, FilasPrograma(*CargaLista(*con, t, p.desde, p.hasta)),
                FilasPlano(db, SqlPlano("select *", tipo, true)));
        Compara("sumas del trimestre", n, FilasPrograma(*con->AbrirRegistros(SqlSumasFacturas(t, p.desde, p.hasta))),
                FilasPlano(db, SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", tipo, false)));
    }
    Compara("listado del año", n, FilasPrograma(*con->AbrirRegistros(ConsultaListado(p.anioDesde, p.anioHasta))),
            FilasPlano(db, SqlListadoPlano()));
    sqlite3_close(db);
}

// A screenful of the grid: 40 rows of every column.
template <class Modelo>
void PintaPantalla(const Modelo& m) {
    for (int f = 0; f < 40 && f < m.rowCount(); ++f)
        for (int c = 0; c < m.columnCount(); ++c)
            benchmark::DoNotOptimize(m.data(m.index(f, c), Qt::DisplayRole));
}

// ---- Benchmarks ------------------------------------------------------------------

void Refresco(benchmark::State& state, std::unique_ptr<ConexionBD> con) {
    const Periodo& p = ElPeriodo();
    for (auto _ : state) {
        QStringList sumas{QString(), QString(), QString(), QString()};
        auto pagos = CargaLista(*con, QStringLiteral("P"), p.desde, p.hasta);
        CalculaTotales(*con, QStringLiteral("P"), p.desde, p.hasta, sumas);
        auto cobros = CargaLista(*con, QStringLiteral("C"), p.desde, p.hasta);
        CalculaTotales(*con, QStringLiteral("C"), p.desde, p.hasta, sumas);
        benchmark::DoNotOptimize(CalculaDiferencias(sumas));
    }
}

void BM_Refresco_Programa(benchmark::State& state) { Refresco(state, ConectaPrograma(static_cast<int>(state.range(0)))); }
void BM_Refresco_Servidor(benchmark::State& state) { Refresco(state, ConectaServidor(static_cast<int>(state.range(0)))); }

// Every cell of every row read, as a grid would need them.
void LeeTodo(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        Falla(db, "prepare");
    const int n = sqlite3_column_count(st);
    double suma = 0;
    size_t bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < n; ++c)
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: suma += static_cast<double>(sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: suma += sqlite3_column_double(st, c); break;
            case SQLITE_TEXT:
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
                bytes += static_cast<size_t>(sqlite3_column_bytes(st, c));
                break;
            default: break;
            }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(suma);
    benchmark::DoNotOptimize(bytes);
}

void BM_Refresco_Plano(benchmark::State& state) {
    sqlite3* db = Abre(RutaBase(Base::Plana, static_cast<int>(state.range(0))));
    for (auto _ : state) {
        LeeTodo(db, SqlPlano("select *", 'P', true));
        LeeTodo(db, SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'P', false));
        LeeTodo(db, SqlPlano("select *", 'C', true));
        LeeTodo(db, SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'C', false));
    }
    sqlite3_close(db);
}

void Listado(benchmark::State& state, std::unique_ptr<ConexionBD> con) {
    const Periodo& p = ElPeriodo();
    for (auto _ : state)
        benchmark::DoNotOptimize(FilasListado(*con->AbrirRegistros(ConsultaListado(p.anioDesde, p.anioHasta))).size());
}

void BM_Listado_Programa(benchmark::State& state) { Listado(state, ConectaPrograma(static_cast<int>(state.range(0)))); }
void BM_Listado_Servidor(benchmark::State& state) { Listado(state, ConectaServidor(static_cast<int>(state.range(0)))); }

void BM_Listado_Plano(benchmark::State& state) {
    sqlite3* db = Abre(RutaBase(Base::Plana, static_cast<int>(state.range(0))));
    const std::string sql = SqlListadoPlano();
    for (auto _ : state)
        LeeTodo(db, sql);
    sqlite3_close(db);
}

void BM_Rejilla_Programa(benchmark::State& state) {
    auto con = ConectaPrograma(static_cast<int>(state.range(0)));
    const Periodo& p = ElPeriodo();
    auto columnas = ColumnasModeloFacturas();
    for (auto& c : columnas)
        if (c.campo.startsWith(QLatin1String("IMPORTE")))
            c.formato = FormatoMiles;
    ModeloRegistros modelo(columnas);
    for (auto _ : state) {
        auto rs = CargaLista(*con, QStringLiteral("P"), p.desde, p.hasta);
        modelo.EstableceRegistros(rs.get());
        PintaPantalla(modelo);
        modelo.EstableceRegistros(nullptr);
    }
}

void BM_Rejilla_Plano(benchmark::State& state) {
    sqlite3* db = Abre(RutaBase(Base::Plana, static_cast<int>(state.range(0))));
    ModeloPlano modelo;
    for (auto _ : state) {
        modelo.Llena(db, SqlPlano("select *", 'P', true));
        PintaPantalla(modelo);
    }
    sqlite3_close(db);
}

// ---- Child processes: start-up and memory, each in a fresh process --------------
// The program's side runs in medidas_programa, linked as the program itself
// is; each anchor in a binary of its own that loads only what it needs.

QByteArray Ejecuta(const char* programa, const QStringList& argumentos, int espera = 30000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QString::fromLocal8Bit(programa), argumentos);
    if (!p.waitForFinished(espera) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s falló: %s\n", programa, p.readAllStandardError().constData());
        std::exit(1);
    }
    return p.readAllStandardOutput().trimmed();
}

// CPU time from a process's start to its first paint.
double MsArranque(bool programa, int n) {
    const QByteArray salida = programa ? Ejecuta(FISCALINO_MEDIDAS_PROGRAMA, {QStringLiteral("--arranque"), CarpetaPrograma(n)})
                                       : Ejecuta(FISCALINO_VENTANA_VACIA, {});
    bool leido = false;
    const double ms = salida.mid(8).toDouble(&leido);
    if (!salida.startsWith("pintada ") || !leido) {
        std::fprintf(stderr, "el arranque no pintó: %s\n", salida.constData());
        std::exit(1);
    }
    return ms;
}

// The program's start-up against a bare QMainWindow's, taken in turns so
// that both meet the same load: the medians of fifteen of each.
double CocienteArranque(int n) {
    std::vector<double> programa, vacio;
    for (int i = 0; i < 15; ++i) {
        programa.push_back(MsArranque(true, n));
        vacio.push_back(MsArranque(false, n));
    }
    return Mediana(programa) / Mediana(vacio);
}

struct Memoria {
    double picoMb = 0, tras1Mb = 0, tras20Mb = 0;
    std::vector<int> filas;  // of each grid, fewest first
};

Memoria UnaMemoria(bool programa, int n) {
    const QByteArray salida =
        programa ? Ejecuta(FISCALINO_MEDIDAS_PROGRAMA, {QStringLiteral("--memoria"), CarpetaPrograma(n)}, 120000)
                 : Ejecuta(FISCALINO_REJILLA_PLANA,
                           {RutaBase(Base::Plana, n), QString::fromStdString(SqlPlano("select *", 'P', true)),
                            QString::fromStdString(SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'P', false)),
                            QString::fromStdString(SqlPlano("select *", 'C', true)),
                            QString::fromStdString(SqlPlano("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)", 'C', false))},
                           120000);
    const QList<QByteArray> lineas = salida.split('\n');
    const QList<QByteArray> v = lineas.value(1).split(' ');
    if (lineas.size() != 2 || !lineas[0].startsWith("filas ") || v.size() != 3) {
        std::fprintf(stderr, "la medida de memoria falló: %s\n", salida.constData());
        std::exit(1);
    }
    Memoria m{v[0].toDouble() / 1024, v[1].toDouble() / 1024, v[2].toDouble() / 1024, {}};
    for (const QByteArray& f : lineas[0].mid(6).split(' '))
        m.filas.push_back(f.toInt());
    std::sort(m.filas.begin(), m.filas.end());
    return m;
}

// The grids must show the same rows on both sides before their memory counts.
void ComparaRejillas(int n, const Memoria& programa, const Memoria& plana) {
    auto texto = [](const Memoria& m) {
        std::string t;
        for (int f : m.filas)
            t += std::to_string(f) + ' ';
        return t;
    };
    if (programa.filas == plana.filas && !plana.filas.empty() && plana.filas.front() > 0) {
        std::fprintf(stderr, "  %-26s %8d: filas %siguales\n", "rejillas en pantalla", n, texto(plana).c_str());
        return;
    }
    std::fprintf(stderr, "DIFERENCIA en las rejillas con %d facturas: %sel programa, %sla QTableView\n", n,
                 texto(programa).c_str(), texto(plana).c_str());
    std::exit(1);
}

Memoria MideMemoria(bool programa, int n) {
    std::vector<double> pico, uno, veinte;
    for (int i = 0; i < 3; ++i) {
        const Memoria m = UnaMemoria(programa, n);
        pico.push_back(m.picoMb);
        uno.push_back(m.tras1Mb);
        veinte.push_back(m.tras20Mb);
    }
    return {Mediana(pico), Mediana(uno), Mediana(veinte), {}};
}

// ---- Report ------------------------------------------------------------------------

// Keeps the median CPU time of each benchmark.
class Recogedor : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medianas, medianasReales;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                medianas[r.run_name.function_name + "/" + r.run_name.args] = r.GetAdjustedCPUTime();
                medianasReales[r.run_name.function_name + "/" + r.run_name.args] = r.GetAdjustedRealTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

double Tamano(const QString& ruta) { return static_cast<double>(QFileInfo(ruta).size()); }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool soloComprobar = argc > 1 && std::strcmp(argv[1], "--comprobar") == 0;
    std::vector<int> tamanos(std::begin(kTamanos), std::end(kTamanos));
    if (soloComprobar) {
        tamanos = {kTamanos[0]};
    } else if (const char* solo = std::getenv("FISCALINO_BENCH_TAMANOS")) {
        tamanos.clear();
        for (const QByteArray& t : QByteArray(solo).split(','))
            tamanos.push_back(t.toInt());
    }
    std::fprintf(stderr, "Filas comparadas con SQLite plano:\n");
    for (int n : tamanos) {
        RutaBase(Base::Plana, n);
        RutaBase(Base::PlanaMisIndices, n);
        ComparaFilas(n);
        if (soloComprobar) {
            // Every child once: each paints, and the grids show the same rows.
            MsArranque(true, n);
            MsArranque(false, n);
            ComparaRejillas(n, UnaMemoria(true, n), UnaMemoria(false, n));
        }
    }
    if (soloComprobar)
        return 0;

    for (auto* f : {&BM_Refresco_Programa, &BM_Refresco_Plano, &BM_Listado_Programa, &BM_Listado_Plano,
                    &BM_Rejilla_Programa, &BM_Rejilla_Plano}) {
        static const std::map<void (*)(benchmark::State&), const char*> nombres{
            {&BM_Refresco_Programa, "Refresco_Programa"}, {&BM_Refresco_Plano, "Refresco_Plano"},
            {&BM_Listado_Programa, "Listado_Programa"},   {&BM_Listado_Plano, "Listado_Plano"},
            {&BM_Rejilla_Programa, "Rejilla_Programa"},   {&BM_Rejilla_Plano, "Rejilla_Plano"}};
        auto* b = benchmark::RegisterBenchmark(nombres.at(f), f);
        for (int n : tamanos)
            b->Arg(n);
        b->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
    }
    // On a server the work is done in the server's process: wall time, for
    // it and for its plain SQLite anchor alike.
    const bool conServidor = !qEnvironmentVariableIsEmpty("FISCALINO_BENCH_POSTGRESQL");
    std::vector<int> tamanosServidor;
    for (int n : tamanos)
        if (n >= 100000)
            tamanosServidor.push_back(n);
    if (conServidor) {
        std::fprintf(stderr, "Filas del servidor comparadas con SQLite plano:\n");
        for (int n : tamanosServidor)
            ComparaFilas(n, true);
        for (auto [nombre, f] : {std::pair{"Refresco_Servidor", &BM_Refresco_Servidor},
                                 std::pair{"RefrescoReal_Plano", &BM_Refresco_Plano},
                                 std::pair{"Listado_Servidor", &BM_Listado_Servidor},
                                 std::pair{"ListadoReal_Plano", &BM_Listado_Plano}}) {
            auto* b = benchmark::RegisterBenchmark(nombre, f);
            for (int n : tamanosServidor)
                b->Arg(n);
            b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
        }
    }
    // The program's runs and the anchor's take turns, so that a machine busy
    // with other work weighs on both alike.
    std::vector<char*> argumentos(argv, argv + argc);
    char intercalar[] = "--benchmark_enable_random_interleaving=true";
    argumentos.push_back(intercalar);
    int numArgumentos = static_cast<int>(argumentos.size());
    benchmark::Initialize(&numArgumentos, argumentos.data());
    Recogedor informe;
    benchmark::RunSpecifiedBenchmarks(&informe);

    std::printf("\nPrograma ÷ SQLite plano (mediana del tiempo de CPU; memoria en MB):\n");
    std::printf("%-34s", "");
    for (int n : tamanos)
        std::printf("%12d", n);
    std::printf("   objetivo\n");
    auto fila = [&](const char* que, const char* objetivo, auto valor) {
        std::printf("%-34s", que);
        for (int n : tamanos)
            std::printf("%12.2f", valor(n));
        std::printf("   %s\n", objetivo);
        std::fflush(stdout);
    };
    auto cociente = [&](const char* nombre) {
        return [&informe, nombre](int n) {
            const std::string a = std::string(nombre) + "_Programa/" + std::to_string(n);
            const std::string b = std::string(nombre) + "_Plano/" + std::to_string(n);
            return informe.medianas.count(a) && informe.medianas.count(b) ? informe.medianas[a] / informe.medianas[b] : 0;
        };
    };
    fila("refresco del trimestre", "<= 1,15", cociente("Refresco"));
    if (conServidor) {
        auto real = [&](const char* a, const char* b) {
            return [&informe, a, b](int n) {
                const std::string x = std::string(a) + "/" + std::to_string(n), y = std::string(b) + "/" + std::to_string(n);
                return informe.medianasReales.count(x) && informe.medianasReales.count(y)
                           ? informe.medianasReales[x] / informe.medianasReales[y]
                           : 0;
            };
        };
        fila("refresco en el servidor (tiempo real)", "<= 2,00 a 1000000", real("Refresco_Servidor", "RefrescoReal_Plano"));
        fila("listado en el servidor (tiempo real)", "", real("Listado_Servidor", "ListadoReal_Plano"));
    }
    fila("listado del año", "<= 1,05 (÷ índice que lo cubre)", cociente("Listado"));
    fila("relleno de la rejilla", "", cociente("Rejilla"));
    fila("tamaño del archivo (mismos índices)", "<= 1,15", [](int n) {
        return Tamano(RutaBase(Base::Programa, n)) / Tamano(RutaBase(Base::PlanaMisIndices, n));
    });
    fila("arranque hasta la primera pintura (CPU)", "<= 2,00 (÷ QMainWindow aparte)",
         [](int n) { return CocienteArranque(n); });
    std::map<int, std::pair<Memoria, Memoria>> memorias;
    auto memoria = [&](int n) -> std::pair<Memoria, Memoria>& {
        if (!memorias.count(n))
        {
            ComparaRejillas(n, UnaMemoria(true, n), UnaMemoria(false, n));
            memorias[n] = {MideMemoria(true, n), MideMemoria(false, n)};
        }
        return memorias[n];
    };
    fila("memoria pico, trimestre en pantalla", "<= 1,30 (÷ QTableView)",
         [&](int n) { return memoria(n).first.picoMb / memoria(n).second.picoMb; });
    fila("  programa: pico (MB)", "", [&](int n) { return memoria(n).first.picoMb; });
    fila("  programa: tras 1 y 20 búsquedas (MB)", "", [&](int n) { return memoria(n).first.tras1Mb; });
    fila("", "sin crecer", [&](int n) { return memoria(n).first.tras20Mb; });
    return 0;
}
