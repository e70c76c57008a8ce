// The automatic copy made on leaving the program, on a database of 100 000
// invoices (five years of a busy shop): how long the exit waits for it. The
// copy is the engine's snapshot of the open database, synced, checked and
// renamed into place, then the oldest copies beyond those kept are removed.
// The run fails when the copy takes a second or more.
//
// Also the consistent copy of the "Realiza Copia" screen and the restore of
// such a copy (check, safety copy, replace, reconnect), for comparison.
//
// Then the commands `--copia` and `--restaurar` as whole processes beside the
// best the plain tool does for a checked copy: sqlite3's `.backup` followed
// by `pragma integrity_check`, in one process. Before timing, the copies and
// the restored database are compared table by table with the original: the
// run fails on any difference. Each side is timed by its CPU time (user and
// system), in turns; the ratio of the medians is printed against its target.
// `--comprobar` compares only, on 10 000 invoices.
#include "Procesos.h"
#include "dominio/parametros/Ajustes.h"
#include "dominio/copias/Copias.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "dominio/copias/Restauracion.h"
#include "datos/BaseDatos.h"
#include "base/Mensajes.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>


namespace {

int gFacturas = 100000;
constexpr double kLimiteSalidaMs = 1000;

QTemporaryDir& Carpeta() {
    static QTemporaryDir d;
    return d;
}

QString CarpetaCopias() { return Carpeta().path() + QStringLiteral("/copias"); }

// Five years of invoices in date order, as the book grows.
void PreparaBase() {
    static bool hecha = false;
    if (hecha)
        return;
    hecha = true;
    EstableceRutaAplicacion(Carpeta().path());
    EstableceCarpetaAjustes(Carpeta().path() + QStringLiteral("/ajustes"));
    EstableceCarpetaDatosUsuario(Carpeta().path() + QStringLiteral("/usuario"));
    QDir().mkpath(CarpetaCopias());
    EstableceCarpetaCopia(CarpetaCopias());
    if (!ConectarBD())
        std::exit(1);
    Conexion->Ejecutar(QStringLiteral("insert into PARAMETROS (PALABRA_CLAVE, IVA, OPCION_IVA, FRASE_FINAL, "
                                      "ACCESO_FACTURAS, ACCESO_INFORMES) values (Null, 21, 'IVA', Null, 'N', 'N')"));
    // The engine's own SQL through the standard tool: a hundred thousand rows in one statement.
    CierraConexion();
    const QString sql = QStringLiteral(
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
        "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL, "
        "DESCRIPCION, TIPO) "
        "select 'F-' || substr('0000000' || ((i * 7919) % 10000000), -7), "
        "       date('2022-01-01', '+' || (i * 1826 / %1) || ' days'), "
        "       round((1 + (i * 37 % 100000) / 100.0) / 1.21, 2), 21, "
        "       round((1 + (i * 37 % 100000) / 100.0) - (1 + (i * 37 % 100000) / 100.0) / 1.21, 2), "
        "       1 + (i * 37 % 100000) / 100.0, "
        "       case when i % 4 = 0 then null else 'Material de oficina' end, "
        "       case when i % 2 = 0 then 'P' else 'C' end from n where i < %1")
                            .arg(gFacturas);
    if (QProcess::execute(QStringLiteral("sqlite3"), {RutaBaseDatos(), sql}) != 0)
        std::exit(1);
    if (!ConectarBD())
        std::exit(1);
}

std::vector<double> gSalida;

// ---- The commands as processes, beside sqlite3 ------------------------------------

[[noreturn]] void Falla(const std::string& que) {
    std::fprintf(stderr, "%s\n", que.c_str());
    std::exit(1);
}

// Runs `argumentos` to its end; its output kept, a failure ends the run.
Proceso Ejecuta(const std::vector<std::string>& argumentos) {
    Proceso p = EjecutaProceso(argumentos, Carpeta().path() + QStringLiteral("/salida.txt"));
    p.salida = p.salida.trimmed();
    if (p.codigo != 0)
        Falla(argumentos[0] + " " + argumentos.back() + " falló: " + p.salida.toStdString());
    return p;
}

// Every table of a database, row by row, written out the same way.
std::vector<std::string> Contenido(const QString& ruta) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        Falla("no se pudo abrir " + ruta.toStdString());
    std::vector<std::string> filas, tablas;
    auto lee = [&](const std::string& sql, std::vector<std::string>& destino) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            Falla(sql + ": " + sqlite3_errmsg(db));
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::string f;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* t = sqlite3_column_text(st, c);
                f += t ? reinterpret_cast<const char*>(t) : "∅";
                f += '|';
            }
            destino.push_back(f);
        }
        sqlite3_finalize(st);
    };
    lee("select name from sqlite_master where type = 'table' order by name", tablas);
    for (std::string t : tablas) {
        t.pop_back();  // the separator
        filas.push_back("# " + t);
        lee("select * from \"" + t + "\" order by rowid", filas);
    }
    sqlite3_close(db);
    return filas;
}

void Compara(const char* que, const QString& obtenida, const QString& esperada) {
    const auto a = Contenido(obtenida), b = Contenido(esperada);
    if (a != b)
        Falla(std::string("DIFERENCIA en ") + que + ": " + obtenida.toStdString() + " no tiene las filas de " +
              esperada.toStdString());
    std::fprintf(stderr, "  %-28s %zu filas iguales\n", que, a.size());
}

struct Ordenes {
    QString base, carpetaCopias, copiaPlana, casa;
};

// The database of the commands: a file of its own (the benchmarks above keep
// theirs open), its copies and safety copies in folders of their own.
Ordenes PreparaOrdenes() {
    Ordenes o;
    const QString d = Carpeta().path() + QStringLiteral("/ordenes");
    o.base = d + QStringLiteral("/Fiscalino.mdb");
    o.carpetaCopias = d + QStringLiteral("/copias");
    o.copiaPlana = d + QStringLiteral("/plana.mdb");
    o.casa = d + QStringLiteral("/casa");
    QDir().mkpath(o.carpetaCopias);
    QDir().mkpath(o.casa);
    if (!QFile::copy(RutaBaseDatos(), o.base))
        Falla("no se pudo preparar la base de las órdenes");
    // The safety copies of a restore go to the home folder, the log beside the settings.
    qputenv("HOME", QFile::encodeName(o.casa));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(o.casa + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(o.casa + QStringLiteral("/datos")));
    return o;
}

Proceso CopiaPrograma(const Ordenes& o, QString* destino = nullptr) {
    const Proceso p = Ejecuta({FISCALINO_PROGRAMA, "--base-datos", o.base.toStdString(), "--copia",
                               o.carpetaCopias.toStdString()});
    if (destino)
        *destino = QString::fromLocal8Bit(p.salida);
    return p;
}

Proceso CopiaPlana(const Ordenes& o) {
    QFile::remove(o.copiaPlana);
    const Proceso p = Ejecuta({"sqlite3", o.base.toStdString(), ".backup '" + o.copiaPlana.toStdString() + "'",
                               ".open '" + o.copiaPlana.toStdString() + "'", "pragma integrity_check;"});
    if (p.salida != "ok")
        Falla("la copia de sqlite3 no está sana: " + p.salida.toStdString());
    return p;
}

Proceso Restaura(const Ordenes& o, const QString& copia) {
    const Proceso p = Ejecuta({FISCALINO_PROGRAMA, "--base-datos", o.base.toStdString(), "--restaurar",
                               copia.toStdString(), "--si"});
    // The safety copy goes, as in the benchmark of the screen's restore.
    for (const QFileInfo& f : QDir(o.casa).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files))
        QFile::remove(f.absoluteFilePath());
    return p;
}

// Compares, then (unless only comparing) times in turns; false when a ratio
// misses its target.
bool OrdenesFrenteASqlite(bool soloComprobar) {
    const Ordenes o = PreparaOrdenes();
    std::fprintf(stderr, "Órdenes comparadas con sqlite3 (%d facturas):\n", gFacturas);
    QString copia;
    CopiaPrograma(o, &copia);
    CopiaPlana(o);
    Compara("--copia", copia, o.base);
    Compara(".backup de sqlite3", o.copiaPlana, o.base);
    // A restore over a database that differs from the copy.
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(o.base).constData(), &db);
        sqlite3_exec(db, "delete from FACTURAS where ID % 3 = 0", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    if (Contenido(o.base) == Contenido(copia))
        Falla("la base no cambió antes de restaurar");
    Restaura(o, copia);
    Compara("--restaurar", o.base, copia);
    if (soloComprobar)
        return true;

    std::vector<double> programa, restaura, plana;
    for (int i = 0; i < 9; ++i) {
        programa.push_back(CopiaPrograma(o).cpuMs);
        plana.push_back(CopiaPlana(o).cpuMs);
        restaura.push_back(Restaura(o, copia).cpuMs);
    }
    const double cCopia = Mediana(programa) / Mediana(plana), cRestaura = Mediana(restaura) / Mediana(plana);
    std::printf("\nÓrdenes ÷ sqlite3 .backup + integrity_check (%d facturas, mediana del tiempo de CPU):\n", gFacturas);
    std::printf("  sqlite3 %.1f ms, --copia %.1f ms, --restaurar %.1f ms\n", Mediana(plana), Mediana(programa),
                Mediana(restaura));
    std::printf("  --copia      %5.2f   objetivo <= 1,20\n", cCopia);
    std::printf("  --restaurar  %5.2f   objetivo <= 2,00\n", cRestaura);
    std::fflush(stdout);
    return cCopia <= 1.2 && cRestaura <= 2.0;
}


void BM_CopiaAlSalir(benchmark::State& estado) {
    PreparaBase();
    for (auto _ : estado) {
        GuardaAjuste(QStringLiteral("UltimaCopiaAutomatica"), QString());
        QElapsedTimer t;
        t.start();
        const CopiaAutomatica r = HazCopiaAutomatica(QDate::currentDate());
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (r != CopiaAutomatica::Hecha) {
            estado.SkipWithError("la copia automática no se hizo");
            break;
        }
        gSalida.push_back(ms);
        estado.SetIterationTime(ms / 1000.0);
    }
    estado.counters["MB"] = static_cast<double>(QFileInfo(RutaBaseDatos()).size()) / (1 << 20);
}
BENCHMARK(BM_CopiaAlSalir)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CopiaDePantalla(benchmark::State& estado) {
    PreparaBase();
    const QString destino = CarpetaCopias() + QLatin1Char('/') + NombreCopiaSeguridad(QDate::currentDate(), OrigenCopia());
    for (auto _ : estado)
        CopiaArchivoBD(OrigenCopia(), destino);
}
BENCHMARK(BM_CopiaDePantalla)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Restauracion(benchmark::State& estado) {
    PreparaBase();
    const QString copia = CarpetaCopias() + QLatin1Char('/') + NombreCopiaSeguridad(QDate::currentDate(), OrigenCopia());
    CopiaArchivoBD(OrigenCopia(), copia);
    for (auto _ : estado) {
        const QString previa = RestauraCopia(copia);
        estado.PauseTiming();
        QFile::remove(previa);
        estado.ResumeTiming();
    }
}
BENCHMARK(BM_Restauracion)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool soloComprobar = argc > 1 && std::strcmp(argv[1], "--comprobar") == 0;
    if (soloComprobar)
        gFacturas = 10000;
    // A failure's message would wait for an answer that never comes.
    InstalaPresentador([](const Mensaje& m) {
        std::fputs((m.texto + QLatin1Char('\n')).toUtf8().constData(), stderr);
        return m.porDefecto;
    });
    PreparaBase();
    const bool ordenesBien = OrdenesFrenteASqlite(soloComprobar);
    if (soloComprobar) {
        CierraConexion();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CierraConexion();
    if (gSalida.empty())
        return ordenesBien ? 0 : 1;
    const double peor = *std::max_element(gSalida.begin(), gSalida.end());
    const QString informe = QStringLiteral("Copia al salir con %1 facturas: la más lenta %2 ms (límite %3 ms)\n")
                                .arg(gFacturas)
                                .arg(QString::number(peor, 'f', 0), QString::number(kLimiteSalidaMs, 'f', 0));
    std::fputs(informe.toUtf8().constData(), stderr);
    return peor < kLimiteSalidaMs && ordenesBien ? 0 : 1;
}
