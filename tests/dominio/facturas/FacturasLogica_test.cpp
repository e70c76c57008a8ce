#include "dominio/facturas/FacturasLogica.h"

#include <gtest/gtest.h>

TEST(FacturasLogica, CompruebaBusqueda) {
    struct Caso {
        const char* desde;
        const char* hasta;
        Busqueda esperada;
    };
    const Caso casos[] = {
        {"01/01/2008", "31/03/2008", Busqueda::Valida},
        {"1/2/08", "31-5-2008", Busqueda::Valida},
        {"", "31/03/2008", Busqueda::FaltanFechas},
        {"01/01/2008", "", Busqueda::FaltanFechas},
        {"", "30/02/2008", Busqueda::FaltanFechas},
        {"30/02/2008", "31/03/2008", Busqueda::FechaNoValida},
        {"01/01/2008", "31/04/2008", Busqueda::FechaNoValida},
        {"01/01/0000", "31/03/0000", Busqueda::FechaNoValida},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(CompruebaBusqueda(QString::fromLatin1(c.desde), QString::fromLatin1(c.hasta)), c.esperada)
            << c.desde << " " << c.hasta;
}

TEST(FacturasLogica, TitulosConLaPalabraDelImpuesto) {
    EXPECT_EQ(TituloImporteImpuesto("IGIC"), "Importe IGIC");
    EXPECT_EQ(TituloTotalIncluido("IGIC"), "Importe Total (IGIC incluido)");
    EXPECT_EQ(TituloPorcentajeImpuesto("IGIC"), "% del IGIC");
    EXPECT_EQ(TituloDiferenciaImpuesto("IGIC"), "IGIC:");
    EXPECT_EQ(TituloNifTercero("Cobros"), "NIF Cliente");
    EXPECT_EQ(TituloNombreTercero("Pagos"), "Nombre Proveedor");
    EXPECT_EQ(TituloNifTercero(""), "NIF");
}

TEST(FacturasLogica, ColumnasDeLasRejillas) {
    const auto cols = ColumnasModeloFacturas();
    ASSERT_EQ(cols.size(), 7);
    int total = 0;
    for (int c = 1; c < 7; ++c)
        total += ColumnasRejillaFacturas[c].ancho;
    // The visible columns and a vertical scroll bar fill the grid's width.
    EXPECT_LT(total, 6480);
    EXPECT_GE(total, 6480 - 300);
    // Every caption set by the browser names a column of the grid.
    for (const AjusteColumna& a : AjustesRejillaFacturas()) {
        bool existe = false;
        for (const ColumnaRejilla& c : cols)
            existe = existe || c.titulo == a.titulo;
        EXPECT_TRUE(existe) << a.titulo.toStdString();
    }
}

TEST(FacturasLogica, RecorridoDelEditor) {
    // The invoice's seven fields, then the counterparty's country, NIF,
    // operation date and name, then "&Grabar".
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CampoSiguiente(i), i + 1);
    EXPECT_EQ(CampoSiguiente(6), CampoPais);
    EXPECT_EQ(CampoSiguiente(CampoPais), 7);
    EXPECT_EQ(CampoSiguiente(7), 8);
    EXPECT_EQ(CampoSiguiente(8), 9);
    EXPECT_EQ(CampoSiguiente(9), -1);
    EXPECT_EQ(FiltroDeCampo(0), FiltroCampo::Ninguno);
    EXPECT_EQ(FiltroDeCampo(1), FiltroCampo::Fecha);
    for (int i : {2, 3, 4})
        EXPECT_EQ(FiltroDeCampo(i), FiltroCampo::Importe);
    EXPECT_EQ(FiltroDeCampo(5), FiltroCampo::Porcentaje);
    EXPECT_EQ(FiltroDeCampo(CampoPais), FiltroCampo::Pais);
    EXPECT_EQ(FiltroDeCampo(6), FiltroCampo::Ninguno);
    EXPECT_EQ(FiltroDeCampo(7), FiltroCampo::Ninguno);
    EXPECT_EQ(FiltroDeCampo(8), FiltroCampo::Fecha);
    EXPECT_EQ(FiltroDeCampo(9), FiltroCampo::Ninguno);
}

TEST(FacturasLogica, AnioValido) {
    for (const char* a : {"2008", "8", "29", "30", "1999"})
        EXPECT_TRUE(AnioValido(QString::fromLatin1(a))) << a;
    for (const char* a : {"0000", "", "20a8"})
        EXPECT_FALSE(AnioValido(QString::fromLatin1(a))) << a;
}
