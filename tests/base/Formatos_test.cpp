#include "ApoyoPruebas.h"

#include "base/Formatos.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(Formatos, Importe) {
    const struct {
        double v;
        const char* texto;
    } casos[] = {
        {1234.5, "1.234,50"}, {0, "0,00"},        {-0.001, "0,00"},        {0.005, "0,01"},
        {-0.005, "-0,01"},    {2.675, "2,68"},    {1.005, "1,01"},         {-1234.5, "-1.234,50"},
        {999.995, "1.000,00"}, {1234567.891, "1.234.567,89"}, {100, "100,00"}, {1e15, "1.000.000.000.000.000,00"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormatoImporte(c.v), QString::fromUtf8(c.texto)) << c.v;
}

TEST(Formatos, DosDecimalesEnteroYTextoNumero) {
    EXPECT_EQ(FormatoDosDecimales(1000), "1000,00");
    EXPECT_EQ(FormatoDosDecimales(9.345794392523365), "9,35");
    EXPECT_EQ(FormatoDosDecimales(-110.005), "-110,01");
    // The number is the one the text shows.
    for (const double v : {1.005, -110.005, 2.675, -0.001, 1234567.891, 9.345794392523365})
        EXPECT_EQ(RedondeaDosDecimales(v), LeeNumero(FormatoDosDecimales(v)).value()) << v;
    EXPECT_FALSE(std::signbit(RedondeaDosDecimales(-0.001)));

    const struct {
        double v;
        const char* texto;
    } enteros[] = {{21, "21"}, {20.5, "21"}, {-20.5, "-21"}, {0.49, ""}, {-0.4, ""}, {0.5, "1"}, {-190.909, "-191"},
                   {12345.4, "12345"}};
    for (const auto& c : enteros)
        EXPECT_EQ(FormatoEntero(c.v), QString::fromUtf8(c.texto)) << c.v;

    const struct {
        double v;
        const char* texto;
    } planos[] = {{121 - 21, "100"},   {100.50 - 17.44, "83,06"}, {-110, "-110"},         {0, "0"},
                  {0.1 + 0.2, "0,3"},  {1.0 / 3, "0,333333333333333"}, {123456789012.5, "123456789012,5"},
                  {1e-5, "0,00001"},   {1e16, "10000000000000000"}};
    for (const auto& c : planos)
        EXPECT_EQ(TextoNumero(c.v), QString::fromUtf8(c.texto)) << c.v;
}

TEST(Formatos, LeeNumero) {
    const struct {
        const char* texto;
        std::optional<double> v;
    } casos[] = {
        {"1.234,56", 1234.56}, {"121", 121},     {"0.00", 0},      {"-17,44", -17.44}, {" 21 ", 21},
        {",5", 0.5},           {"1.000.000", 1e6}, {"+3", 3},       {"", std::nullopt}, {"abc", std::nullopt},
        {"12,3,4", std::nullopt}, {"1e5", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt},
        {"1 234", std::nullopt},
    };
    for (const auto& c : casos) {
        auto v = LeeNumero(QString::fromUtf8(c.texto));
        ASSERT_EQ(v.has_value(), c.v.has_value()) << c.texto;
        if (v)
            EXPECT_DOUBLE_EQ(*v, *c.v) << c.texto;
    }
}

TEST(Formatos, LeeFecha) {
    const struct {
        const char* texto;
        QDate fecha;  // invalid: not a date
    } casos[] = {
        {"06/12/2007", {2007, 12, 6}}, {"6/12/07", {2007, 12, 6}},  {"06-12-2007", {2007, 12, 6}},
        {"6.12.2007", {2007, 12, 6}},  {"1/2/07", {2007, 2, 1}},    {"1-2-07", {2007, 2, 1}},
        {"1/1/29", {2029, 1, 1}},      {"1/1/30", {1930, 1, 1}},    {"1/1/99", {1999, 1, 1}},
        {"1/1/7", {2007, 1, 1}},       {"29/02/2008", {2008, 2, 29}}, {"30/02/2008", {}},
        {"29/02/2007", {}},            {"31/04/2007", {}},          {"13/13/2007", {}},
        {"0/1/2007", {}},              {"01/01/0000", {}},          {"2007-12-06", {}},
        {"", {}},                      {"hoy", {}},                 {"1/2", {}},
    };
    for (const auto& c : casos) {
        auto f = LeeFecha(QString::fromUtf8(c.texto));
        ASSERT_EQ(f.has_value(), c.fecha.isValid()) << c.texto;
        if (f)
            EXPECT_EQ(*f, c.fecha) << c.texto;
    }
}

TEST(Formatos, Fechas) {
    EXPECT_EQ(EscribeFecha(QDate(2007, 2, 1)), "01/02/2007");
    EXPECT_EQ(FechaCompacta(QDate(2026, 12, 6)), "061226");
    EXPECT_EQ(FechaCompacta(QDate(2000, 1, 9)), "090100");
    EXPECT_EQ(FechaLarga(QDate(2008, 3, 3)), "Lunes, 3 de Marzo de 2008");
    EXPECT_EQ(FechaLarga(QDate(2026, 12, 6)), "Domingo, 6 de Diciembre de 2026");
    EXPECT_EQ(FechaLarga(QDate(2008, 1, 16)), QString::fromUtf8("Miércoles, 16 de Enero de 2008"));
    EXPECT_EQ(FechaLarga(QDate(2008, 9, 13)), QString::fromUtf8("Sábado, 13 de Septiembre de 2008"));
    EXPECT_EQ(SumaVacia, "0.00");
}

// Cents are what the amount shows: summing them gives what summing the shown amounts gives.
TEST(Formatos, Centimos) {
    const struct {
        double v;
        qint64 centimos;
        const char* texto;
    } casos[] = {
        {1234.5, 123450, "1.234,50"}, {0, 0, "0,00"},         {-0.001, 0, "0,00"},     {0.005, 1, "0,01"},
        {-0.005, -1, "-0,01"},        {1.005, 101, "1,01"},   {2.675, 268, "2,68"},    {83.06, 8306, "83,06"},
        {-1234.5, -123450, "-1.234,50"}, {999.995, 100000, "1.000,00"}, {0.1 + 0.2, 30, "0,30"},
        {1e15, 100000000000000000, "1.000.000.000.000.000,00"}, {0.0024, 0, "0,00"}, {-0.0076, -1, "-0,01"},
        {0.0074999, 1, "0,01"}, {12345678.904, 1234567890, "12.345.678,90"}, {1e10 + 0.006, 1000000000001, "10.000.000.000,01"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Centimos(c.v), c.centimos) << c.v;
        EXPECT_EQ(FormatoCentimos(c.centimos), QString::fromUtf8(c.texto)) << c.v;
        EXPECT_EQ(FormatoCentimos(Centimos(c.v)), FormatoImporte(c.v)) << c.v;
    }
    EXPECT_EQ(FormatoCentimos(-5), "-0,05");
    EXPECT_EQ(FormatoCentimos(std::numeric_limits<qint64>::min()), "-92.233.720.368.547.758,08");
}
