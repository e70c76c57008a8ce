// The return from the command line, as a script runs the program.
#include "dominio/liquidacion/Liquidacion.h"

#include "ApoyoPruebas.h"
#include "datos/BaseDatos.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Salida {
    int codigo;
    QString salida, error;
};

Salida Ejecuta(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral(FISCALINO_PROGRAMA), argumentos);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray Huella(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

class OrdenLiquidacion : public ::testing::Test {
protected:
    EntornoPruebas e;
    QString bd;

    void SetUp() override {
        e.Conecta();
        e.InsertaParametros("IGIC", 7);
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE) values ('Bazar Atlántico')");
        e.InsertaFactura("C", "C1", "05/01/2026", "70", "1.070", "1.000", "7");
        e.InsertaFactura("C", "C2", "10/02/2026", "5", "105", "100", "5");
        e.InsertaFactura("C", "C3", "31/03/2026", "-7", "-107", "-100", "7");
        e.InsertaFactura("P", "P1", "15/03/2026", "21", "321", "300", "7");
        e.InsertaFactura("C", "C4", "01/04/2026", "7", "107", "100", "7");
        bd = PruebasEnServidor() ? RutaBaseDatos() : e.RutaBD();
    }
};

}  // namespace

TEST_F(OrdenLiquidacion, LineasYPdfSinTocarLaBase) {
    const Liquidacion esperada = LeeLiquidacion(*Conexion, "01/01/2026", "31/03/2026", "IGIC");
    CierraConexion();
    const QByteArray antes = Huella(bd);
    const QString pdf = e.Carpeta() + "/salida.pdf";
    const Salida s = Ejecuta({"--base-datos", bd, "--liquidacion", "2026", "1", pdf});
    EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
    EXPECT_EQ(s.salida, esperada.LineasOrden().join('\n') + '\n');
    // One row per rate, ascending: 5 % (energy drinks) and 7 %.
    EXPECT_TRUE(s.salida.contains("\n01\t100,00\n02\t5,00\n03\t5,00\n04\t1.000,00\n05\t7,00\n06\t70,00\n07\t\n"));
    EXPECT_TRUE(s.salida.contains("\n21\t-100,00\n22\t-7,00\n25\t68,00\n26\t300,00\n27\t21,00\n"));
    EXPECT_TRUE(s.salida.contains("\n# Comprobación: 25 - 40"));
    EXPECT_EQ(Huella(bd), antes);

    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString t = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    for (const char* texto : {"Bazar Atlántico", "Liquidación del Trimestre", "Modelo 420 (IGIC)",
                              "25 Total cuota devengada 68,00", "41 Resultado régimen general 47,00"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(texto))) << texto;
}

TEST_F(OrdenLiquidacion, UsoIncorrectoYFallos) {
    CierraConexion();
    const struct {
        QStringList argumentos;
        int codigo;
        const char* error;
    } casos[] = {
        {{"--liquidacion", "2026"}, 2, "Número de argumentos incorrecto para --liquidacion.\nUso:\n"},
        {{"--liquidacion", "2026", "1", "a.pdf", "b"}, 2, "Número de argumentos incorrecto para --liquidacion.\nUso:\n"},
        {{"--liquidacion", "2026", "5"}, 2, "El trimestre debe ser 1, 2, 3 o 4: 5\nUso:\n"},
        {{"--liquidacion", "dos mil", "1"}, 2, "El año no es válido: dos mil\nUso:\n"},
        {{"--liquidacion", "2026", "1", "salida.mdb"}, 2, "El archivo de salida debe terminar en .pdf: salida.mdb\nUso:\n"},
        {{"--base-datos", "/no/existe.mdb", "--liquidacion", "2026", "1"}, 1,
         "Error intentando conectar con la BD. El error fue: No se encontró"},
        {{"--liquidacion", "2026", "1", "/no/hay/carpeta.pdf"}, 1, "No se pudo guardar el archivo /no/hay/carpeta.pdf.\n"},
    };
    for (const auto& c : casos) {
        QStringList argumentos = c.argumentos;
        if (!argumentos.contains("--base-datos"))
            argumentos = QStringList{"--base-datos", bd} + argumentos;
        const Salida s = Ejecuta(argumentos);
        SCOPED_TRACE(argumentos.join(' ').toStdString());
        EXPECT_EQ(s.codigo, c.codigo);
        EXPECT_TRUE(s.salida.isEmpty());
        // Qt's own notices about the environment may come first.
        EXPECT_TRUE(s.error.contains(QString::fromUtf8(c.error))) << s.error.toStdString();
    }
    EXPECT_FALSE(QFile::exists("/no/existe.mdb"));

    // Reports guarded by a password: asked on the terminal, and there is none here.
    ConectarBD();
    Conexion->Ejecutar("update PARAMETROS set PALABRA_CLAVE = 'clave', ACCESO_INFORMES = 'S'");
    CierraConexion();
    const Salida s = Ejecuta({"--base-datos", bd, "--liquidacion", "2026", "1"});
    EXPECT_EQ(s.codigo, 1);
    EXPECT_TRUE(s.salida.isEmpty());
    EXPECT_TRUE(s.error.contains("Hace falta la clave de acceso y no hay un terminal donde pedirla.")) << s.error.toStdString();
}
