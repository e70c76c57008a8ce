#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "dominio/facturas/Trimestres.h"

#include <gtest/gtest.h>

TEST(Trimestres, FechasTrimestre) {
    const char* esperado[4][2] = {
        {"01/01/2007", "31/03/2007"}, {"01/04/2007", "30/06/2007"}, {"01/07/2007", "30/09/2007"}, {"01/10/2007", "31/12/2007"}};
    for (int i = 0; i < 4; ++i) {
        auto r = FechasTrimestre(i, "2007");
        ASSERT_TRUE(r);
        EXPECT_EQ(r->desde, esperado[i][0]);
        EXPECT_EQ(r->hasta, esperado[i][1]);
    }
    EXPECT_FALSE(FechasTrimestre(-1, "2007"));
    EXPECT_FALSE(FechasTrimestre(4, "2007"));
    // The year goes in unchanged.
    EXPECT_EQ(FechasTrimestre(1, "07")->hasta, "30/06/07");
    EXPECT_EQ(NombresTrimestre, QStringList({"1º Trimestre", "2º Trimestre", "3º Trimestre", "4º Trimestre"}));
}

TEST(Trimestres, TrimestreDeFecha) {
    const struct {
        QDate d;
        int t;
    } casos[] = {{{2007, 1, 1}, 0},  {{2007, 3, 31}, 0},  {{2007, 4, 1}, 1},  {{2007, 6, 30}, 1},
                 {{2007, 7, 1}, 2},  {{2007, 9, 30}, 2},  {{2007, 10, 1}, 3}, {{2007, 12, 31}, 3},
                 {{2008, 2, 29}, 0}, {{2008, 5, 15}, 1},  {{2008, 8, 15}, 2}, {{2008, 11, 15}, 3}};
    for (const auto& c : casos)
        EXPECT_EQ(TrimestreDeFecha(c.d), c.t) << c.d.toString().toStdString();
}

// The return and the books propose the quarter just ended, never the one under way.
TEST(Trimestres, UltimoTrimestreTerminado) {
    const struct {
        QDate hoy;
        const char* anio;
        int trimestre;
    } casos[] = {
        {QDate(2026, 1, 1), "2025", 3},  {QDate(2026, 3, 31), "2025", 3}, {QDate(2026, 4, 1), "2026", 0},
        {QDate(2026, 7, 20), "2026", 1}, {QDate(2026, 10, 1), "2026", 2}, {QDate(2026, 12, 31), "2026", 2},
    };
    for (const auto& c : casos) {
        const PeriodoPropuesto p = UltimoTrimestreTerminado(c.hoy);
        EXPECT_EQ(p.anio, c.anio) << c.hoy.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(p.trimestre, c.trimestre) << c.hoy.toString(Qt::ISODate).toStdString();
    }
}

TEST(Trimestres, CompletaAnioYNormalizaFecha) {
    const struct {
        const char* entrada;
        const char* salida;
    } anios[] = {{"7", "2007"}, {"29", "2029"}, {"30", "1930"}, {"99", "1999"}, {"2008", "2008"}, {"", ""},
                 {"0000", "0000"}, {"0", "2000"}};
    for (const auto& c : anios)
        EXPECT_EQ(CompletaAnio(c.entrada), c.salida) << c.entrada;

    EXPECT_EQ(NormalizaFecha("1/2/07"), QString("01/02/2007"));
    EXPECT_EQ(NormalizaFecha(""), QString(""));
    EXPECT_EQ(NormalizaFecha("31/02/2007"), std::nullopt);
    EXPECT_EQ(NormalizaFecha("31.12.99"), QString("31/12/1999"));
}

TEST(Trimestres, Sentencias) {
    EXPECT_EQ(SqlListaFacturas("P", "01/01/2007", "31/03/2007"),
              "select *  from FACTURAS where TIPO = 'P'   and DateValue(FECHA_FACTURA) Between "
              "DateValue('01/01/2007') and DateValue('31/03/2007') order by FECHA_FACTURA, COD_FACTURA");
    EXPECT_EQ(SqlSumasFacturas("C", "01/04/2007", "30/06/2007"),
              "select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)  from FACTURAS where TIPO = 'C'   and "
              "DateValue(FECHA_FACTURA) Between DateValue('01/04/2007') and DateValue('30/06/2007')");
    EXPECT_EQ(PrimerIndiceSuma("C"), 2);
    EXPECT_EQ(PrimerIndiceSuma("P"), 0);
    EXPECT_EQ(PrimerIndiceSuma("x"), 0);
}

TEST(Trimestres, DiferenciasDeLasSumasMostradas) {
    const struct {
        QStringList sumas, diferencias;
    } casos[] = {
        {{"0.00", "0.00", "0.00", "0.00"}, {"0,00", "0,00"}},
        {{"0.00", "0.00", "1.234,50", "7.000,00"}, {"1.234,50", "7.000,00"}},
        {{"1.234,50", "7.000,00", "0.00", "0.00"}, {"-1.234,50", "-7.000,00"}},
        // Sums shown rounded: 0,01 - 0,01, not 0,014 - 0,006.
        {{"0,01", "10,01", "0,01", "10,00"}, {"0,00", "-0,01"}},
        {{"1.000.000,10", "2,00", "1.000.000,20", "1,00"}, {"0,10", "-1,00"}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(CalculaDiferencias(c.sumas), c.diferencias) << c.sumas.join(" | ").toStdString();
}

TEST(Trimestres, UnApostrofeEnUnaFechaSoloFallaComoFecha) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("P", "F-1", "01/02/2007", "21", "121");
    const QString mala = "01/01/2007') or ('1'='1";
    EXPECT_TRUE(SqlListaFacturas("P", mala, "31/03/2007").contains("DateValue('01/01/2007'') or (''1''=''1')"));
    try {
        CargaLista(*Conexion, "P", mala, "31/03/2007");
        FAIL() << "a date with an apostrophe was accepted";
    } catch (const ErrorBD& err) {
        EXPECT_EQ(err.numero(), CodigoError::TipoIncorrecto);
    }
    QStringList sumas{"a", "b", "c", "d"};
    EXPECT_THROW(CalculaTotales(*Conexion, "P", "01/01/2007", mala, sumas), ErrorBD);
    EXPECT_EQ(sumas, (QStringList{"a", "b", "c", "d"}));
}
