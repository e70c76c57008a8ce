// The VAT books of a year of 100 000 invoices (half collected, half paid,
// most with a counterparty), from the database to the file: reading them
// through the data layer, and writing the agency's workbook or the CSV files.
// The whole export must stay under 5 seconds; a run over it is reported as
// an error.
#include "config/Ajustes.h"
#include "data/BaseDatos.h"
#include "data/comun/Programa.h"
#include "libros/ArchivoLibros.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kFacturas = 100000;
constexpr double kLimiteSegundos = 5;

// A database of the current layout with `n` invoices spread over 2026.
QString CreaBase(const QTemporaryDir& dir, int n) {
    EstableceRutaAplicacion(dir.path());
    EstableceCarpetaAjustes(dir.path() + QStringLiteral("/ajustes"));
    EstableceCarpetaDatosUsuario(dir.path() + QStringLiteral("/usuario"));
    NombrePrograma = QStringLiteral("Fiscalino");
    if (!ConectarBD())
        std::abort();
    const QString ruta = Conexion->Ruta();
    CierraConexion();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(ruta).constData(), &db);
    const QByteArray sql = QStringLiteral(
        "insert into DATOS_EMPRESA (NOMBRE, CIF, COD_ACTIVIDAD, TIPO_ACTIVIDAD, EPIGRAFE_IAE)"
        "  values ('Talleres Ibáñez SL', 'B12345674', 'A', '01', '6531');"
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1)"
        " insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL,"
        "                       DESCRIPCION, TIPO, NIF_TERCERO, NOMBRE_TERCERO)"
        " select 'F-' || i, date('2026-01-01', '+' || (i % 365) || ' days'), 100 + i % 900, 21,"
        "        round((100 + i % 900) * 0.21, 2), round((100 + i % 900) * 1.21, 2), 'Venta ' || i,"
        "        case i % 2 when 0 then 'C' else 'P' end, case when i % 10 = 0 then null else '12345678Z' end,"
        "        'Cliente número ' || (i % 1000) from n;")
                              .arg(n - 1)
                              .toUtf8();
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
    sqlite3_close(db);
    if (!ConectarBD())
        std::abort();
    return ruta;
}

void Exporta(benchmark::State& estado, FormatoLibros formato) {
    QTemporaryDir dir;
    CreaBase(dir, kFacturas);
    const QString salida = dir.filePath(formato == FormatoLibros::Xlsx ? QStringLiteral("libros.xlsx")
                                                                       : QStringLiteral("libros.csv"));
    double peor = 0;
    for (auto _ : estado) {
        const auto inicio = std::chrono::steady_clock::now();
        const DatosLibros datos = LeeDatosLibros(*Conexion, 2026, -1);
        const ResultadoLibros r = EscribeLibros(salida, formato, datos);
        const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
        peor = std::max(peor, segundos);
        if (r.estado != ResultadoLibros::Estado::Hecho || static_cast<int>(datos.facturas.size()) != kFacturas) {
            estado.SkipWithError("la exportación no se completó");
            break;
        }
    }
    estado.counters["facturas"] = kFacturas;
    estado.counters["peor_s"] = peor;
    if (peor > kLimiteSegundos && !std::getenv("FISCALINO_BENCH_SIN_LIMITE"))
        estado.SkipWithError("la exportación de 100 000 facturas pasa de 5 s");
    CierraConexion();
}

void BM_LibrosXlsx(benchmark::State& estado) { Exporta(estado, FormatoLibros::Xlsx); }
void BM_LibrosCsv(benchmark::State& estado) { Exporta(estado, FormatoLibros::Csv); }

// Reading alone, to tell the database's share from the writer's.
void BM_LeeLibros(benchmark::State& estado) {
    QTemporaryDir dir;
    CreaBase(dir, kFacturas);
    for (auto _ : estado)
        benchmark::DoNotOptimize(LeeDatosLibros(*Conexion, 2026, -1).facturas.size());
    CierraConexion();
}

}  // namespace

BENCHMARK(BM_LeeLibros)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LibrosXlsx)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LibrosCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
