// The automatic copy made on leaving the program, on a database of 100 000
// invoices (five years of a busy shop): how long the exit waits for it. The
// copy is the engine's snapshot of the open database, synced, checked and
// renamed into place, then the oldest copies beyond those kept are removed.
// The run fails when the copy takes a second or more.
//
// Also the consistent copy of the "Realiza Copia" screen and the restore of
// such a copy (check, safety copy, replace, reconnect), for comparison.
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

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFacturas = 100000;
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
                            .arg(kFacturas);
    if (QProcess::execute(QStringLiteral("sqlite3"), {RutaBaseDatos(), sql}) != 0)
        std::exit(1);
    if (!ConectarBD())
        std::exit(1);
}

std::vector<double> gSalida;

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
    // A failure's message would wait for an answer that never comes.
    InstalaPresentador([](const Mensaje& m) {
        std::fputs((m.texto + QLatin1Char('\n')).toUtf8().constData(), stderr);
        return m.porDefecto;
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CierraConexion();
    if (gSalida.empty())
        return 0;
    const double peor = *std::max_element(gSalida.begin(), gSalida.end());
    const QString informe = QStringLiteral("Copia al salir con %1 facturas: la más lenta %2 ms (límite %3 ms)\n")
                                .arg(kFacturas)
                                .arg(QString::number(peor, 'f', 0), QString::number(kLimiteSalidaMs, 'f', 0));
    std::fputs(informe.toUtf8().constData(), stderr);
    return peor < kLimiteSalidaMs ? 0 : 1;
}
