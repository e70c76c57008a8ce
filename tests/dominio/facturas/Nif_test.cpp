#include "ApoyoPruebas.h"

#include "dominio/facturas/Nif.h"

#include <gtest/gtest.h>

TEST(Nif, SeEscribeSinSeparadoresYEnMayusculas) {
    EXPECT_EQ(NormalizaNif(" 12.345.678-z "), "12345678Z");
    EXPECT_EQ(NormalizaNif("b/1234567 4"), "B12345674");
    EXPECT_EQ(NormalizaNif("fr 12 345"), "FR12345");
    EXPECT_EQ(NormalizaNif(""), "");
}

TEST(Nif, CaracterDeControl) {
    const struct {
        const char* nif;
        ClaseNif clase;
        bool valido;
        const char* esperado;
        const char* motivo;
    } casos[] = {
        {"12345678Z", ClaseNif::Dni, true, "Z", ""},
        {"00000000T", ClaseNif::Dni, true, "T", ""},
        {"12345678A", ClaseNif::Dni, false, "Z", "la letra de control del NIF del cliente (12345678A) debería ser Z"},
        {"X1234567L", ClaseNif::Nie, true, "L", ""},
        {"Y1234567X", ClaseNif::Nie, true, "X", ""},
        {"Z1234567R", ClaseNif::Nie, true, "R", ""},
        {"Y1234567L", ClaseNif::Nie, false, "X", "la letra de control del NIF del cliente (Y1234567L) debería ser X"},
        // Companies: a digit for A, B, E and H; a letter for P, Q, R, S, N, W, K, L and M; either for the rest.
        {"B12345674", ClaseNif::Cif, true, "4", ""},
        {"B12345678", ClaseNif::Cif, false, "4", "el dígito de control del NIF del cliente (B12345678) debería ser 4"},
        {"B1234567D", ClaseNif::Cif, false, "4", "el dígito de control del NIF del cliente (B1234567D) debería ser 4"},
        {"Q2826000H", ClaseNif::Cif, true, "H", ""},
        {"Q28260008", ClaseNif::Cif, false, "H", "la letra de control del NIF del cliente (Q28260008) debería ser H"},
        {"P1234567D", ClaseNif::Cif, true, "D", ""},
        {"K1234567D", ClaseNif::Cif, true, "D", ""},
        {"G12345674", ClaseNif::Cif, true, "4 o D", ""},
        {"G1234567D", ClaseNif::Cif, true, "4 o D", ""},
        {"G1234567E", ClaseNif::Cif, false, "4 o D",
         "el carácter de control del NIF del cliente (G1234567E) debería ser 4 o D"},
        {"A00000000", ClaseNif::Cif, true, "0", ""},
        // Anything else is not a Spanish NIF: foreign, or mistyped.
        {"FR12345678901", ClaseNif::Otro, false, "",
         "el NIF del cliente (FR12345678901) no tiene la forma de un DNI, NIE o CIF"},
        {"1234567Z", ClaseNif::Otro, false, "", "el NIF del cliente (1234567Z) no tiene la forma de un DNI, NIE o CIF"},
        {"I12345674", ClaseNif::Otro, false, "", "el NIF del cliente (I12345674) no tiene la forma de un DNI, NIE o CIF"},
        {"", ClaseNif::Vacio, true, "", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nif);
        const ComprobacionNif r = CompruebaNif(c.nif);
        EXPECT_EQ(r.clase, c.clase);
        EXPECT_EQ(r.valido, c.valido);
        EXPECT_EQ(r.esperado, QString::fromUtf8(c.esperado));
        EXPECT_EQ(MotivoNif(c.nif, "cliente"), QString::fromUtf8(c.motivo));
    }
}

// The supplier's NIF is named as the supplier's.
TEST(Nif, MotivoDelProveedor) {
    EXPECT_EQ(MotivoNif("B12345678", "proveedor"), "el dígito de control del NIF del proveedor (B12345678) debería ser 4");
    EXPECT_EQ(MotivoNif("B12345674", "proveedor"), "");
}

TEST(Nif, AvisoDelEditor) {
    EXPECT_EQ(AvisoNif("12345678A"), "El NIF 12345678A no es correcto: la letra de control debería ser Z. Puede "
                                     "grabar la factura igualmente si está seguro de él.");
    EXPECT_EQ(AvisoNif("FR123"), "El NIF FR123 no tiene la forma de un DNI, NIE o CIF español. Si es un "
                                 "identificador extranjero, puede grabar la factura igualmente.");
    EXPECT_EQ(AvisoNif("12345678Z"), "");
    EXPECT_EQ(AvisoNif(""), "");
}
