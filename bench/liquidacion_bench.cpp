// The quarterly return from the command line (`--liquidacion`) beside the
// best plain tools can do for the same sums: one SQL group-by run by the
// sqlite3 tool on a plain database of the same invoices, with the index that
// serves that statement best (on the date that places each invoice in its
// quarter, carrying every column the statement reads). Each side is a whole
// process, timed by its CPU time (user and system).
//
// The invoices cover five years up to the quarter declared (1T 2026), in
// date order; 10 000, 100 000 and 1 000 000 of them. Most are at 21, 10 and
// 4 %, some at 0 %, a few at rates not in force, a few negative, a few with
// an operation date in another quarter, a few incomplete. Before timing, the
// boxes the program prints are compared with those the group-by gives: the
// run fails on any difference. Then both run in turns, and the ratio of the
// medians (program ÷ sqlite3) is printed; at 1 000 000 invoices it must stay
// within 1,5.
//
// FISCALINO_BENCH_TAMANOS=10000 runs one size, FISCALINO_BENCH_DIR keeps the
// databases between runs; --comprobar only compares, at the smallest size.
#include "BasesBench.h"
#include "Procesos.h"
#include "datos/ConexionBD.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>


namespace {

const int kTamanos[] = {10000, 100000, 1000000};
const QDate kPrimera(2021, 4, 1), kUltima(2026, 3, 31);  // the invoices' dates
const char* const kDesde = "2026-01-01";
const char* const kHasta = "2026-03-31";
constexpr double kObjetivo = 1.5;
constexpr int kVueltas = 15;

QString Carpeta() { return CarpetaBench(); }

// ---- The invoices ---------------------------------------------------------------

// The date that places an invoice in its quarter, as the plain statement
// writes it: a sale by its operation date (a negative one by its issue
// date), a purchase by the later of both.
const char* const kFechaDeclaracion =
    "(case when TIPO = 'C' then (case when FECHA_OPERACION is null or IMPORTE_TOTAL < 0 then FECHA_FACTURA "
    "else FECHA_OPERACION end) else max(FECHA_FACTURA, coalesce(FECHA_OPERACION, FECHA_FACTURA)) end)";

// The same invoices into any database with the program's columns.
void Llena(sqlite3* db, int n) {
    const qint64 dias = kPrimera.daysTo(kUltima) + 1;
    Exec(db, "begin");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, "
                           "IMPORTE_TOTAL, DESCRIPCION, TIPO, FECHA_OPERACION) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &st, nullptr) != SQLITE_OK)
        Falla(sqlite3_errmsg(db));
    std::uint64_t semilla = 20260101;
    auto azar = [&]() {
        semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(semilla >> 33);
    };
    for (int i = 0; i < n; ++i) {
        const QDate fecha = kPrimera.addDays(static_cast<qint64>(i) * dias / n);
        const std::uint32_t r = azar() % 1000;
        // 21, 10 and 4 % mostly; 0 %; 16 % and 5 %, in force no more.
        const int pct = r < 500 ? 21 : r < 800 ? 10 : r < 950 ? 4 : r < 990 ? 0 : r < 995 ? 16 : 5;
        const int signo = azar() % 40 == 0 ? -1 : 1;
        const qint64 neto = signo * static_cast<qint64>(100 + azar() % 500000);
        const qint64 iva = signo * ((std::llabs(neto) * pct + 50) / 100);
        const std::string cod = "F-" + std::to_string(1000000 + azar() % 9000000);
        sqlite3_bind_text(st, 1, cod.c_str(), -1, SQLITE_TRANSIENT);
        const std::string dia = fecha.toString(Qt::ISODate).toStdString();
        sqlite3_bind_text(st, 2, dia.c_str(), -1, SQLITE_TRANSIENT);
        // Now and then one left without its VAT amount and net.
        const bool incompleta = azar() % 50000 == 0;
        if (incompleta) {
            sqlite3_bind_null(st, 3);
            sqlite3_bind_null(st, 5);
        } else {
            sqlite3_bind_double(st, 3, static_cast<double>(neto) / 100);
            sqlite3_bind_double(st, 5, static_cast<double>(iva) / 100);
        }
        sqlite3_bind_double(st, 4, pct);
        sqlite3_bind_double(st, 6, static_cast<double>(neto + iva) / 100);
        sqlite3_bind_text(st, 7, "Material de oficina", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 8, (azar() & 1) ? "P" : "C", -1, SQLITE_STATIC);
        // One in two hundred with an operation date up to six weeks away.
        if (azar() % 200 == 0) {
            const std::string operacion =
                fecha.addDays(static_cast<int>(azar() % 81) - 40).toString(Qt::ISODate).toStdString();
            sqlite3_bind_text(st, 9, operacion.c_str(), -1, SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(st, 9);
        }
        if (sqlite3_step(st) != SQLITE_DONE)
            Falla(sqlite3_errmsg(db));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exec(db, "commit");
}

// The program's database: made by its own layer, filled directly.
QString BasePrograma(int n) {
    return BaseProgramaLlena(Carpeta() + QStringLiteral("/programa_%1").arg(n), n, Llena);
}

// The plain database: ISO dates, the same invoices, and the one index the
// group-by reads alone.
QString BasePlana(int n) {
    const QString ruta = Carpeta() + QStringLiteral("/plana_liquidacion_%1.db").arg(n);
    if (QFileInfo::exists(ruta))
        return ruta;
    std::fprintf(stderr, "Preparando la base plana con %d facturas...\n", n);
    sqlite3* db = Abre(ruta, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec(db, "create table FACTURAS (ID integer primary key autoincrement, COD_FACTURA text, FECHA_FACTURA text, "
             "IMPORTE_NETO real, IVA real, IMPORTE_IVA real, IMPORTE_TOTAL real, DESCRIPCION text, TIPO text, "
             "FECHA_OPERACION text)");
    Llena(db, n);
    Exec(db, (std::string("create index FACTURAS_DECLARACION on FACTURAS (") + kFechaDeclaracion +
              ", TIPO, IVA, IMPORTE_NETO, IMPORTE_IVA, IMPORTE_TOTAL)")
                 .c_str());
    Exec(db, "analyze");
    sqlite3_close(db);
    return ruta;
}

std::string SqlPlano() {
    return std::string("select TIPO, IVA, IMPORTE_TOTAL < 0, IMPORTE_IVA = 0, sum(IMPORTE_NETO), sum(IMPORTE_IVA) "
                       "from FACTURAS where ") +
           kFechaDeclaracion + " between '" + kDesde + "' and '" + kHasta + "' group by 1, 2, 3, 4";
}

// ---- Processes ------------------------------------------------------------------

// Runs `argumentos` to its end; standard output kept in `salida` when asked.
Proceso Ejecuta(const std::vector<std::string>& argumentos, bool guardaSalida) {
    return EjecutaProceso(argumentos, guardaSalida ? Carpeta() + QStringLiteral("/salida.txt") : QString());
}

std::vector<std::string> OrdenPrograma(int n) {
    return {FISCALINO_PROGRAMA, "--base-datos", BasePrograma(n).toStdString(), "--liquidacion", "2026", "1"};
}

std::vector<std::string> OrdenPlana(int n) { return {"sqlite3", BasePlana(n).toStdString(), SqlPlano()}; }

// ---- The boxes, both ways ---------------------------------------------------------

using Cajas = std::map<std::string, qint64>;

// "1.234,56" -> 123456.
qint64 LeeCentimos(const QByteArray& texto) {
    QByteArray t = texto;
    t.replace(".", "").replace(",", "");
    return t.toLongLong();
}

Cajas CajasPrograma(const QByteArray& salida) {
    Cajas c;
    for (const QByteArray& linea : salida.split('\n')) {
        const QList<QByteArray> partes = linea.split('\t');
        if (partes.size() == 2 && !linea.startsWith('#'))
            c[partes[0].toStdString()] = LeeCentimos(partes[1]);
    }
    return c;
}

// The boxes of 1T 2026 from the group-by's rows: the rates in force (0, 4,
// 10, 21 %) to their rows, negative sales to 14/15, purchases with a cuota
// to 28/29 or, negative, to 40/41; the rest in no box.
Cajas CajasPlanas(const QByteArray& salida) {
    Cajas c;
    const std::map<long, std::pair<const char*, const char*>> filas{
        {0, {"150", "152"}}, {4, {"01", "03"}}, {10, {"04", "06"}}, {21, {"07", "09"}}};
    for (const auto& [tipo, cajas] : filas) {
        c[cajas.first] = 0;
        c[cajas.second] = 0;
    }
    for (const char* k : {"14", "15", "28", "29", "40", "41"})
        c[k] = 0;
    auto centimos = [](const QByteArray& t) { return t.isEmpty() ? 0 : std::llround(t.toDouble() * 100); };
    for (const QByteArray& linea : salida.split('\n')) {
        const QList<QByteArray> p = linea.split('|');
        if (p.size() != 6)
            continue;
        const bool cobro = p[0] == "C", negativa = p[2] == "1", sinCuota = p[3] == "1" || p[3].isEmpty();
        const long tipo = std::lround(p[1].toDouble());
        const qint64 base = centimos(p[4]), cuota = centimos(p[5]);
        const char *cajaBase = nullptr, *cajaCuota = nullptr;
        if (cobro && negativa) {
            cajaBase = "14", cajaCuota = "15";
        } else if (cobro && filas.count(tipo)) {
            cajaBase = filas.at(tipo).first, cajaCuota = filas.at(tipo).second;
        } else if (!cobro && !sinCuota && negativa) {
            cajaBase = "40", cajaCuota = "41";
        } else if (!cobro && !sinCuota && filas.count(tipo)) {
            cajaBase = "28", cajaCuota = "29";
        }
        if (cajaBase) {
            c[cajaBase] += base;
            c[cajaCuota] += cuota;
        }
    }
    c["27"] = c["152"] + c["03"] + c["06"] + c["09"] + c["15"];
    c["45"] = c["29"] + c["41"];
    c["46"] = c["71"] = c["27"] - c["45"];
    return c;
}

void Compara(int n) {
    const Proceso programa = Ejecuta(OrdenPrograma(n), true);
    const Proceso plano = Ejecuta(OrdenPlana(n), true);
    if (programa.codigo != 0 || plano.codigo != 0)
        Falla("la liquidación o la consulta plana fallaron con " + std::to_string(n) + " facturas");
    const Cajas esperadas = CajasPlanas(plano.salida);
    const Cajas cajas = CajasPrograma(programa.salida);
    for (const auto& [caja, valor] : esperadas) {
        const auto it = cajas.find(caja);
        if (it == cajas.end() || it->second != valor)
            Falla("DIFERENCIA con " + std::to_string(n) + " facturas en la casilla " + caja + ": el programa " +
                  (it == cajas.end() ? std::string("no la da") : std::to_string(it->second)) + ", SQLite " +
                  std::to_string(valor));
    }
    std::fprintf(stderr, "  %8d facturas: %zu casillas iguales (71 = %.2f)\n", n, esperadas.size(),
                 static_cast<double>(esperadas.at("71")) / 100);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool soloComprueba = argc > 1 && std::strcmp(argv[1], "--comprobar") == 0;
    const std::vector<int> tamanos =
        TamanosBench(std::vector<int>(std::begin(kTamanos), std::end(kTamanos)), soloComprueba);

    std::fprintf(stderr, "Casillas comparadas con una agrupación de SQLite plano:\n");
    for (int n : tamanos)
        Compara(n);
    if (soloComprueba)
        return 0;

    std::printf("\n--liquidacion ÷ sqlite3 con una agrupación (mediana de %d, tiempo de CPU del proceso):\n", kVueltas);
    std::printf("%10s %14s %14s %10s   objetivo\n", "facturas", "programa (ms)", "sqlite3 (ms)", "cociente");
    bool fuera = false;
    for (int n : tamanos) {
        std::vector<double> programa, plano;
        // In turns, so that both meet the same load.
        for (int i = 0; i < kVueltas; ++i) {
            programa.push_back(Ejecuta(OrdenPrograma(n), false).cpuMs / 1e3);
            plano.push_back(Ejecuta(OrdenPlana(n), false).cpuMs / 1e3);
        }
        const double cociente = Mediana(programa) / Mediana(plano);
        const bool mide = n >= 1000000;
        std::printf("%10d %14.1f %14.1f %10.2f   %s\n", n, Mediana(programa) * 1000, Mediana(plano) * 1000, cociente,
                    mide ? "<= 1,50" : "");
        std::fflush(stdout);
        fuera = fuera || (mide && cociente > kObjetivo);
    }
    return fuera ? 1 : 0;
}
