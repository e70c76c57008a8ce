#include "ApoyoLibros.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Salida {
    int codigo;
    QString salida, error;
};

// The program as a script runs it, in `carpeta`.
Salida Ejecuta(const QString& carpeta, const QStringList& argumentos) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral(FISCALINO_PROGRAMA), argumentos);
    if (!p.waitForFinished(60000))
        return {-1, {}, {}};
    // The platform's own notices are not the program's.
    QStringList error;
    for (const QString& l : QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts))
        if (!l.startsWith("QStandardPaths:"))
            error << l;
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).trimmed(), error.join('\n')};
}

}  // namespace

TEST(OrdenLibros, LosLibrosDeUnaBaseDeLaVersionAnteriorSinTocarla) {
    EntornoPruebas e;
    const QString base = e.Carpeta() + "/anterior.mdb";
    ASSERT_TRUE(QFile::copy(FISCALINO_FIXTURES "/estructura2.mdb", base));
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray antes = ContenidoArchivo(base);

    const Salida xlsx = Ejecuta(e.Carpeta(), {"--base-datos", base, "--libros", "2026", "1", "libros.xlsx"});
    EXPECT_EQ(xlsx.codigo, 0) << xlsx.error.toStdString();
    EXPECT_EQ(xlsx.salida, "Libros registro de 2026, del 01/01/2026 al 31/03/2026: 3 facturas emitidas y 2 recibidas, "
                           "en libros.xlsx.");
    // Listed, and written all the same.
    EXPECT_EQ(xlsx.error, "Estas facturas no se pueden llevar a los libros tal como están:\n"
                          "  Pagos 12/01/2026 P-17/26 (total 242,00): sin NIF del proveedor.\n"
                          "  Cobros 20/02/2026 C-002 (total 1.210,00): sin NIF del cliente y con un total de más de "
                          "400 €, que no puede ser el de una factura simplificada.\n"
                          "  Pagos 03/03/2026 FR-9 (total 10,00): sin NIF del proveedor; el 7 % no es un tipo de IVA "
                          "vigente el 03/03/2026.\n"
                          "Los libros se escriben con ellas tal como están.");
    const QStringList celdas = LeeXlsx(e.Carpeta() + "/libros.xlsx");
    EXPECT_TRUE(celdas.contains("EXPEDIDAS 5: #2026.0|1T||||F2|||@20/02/2026|||C-002|||||VENTAS A CONSUMIDOR FINAL|01|"
                                "S1||#1210.0|#1000.0|#21.0|#210.0"))
        << celdas.join('\n').toStdString();
    EXPECT_TRUE(celdas.contains("RECIBIDAS 5: #2026.0|1T||||F2|||@03/03/2026||FR-9||@03/03/2026|||||||01|N|N|N|||"
                                "#10.0|#9.35|#7.0|#0.65|#0.65"));

    const Salida csv = Ejecuta(e.Carpeta(), {"--base-datos", base, "--libros", "2026", "libros.csv"});
    EXPECT_EQ(csv.codigo, 0) << csv.error.toStdString();
    EXPECT_EQ(csv.salida, "Libros registro de 2026, del 01/01/2026 al 31/12/2026: 5 facturas emitidas y 3 recibidas, "
                          "en libros_EXPEDIDAS.csv y libros_RECIBIDAS.csv.");
    EXPECT_EQ(QString::fromUtf8(ContenidoArchivo(e.Carpeta() + "/libros_RECIBIDAS.csv")).count("\r\n"), 4);
    EXPECT_EQ(ContenidoArchivo(base), antes);
}

TEST(OrdenLibros, ConIgicAvisaDeQueLaAgenciaSoloImportaIvaYEscribeLaClave08) {
    EntornoPruebas e;
    const QString base = e.Carpeta() + "/anterior.mdb";
    ASSERT_TRUE(QFile::copy(FISCALINO_FIXTURES "/estructura2.mdb", base));
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner);
    Sqlite(base, "update PARAMETROS set OPCION_IVA = 'IGIC'");
    const Salida s = Ejecuta(e.Carpeta(), {"--base-datos", base, "--libros", "2026", "1", "libros.xlsx"});
    EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
    EXPECT_EQ(s.error.section('\n', 0, 0),
              "El impuesto configurado es el IGIC, y la importación de libros registro de la Agencia Tributaria "
              "(servicio Pre303) sirve solo para el IVA. Los libros llevan las facturas como operaciones sujetas al "
              "IGIC (clave de operación 08, no sujetas al IVA): la base, sin tipo ni cuota de IVA.");
    const QStringList celdas = LeeXlsx(e.Carpeta() + "/libros.xlsx");
    EXPECT_TRUE(celdas.contains("EXPEDIDAS 4: #2026.0|1T||||F2|||@15/01/2026|||C-001|||||VENTAS A CONSUMIDOR FINAL|08|"
                                "N2||#100.0|#100.0"))
        << celdas.join('\n').toStdString();
}

TEST(OrdenLibros, UsoIncorrectoYFallos) {
    EntornoPruebas e;
    const QString base = e.Carpeta() + "/anterior.mdb";
    ASSERT_TRUE(QFile::copy(FISCALINO_FIXTURES "/estructura2.mdb", base));
    const struct {
        QStringList argumentos;
        int codigo;
        const char* error;
    } casos[] = {
        {{"2026"}, 2, "Número de argumentos incorrecto para --libros."},
        {{"20x6", "l.xlsx"}, 2, "El año no es válido: 20x6"},
        {{"2026", "5", "l.xlsx"}, 2, "El trimestre debe ser 1, 2, 3 o 4: 5"},
        {{"2026", "1", "l.xls"}, 2, "El archivo de salida debe acabar en .xlsx o en .csv: l.xls"},
        {{"2026", "1", "no/hay/carpeta.xlsx"}, 1, "No se pudo escribir el archivo no/hay/carpeta.xlsx. Compruebe que la "
                                                  "carpeta existe, que puede escribir en ella y que queda espacio en el "
                                                  "disco."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        const Salida s = Ejecuta(e.Carpeta(), QStringList{"--base-datos", base, "--libros"} + c.argumentos);
        EXPECT_EQ(s.codigo, c.codigo);
        EXPECT_TRUE(s.error.startsWith(QString::fromUtf8(c.error)) || s.error.endsWith(QString::fromUtf8(c.error)))
            << s.error.toStdString();
        EXPECT_TRUE(s.salida.isEmpty());
    }
    // Books are reports: guarded as the screens guard them.
    Sqlite(base, "update PARAMETROS set PALABRA_CLAVE = 'x', ACCESO_INFORMES = 'S'");
    const Salida guardada = Ejecuta(e.Carpeta(), {"--base-datos", base, "--libros", "2026", "l.xlsx"});
    EXPECT_EQ(guardada.codigo, 1);
    EXPECT_EQ(guardada.error, "Hace falta la clave de acceso y no hay un terminal donde pedirla.");
    EXPECT_EQ(QDir(e.Carpeta()).entryList(QDir::Files), QStringList{"anterior.mdb"});
}
