#include "dominio/declaraciones/Terceros.h"

#include "ApoyoPruebas.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/facturas/Facturas.h"

#include <gtest/gtest.h>

TEST(Terceros, CompruebaElCambio) {
    const struct {
        DatosTercero escrito;  // nombre, pais, codigoPostal
        DatosTercero guardado;
        const char* error;  // start of the reason; "" when it is kept
    } casos[] = {
        {{"  Ana   Pérez ", " es", " 28013 "}, {"Ana Pérez", "", "28013"}, ""},
        {{"Ana", "", ""}, {"Ana", "", ""}, ""},
        {{"Jean", "fr", "F-75001"}, {"Jean", "FR", "F-75001"}, ""},
        {{"", "", "28013"}, {}, "Falta el nombre"},
        {{"Ana", "", "2801"}, {}, "El código postal de España tiene 5 cifras"},
        {{"Ana", "ES", "53001"}, {}, "El código postal de España tiene 5 cifras"},
        {{"Ana", "ES", "2801A"}, {}, "El código postal de España tiene 5 cifras"},
        {{"Ana", "F1", ""}, {}, "El país se indica con su código de dos letras"},
        {{"Ana", "F", ""}, {}, "El país se indica con su código de dos letras"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.escrito.nombre.toStdString() + "/" + c.escrito.pais.toStdString() + "/" +
                     c.escrito.codigoPostal.toStdString());
        const CambioTercero r = CompruebaTercero(c.escrito);
        const QString error = QString::fromUtf8(c.error);
        EXPECT_EQ(r.error.left(error.size()), error);
        EXPECT_EQ(r.error.isEmpty(), error.isEmpty());
        if (!*c.error) {
            EXPECT_EQ(r.datos.nombre, c.guardado.nombre);
            EXPECT_EQ(r.datos.pais, c.guardado.pais);
            EXPECT_EQ(r.datos.codigoPostal, c.guardado.codigoPostal);
        }
    }
}

TEST(Terceros, BuscaPorNifONombre) {
    const FilaTercero f{"B12345674", {"Talleres Ibáñez SL", "", "28013"}};
    const struct {
        const char* texto;
        bool encuentra;
    } casos[] = {{"", true},        {"ibanez", true}, {"IBÁÑEZ", true},    {"talleres  ib", true},
                 {"b-1234", true},  {"5674", true},   {"12345678Z", false}, {"Pérez", false}};
    for (const auto& c : casos)
        EXPECT_EQ(CoincideBusqueda(f, QString::fromUtf8(c.texto)), c.encuentra) << c.texto;
}

TEST(Terceros, AvisoDelNif) {
    const struct {
        const char *nif, *pais, *aviso;
    } casos[] = {
        {"12345678Z", "", ""},
        {"12345678A", "ES", "La letra de control del NIF del tercero (12345678A) debería ser Z."},
        {"12345678A", "", "La letra de control del NIF del tercero (12345678A) debería ser Z."},
        {"FR12345678901", "FR", ""},
        {"FR12345678901", "", "El NIF del tercero (FR12345678901) no tiene la forma de un DNI, NIE o CIF."},
    };
    for (const auto& c : casos)
        EXPECT_EQ(AvisoNifTercero(c.nif, c.pais), QString::fromUtf8(c.aviso)) << c.nif;
}

// The year's invoices by the return's period rule, each counterparty once;
// the change kept, and the 347 takes it.
TEST(Terceros, ResumenYCambioEnLaBase) {
    EntornoPruebas e;
    e.Conecta();
    for (const auto& [tipo, fecha, total, nif] :
         {std::tuple{"Cobros", "10/02/2026", "4.000", "12345678Z"}, {"Pagos", "10/05/2026", "-300", "12345678Z"},
          {"Cobros", "10/05/2025", "100", "12345678Z"}, {"Pagos", "31/12/2026", "50", "B12345674"},
          {"Cobros", "10/05/2026", "5.000", ""}})
        ASSERT_EQ(GrabaFacturaNueva(*Conexion, {"F", fecha, "", total, "", "", ""}, tipo, {nif, "", "Ana Pérez", "", ""}),
                  Grabacion::Hecha);
    const std::vector<FilaTercero> r = LeeResumenTerceros(*Conexion, 2026);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].nif, "12345678Z");
    EXPECT_EQ(r[0].facturas, 2);
    EXPECT_EQ(r[0].cobrado, 400000);
    EXPECT_EQ(r[0].pagado, -30000);
    EXPECT_EQ(r[1].nif, "B12345674");
    EXPECT_EQ(r[1].facturas, 1);
    EXPECT_EQ(r[1].pagado, 5000);

    ASSERT_TRUE(GuardaTercero(*Conexion, "12345678Z", {"PÉREZ O'NEILL ANA", "", "35001"}));
    EXPECT_FALSE(GuardaTercero(*Conexion, "00000000T", {"Nadie", "", ""}));
    const Modelo347 m = LeeModelo347(*Conexion, 2026);
    ASSERT_EQ(m.filas.size(), 1u);
    EXPECT_EQ(m.filas[0].nombre, "PÉREZ O'NEILL ANA");
    EXPECT_EQ(m.filas[0].provincia, "35");
}

TEST(Modelo347Logica, TotalesPorClave) {
    Modelo347 m;
    m.filas = {{'A', "1", "", "", "", 500000, {500000, 0, 0, 0}},
               {'B', "1", "", "", "", 400000, {100000, 0, 0, 300000}},
               {'B', "2", "", "", "", -350000, {0, -350000, 0, 0}}};
    EXPECT_EQ(LineasTotales347(m),
              (QStringList{"Total clave A, 1 declarado: 5.000,00 (1T 5.000,00; 2T 0,00; 3T 0,00; 4T 0,00)",
                           "Total clave B, 2 declarados: 500,00 (1T 1.000,00; 2T -3.500,00; 3T 0,00; 4T 3.000,00)"}));
    EXPECT_EQ(LineasTotales347(Modelo347{}), QStringList{"Ningún tercero pasa de 3.005,06 € en el año."});
}
