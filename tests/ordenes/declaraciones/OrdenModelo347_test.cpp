// The year's declaration of operations with third parties from the command line.
#include "ordenes/declaraciones/OrdenModelo347.h"

#include "ApoyoPruebas.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/parametros/Ajustes.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class Orden347 : public ::testing::Test {
protected:
    EntornoPruebas e;
    QStringList lineas;
    QByteArray archivo;

    void SetUp() override {
        e.Conecta();
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Bazar Atlántico SL', 'B12345674')");
        for (const auto& [tipo, total, nif] : {std::tuple{"Cobros", "4.000", "12345678Z"}, {"Pagos", "-3.500", "12345678Z"},
                                                {"Cobros", "100", "X1234567L"}, {"Cobros", "5.000", ""}})
            ASSERT_EQ(GrabaFacturaNueva(*Conexion, {"F", "10/05/2026", "", total, "", "", ""}, tipo,
                                        {nif, "", "Ana Pérez", "", ""}),
                      Grabacion::Hecha);
        const Modelo347 m = LeeModelo347(*Conexion, 2026);
        lineas = m.LineasOrden();
        archivo = Fichero347(m, {"B12345674", "Bazar Atlántico SL", "928123456", "Pérez Ana"});
        CierraConexion();
    }
};

}  // namespace

TEST_F(Orden347, SalidasYErrores) {
    // The title, the NIF-less party above the threshold and two without a postal code, then A and B.
    ASSERT_EQ(lineas.size(), 6) << lineas.join(QLatin1Char(10)).toStdString();
    const QString txt = e.Carpeta() + "/347.txt";
    const struct {
        QStringList argumentos;
        bool contacto;  // kept in the settings beforehand
        int codigo;
        bool salida;    // the lines on standard output
        const char* error;
        bool escrito;   // the agency's file at `txt`
    } casos[] = {
        {{"2026"}, false, 0, true, "", false},
        {{"2026", txt}, false, 1, false,
         "Para el archivo del Modelo 347 falta un teléfono de contacto de 9 cifras y la persona de contacto.", false},
        {{"2026", txt}, true, 0, true, "", true},
        {{"20x6"}, false, 2, false, "El año no es válido: 20x6", false},
        {{"2026", "347.csv"}, false, 2, false, "El archivo de salida debe terminar en .pdf o .txt: 347.csv", false},
        {{"2026", e.Carpeta() + "/no-hay/347.pdf"}, false, 1, false, "No se pudo guardar el archivo ", false},
        {{"2026", e.Carpeta() + "/no-hay/347.txt"}, true, 1, false, "No se ha podido guardar el archivo ", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        QFile::remove(txt);
        GuardaContactoDeclaraciones(c.contacto ? ContactoDeclaraciones{"928 12 34 56", "Pérez Ana"} : ContactoDeclaraciones{});
        OrdenDePrueba o(c.argumentos);
        EXPECT_EQ(OrdenModelo347(o.c), c.codigo);
        EXPECT_EQ(o.salida, c.salida ? lineas : QStringList());
        if (*c.error) {
            ASSERT_EQ(o.errores.size(), 1);
            EXPECT_TRUE(o.errores[0].startsWith(QString::fromUtf8(c.error))) << o.errores[0].toStdString();
        } else {
            EXPECT_EQ(o.errores, QStringList());
        }
        EXPECT_EQ(ContenidoArchivo(txt), c.escrito ? archivo : QByteArray());
        CierraConexion();
    }
}

// With a .pdf name the printed declaration, as the program run by a script writes it.
TEST_F(Orden347, ElPdf) {
    const QString pdf = e.Carpeta() + "/347.pdf";
    QProcess p;
    p.start(QStringLiteral(FISCALINO_PROGRAMA),
            {"--base-datos", PruebasEnServidor() ? RutaBaseDatos() : e.RutaBD(), "--347", "2026", pdf});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), lineas.join('\n') + '\n');
    QProcess t;
    t.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(t.waitForFinished(30000));
    const QString texto = QString::fromUtf8(t.readAllStandardOutput()).simplified();
    for (const char* s : {"Bazar Atlántico SL", "Declaración Anual de Operaciones con Terceros (Modelo 347)",
                          "B 12345678Z Ana Pérez 4.000,00 0,00 4.000,00 0,00 0,00",
                          "A 12345678Z Ana Pérez -3.500,00 0,00 -3.500,00 0,00 0,00", "Tercero sin NIF por encima de 3.005,06"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(s))) << s << "\n" << texto.toStdString();
}

// Registered among the program's commands, as a script runs it.
TEST_F(Orden347, DesdeElPrograma) {
    QProcess p;
    p.start(QStringLiteral(FISCALINO_PROGRAMA),
            {"--base-datos", PruebasEnServidor() ? RutaBaseDatos() : e.RutaBD(), "--347", "2026"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), lineas.join('\n') + '\n');
}
