#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"

#include <gtest/gtest.h>

namespace {

const QString kAviso = QStringLiteral(
    "ATENCIÓN: No se encontró un parámetro de configuración de la aplicación. Es posible que tenga una versión "
    "incorrecta del programa y que alguna opción no funcione correctamente, pero puede seguir trabajando con la "
    "aplicación.");

// Loads the parameters from the row the statement leaves in PARAMETROS.
void Carga(const QString& insercion) {
    Conexion->Ejecutar(insercion);
    auto rs = Conexion->AbrirRegistros("select * from PARAMETROS");
    CargaParametros(*rs);
}

}  // namespace

TEST(Parametros, CodificarClave) {
    EXPECT_EQ(CodificarClave(true, "abc"), "`d`");
    EXPECT_EQ(CodificarClave(false, "`d`"), "abc");
    EXPECT_EQ(CodificarClave(true, ""), "");
    EXPECT_EQ(CodificarClave(false, ""), "");
    // Windows-1252: "€" is 128, 128 - 1 = 127; "ñ" is 241, 241 - 1 = 240 = "ð".
    EXPECT_EQ(CodificarClave(true, QString::fromUtf8("€")), QString(QChar(127)));
    EXPECT_EQ(CodificarClave(true, QString::fromUtf8("ñ")), QString::fromUtf8("ð"));
    EXPECT_EQ(CodificarClave(false, QString(QChar(127))), QString::fromUtf8("€"));
    // 0x7F + 2 lands on 0x81, a code the page leaves undefined: it still round-trips.
    for (const char* clave : {"Contraseña 1", "ÁÉÍÓÚ üñ €‰", "zzzzzzzzzzzzzzzzzzzz", "a\x7f"}) {
        const QString t = QString::fromUtf8(clave);
        EXPECT_EQ(CodificarClave(false, CodificarClave(true, t)), t) << clave;
    }
    EXPECT_EQ(CodificarClave(true, CodificarClave(false, "Contraseña 1")), "Contraseña 1");
}

TEST(Parametros, CodificarClaveFueraDeRango) {
    // A blank at position 33 would go below 0; a "ÿ" (255) at position 2 above 255.
    EXPECT_THROW(CodificarClave(true, QString(32, 'a') + ' '), ErrorBD);
    EXPECT_THROW(CodificarClave(true, QString::fromUtf8("aÿ")), ErrorBD);
    EXPECT_THROW(CodificarClave(false, QString::fromUtf8("ÿ")), ErrorBD);
    // A character the code page does not have.
    EXPECT_THROW(CodificarClave(true, QString::fromUtf8("ł")), ErrorBD);
    EXPECT_NO_THROW(CodificarClave(true, QString(31, 'a') + ' '));
}

TEST(Parametros, LasClavesAdmitidasSeGuardanYSeLeenEnCualquierPosicion) {
    const struct {
        QString clave;
        bool admitida;
    } casos[] = {
        {"Secreto 1!", true}, {"Ñoño ÁÚÜ€", true}, {"àèìòç'(@#~", true}, {"", true},
        {"abcü", false},      {"menú", false},     {"ab😍", false},     {"中", false},
        {"ÿ", false},         {QString("a") + QChar(0), false},         {"a\tb", false},
        {QString(11, 'a'), true}, {QString(32, 'a') + ' ', false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ClaveAdmitida(c.clave), c.admitida) << c.clave.toStdString();
    // Every character of the code page that is admitted survives the round
    // trip at each position of the longest password the box takes.
    QString pagina = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    for (int u = 0x20; u <= 0xFF; ++u)
        if (u < 0x7F || u >= 0xA0)
            pagina += QChar(u);
    int admitidos = 0;
    for (QChar c : pagina) {
        if (!ClaveAdmitida(QString(c)))
            continue;
        ++admitidos;
        for (int pos = 0; pos < 10; ++pos) {
            QString t(10, QLatin1Char('a'));
            t[pos] = c;
            EXPECT_EQ(CodificarClave(false, CodificarClave(true, t)), t) << c.unicode() << " en " << pos;
        }
    }
    // Codes 32 to 245 but the ten at the top ("ö" to "ÿ").
    EXPECT_EQ(admitidos, pagina.size() - 10);
}

TEST(Parametros, CargaNormal) {
    EntornoPruebas e;
    e.Conecta();
    RegistroMensajes r;
    Carga("insert into PARAMETROS values ('" + CodificarClave(true, "clave") + "', 21, 'IGIC', 'Gracias', 'S', 'N')");
    EXPECT_EQ(r.cuenta(), 0);
    EXPECT_EQ(PalabraClave, "clave");
    EXPECT_EQ(IvaPorDefecto, 21);
    EXPECT_EQ(OpcionIva, "IGIC");
    EXPECT_EQ(FraseFinal, "Gracias");
    EXPECT_TRUE(AccesoFacturas);
    EXPECT_FALSE(AccesoInformes);
}

TEST(Parametros, NulosYVaciosSinMensaje) {
    for (const char* opcion : {"Null", "''"}) {
        EntornoPruebas e;
        e.Conecta();
        RegistroMensajes r;
        Carga(QString("insert into PARAMETROS values (Null, 16, %1, Null, 's', 'N')").arg(opcion));
        EXPECT_EQ(r.cuenta(), 0) << opcion;
        EXPECT_EQ(PalabraClave, "");
        EXPECT_EQ(OpcionIva, "IVA");
        EXPECT_EQ(FraseFinal, "");
        EXPECT_FALSE(AccesoFacturas);  // only "S" counts
        EXPECT_EQ(IvaPorDefecto, 16);
    }
}

TEST(Parametros, FallosMuestranDosMensajesYSigue) {
    const struct {
        const char* caso;
        QString insercion;
        QString error;
        bool soloArchivo;  // a server refuses to store the value at all
    } casos[] = {
        {"IVA nulo", "insert into PARAMETROS values (Null, Null, 'IGIC', 'F', 'S', 'S')", "Uso no válido de Null", false},
        {"acceso nulo", "insert into PARAMETROS values (Null, 21, 'IGIC', 'F', Null, 'S')", "Uso no válido de Null", false},
        {"IVA no numérico", "insert into PARAMETROS values (Null, 'veinte', 'IGIC', 'F', 'S', 'S')",
         "No coinciden los tipos", true},
        {"clave fuera de rango", "insert into PARAMETROS values ('" + QString(34, ' ') + "', 21, 'IGIC', 'F', 'S', 'S')",
         "", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        if (c.soloArchivo && PruebasEnServidor())
            continue;
        EntornoPruebas e;
        e.Conecta();
        RegistroMensajes r;
        Carga(c.insercion);
        ASSERT_EQ(r.cuenta(), 2);
        EXPECT_EQ(r.mostrados()[0].texto, kAviso);
        EXPECT_TRUE(r.mostrados()[1].texto.startsWith("El error concreto fue: " + c.error))
            << r.mostrados()[1].texto.toStdString();
        for (const Mensaje& m : r.mostrados()) {
            EXPECT_EQ(m.icono, Icono::Ninguno);
            EXPECT_EQ(m.botones, Botones::Aceptar);
            EXPECT_EQ(m.titulo, "Fiscalino");
        }
        // The failed item keeps its value from before; the others load.
        EXPECT_EQ(OpcionIva, "IGIC");
        EXPECT_EQ(FraseFinal, "F");
        EXPECT_TRUE(AccesoInformes);
    }
}

TEST(Parametros, ColumnaOpcionIvaQueFalta) {
    EntornoPruebas e;
    e.Conecta();
    Conexion->Ejecutar("drop table PARAMETROS");
    Conexion->Ejecutar("create table PARAMETROS (PALABRA_CLAVE varchar(50), IVA smallint, FRASE_FINAL text, "
                       "ACCESO_FACTURAS char(1), ACCESO_INFORMES char(1))");
    RegistroMensajes r;
    Carga("insert into PARAMETROS values (Null, 21, 'Fin', 'S', 'S')");
    ASSERT_EQ(r.cuenta(), 2);
    EXPECT_EQ(r.mostrados()[0].texto, kAviso);
    EXPECT_TRUE(r.mostrados()[1].texto.contains("OPCION_IVA"));
    EXPECT_EQ(OpcionIva, "IVA");
    EXPECT_EQ(IvaPorDefecto, 21);
    EXPECT_EQ(FraseFinal, "Fin");
    EXPECT_TRUE(AccesoFacturas);
}
