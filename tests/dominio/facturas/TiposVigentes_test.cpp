#include "dominio/facturas/TiposVigentes.h"

#include <gtest/gtest.h>

TEST(TiposVigentes, PorFechaEImpuesto) {
    const struct {
        Impuesto impuesto;
        QDate fecha;
        std::vector<qint64> tipos;
    } casos[] = {
        {Impuesto::IVA, {2022, 12, 31}, {0, 400, 1000, 2100}},
        {Impuesto::IVA, {2023, 1, 1}, {0, 400, 500, 1000, 2100}},
        {Impuesto::IVA, {2024, 9, 30}, {0, 400, 500, 1000, 2100}},
        {Impuesto::IVA, {2024, 10, 1}, {0, 200, 400, 750, 1000, 2100}},
        {Impuesto::IVA, {2024, 12, 31}, {0, 200, 400, 750, 1000, 2100}},
        {Impuesto::IVA, {2025, 1, 1}, {0, 400, 1000, 2100}},
        {Impuesto::IGIC, {2026, 7, 15}, {0, 300, 500, 700, 950, 1500, 2000}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(TiposVigentes(c.impuesto, c.fecha), c.tipos) << c.fecha.toString(Qt::ISODate).toStdString();
        EXPECT_FALSE(EsTipoVigente(c.impuesto, 900, c.fecha));
        for (qint64 t : c.tipos)
            EXPECT_TRUE(EsTipoVigente(c.impuesto, t, c.fecha));
    }
    EXPECT_EQ(ImpuestoDePalabra(" igic "), Impuesto::IGIC);
    EXPECT_EQ(ImpuestoDePalabra("IVA"), Impuesto::IVA);
    EXPECT_EQ(ImpuestoDePalabra("IPSI"), Impuesto::IVA);
    EXPECT_EQ(TipoDePorcentaje(9.5), 950);
    EXPECT_EQ(TipoDePorcentaje(21), 2100);
    EXPECT_EQ(TipoDePorcentaje(9.009), std::nullopt);
    EXPECT_EQ(TextoTipo(950), "9,5");
    EXPECT_EQ(TextoTipo(750), "7,5");
    EXPECT_EQ(TextoTipo(2100), "21");
    EXPECT_EQ(TipoPorDefecto("IGIC"), 7);
    EXPECT_EQ(TipoPorDefecto("IVA"), 21);
}

TEST(TiposVigentes, FechaDeclaracion) {
    const QDate marzo(2026, 3, 30), abril(2026, 4, 3), ninguna;
    const struct {
        bool cobro, negativa;
        QDate fecha, operacion, esperada;
    } casos[] = {
        {true, false, abril, marzo, marzo},    // a sale goes by its operation date
        {true, false, abril, ninguna, abril},  // or by its issue date
        {true, true, abril, marzo, abril},     // a rectifying sale by its issue date
        {false, false, marzo, abril, abril},   // a purchase by the later of the two
        {false, false, abril, marzo, abril},
        {false, true, marzo, abril, abril},
        {false, false, marzo, ninguna, marzo},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FechaDeclaracion(c.cobro, c.fecha, c.operacion, c.negativa), c.esperada)
            << c.cobro << c.negativa << c.fecha.toString(Qt::ISODate).toStdString();
}
