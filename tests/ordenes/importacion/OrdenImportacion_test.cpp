#include "ApoyoImportacion.h"

#include "datos/BaseDatos.h"
#include "ordenes/importacion/OrdenImportacion.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int CuentaFacturas() {
    return static_cast<int>(Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Numero());
}

}  // namespace

TEST(OrdenImportar, ComprobarImportarYCodigosDeSalida) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros();
    QTemporaryDir dir;
    auto archivo = [&dir](const char* nombre, const QByteArray& contenido) {
        EXPECT_TRUE(EscribeTexto(dir.filePath(nombre), contenido));
        return dir.filePath(nombre);
    };
    const QString buena = archivo("buena.csv", "Tipo;Número;Fecha;Total;IVA\nC;1;15/01/2026;121;21\nP;2;16/01/2026;242;21\n");
    const QString mala = archivo("mala.csv", "Tipo;Número;Fecha;Total;IVA\nC;3;15/01/2026;121;21\nC;4;15/01/2026;1,2,3;21\n");
    const QString sinTipo = archivo("sin-tipo.csv", "Número;Fecha;Total\n5;15/01/2026;121\n");
    const QString mapa = archivo("mapa.txt", "TIPO=Pagos\nCOD_FACTURA=Número\nFECHA_FACTURA=#2\nIMPORTE_TOTAL=Total\n");
    const QString mapaMalo = archivo("mapa-malo.txt", "IMPORTE_TOTAL=Suma\n");
    const QString pdf = archivo("libros.pdf", "%PDF");
    struct Caso {
        QStringList argumentos;
        int salida;
        QStringList escribe, avisa;
        int facturas;  // after the command
    } casos[] = {
        {{buena}, 0, {"2 facturas nuevas (2 con importes completados), 0 repetidas y 0 rechazadas."}, {}, 0},
        {{mala, "--si"}, 1, {"1 factura nueva (1 con importes completados), 0 repetidas y 1 rechazada."},
         {"Línea 3, columna Total: '1,2,3' no es un importe.",
          "No se ha importado nada: corrija las filas rechazadas y vuelva a importar el archivo."}, 0},
        {{buena, "--si"}, 0,
         {"2 facturas nuevas (2 con importes completados), 0 repetidas y 0 rechazadas.", "Importadas 2 facturas."}, {}, 2},
        {{"--si", buena}, 0,
         {"0 facturas nuevas, 2 repetidas y 0 rechazadas.", "No se importó ninguna factura; 2 repetidas no se importaron."},
         {}, 2},
        {{sinTipo, "--si"}, 2, {},
         {"No se sabe qué columna de " + sinTipo + " da el tipo (Cobros o Pagos): indíquelo en un mapa con --mapa MAPA."}, 2},
        {{sinTipo, "--mapa", mapa, "--si"}, 0, {"1 factura nueva, 0 repetidas y 0 rechazadas.", "Importada 1 factura."}, {}, 3},
        {{sinTipo, "--mapa", mapaMalo}, 2, {}, {"Línea 1 del mapa: el archivo no tiene la columna 'Suma'."}, 3},
        {{sinTipo, "--mapa"}, 2, {}, {"Falta el archivo del mapa tras --mapa."}, 3},
        {{buena, "--sí"}, 2, {}, {"Argumento desconocido para --importar: --sí"}, 3},
        {{pdf}, 2, {}, {"El archivo que se importa debe acabar en .xlsx, .csv o .txt: " + pdf}, 3},
        {{dir.filePath("no-esta.csv")}, 1, {}, {"El archivo " + dir.filePath("no-esta.csv") + " no existe."}, 3},
    };
    for (const Caso& c : casos) {
        OrdenDePrueba o(c.argumentos);
        EXPECT_EQ(OrdenImportar(o.c), c.salida) << c.argumentos.join(' ').toStdString();
        EXPECT_EQ(o.salida, c.escribe) << c.argumentos.join(' ').toStdString();
        EXPECT_EQ(o.errores, c.avisa) << c.argumentos.join(' ').toStdString();
        ASSERT_TRUE(ConectarBD());
        EXPECT_EQ(CuentaFacturas(), c.facturas) << c.argumentos.join(' ').toStdString();
    }
}

TEST(OrdenImportar, ElProgramaLaOfreceYNoCreaLaBase) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    QTemporaryDir dir;
    ASSERT_TRUE(EscribeTexto(dir.filePath("f.csv"), "Tipo;Fecha;Total\nC;15/01/2026;121\n"));
    QProcess p;
    p.start(QStringLiteral(FISCALINO_PROGRAMA),
            {"--base-datos", dir.filePath("nueva.mdb"), "--importar", dir.filePath("f.csv"), "--si"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nueva.mdb")));
    p.start(QStringLiteral(FISCALINO_PROGRAMA), {"--ayuda"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_TRUE(p.readAllStandardOutput().contains("--importar FICHERO [--mapa MAPA] [--si]"));
}
