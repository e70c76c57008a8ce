#include "ApoyoPruebas.h"

#include "datos/motor/Comillas.h"

#include <gtest/gtest.h>

TEST(Comillas, DoblarComillas) {
    const struct {
        QString entrada, salida;
    } casos[] = {
        {"", ""}, {"sin comillas", "sin comillas"}, {"a'b", "a''b"}, {"''", "''''"}, {"'x'", "''x''"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(DoblarComillas(c.entrada), c.salida) << c.entrada.toStdString();
}

TEST(Comillas, TextoSQL) {
    const struct {
        QString valor;
        bool esNumero;
        QString sql;
    } casos[] = {
        {"", false, "Null"},      {"", true, "Null"},       {"12", true, "12"},         {"12", false, "'12'"},
        {" ", false, "' '"},      {"a''b", false, "'a''b'"}, {"06/12/2007", false, "'06/12/2007'"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TextoSQL(c.valor, c.esNumero), c.sql) << c.valor.toStdString();
    EXPECT_EQ(TextoSQL(Valor::Nulo(), false), "Null");
    EXPECT_EQ(TextoSQL(Valor::Nulo(), true), "Null");
    EXPECT_EQ(TextoSQL(Valor::DeTexto(""), false), "Null");
    EXPECT_EQ(TextoSQL(Valor::DeDecimal(21), true), "21");
}

TEST(Comillas, ValorSQLDoblaYCita) {
    EXPECT_EQ(ValorSQL("a'b"), "'a''b'");
    EXPECT_EQ(ValorSQL("F-7"), "'F-7'");
    EXPECT_EQ(ValorSQL(""), "Null");
    EXPECT_EQ(ValorSQL("  "), "'  '");
}

TEST(Comillas, CondicionIgualSQL) {
    const struct {
        Valor valor;
        QString sql;
    } casos[] = {
        {Valor::Nulo(), "C is Null"},
        {Valor::DeTexto(""), "C = ''"},
        {Valor::DeTexto("O'Brien"), "C = 'O''Brien'"},
        {Valor::DeEntero(-21), "C = -21"},
        {Valor::DeDecimal(121), "C = 121"},
        {Valor::DeDecimal(83.06), "C = 83.060000000000002"},
        {Valor::DeFecha(QDate(2007, 12, 6)), "DateValue(C) = DateValue('06/12/2007')"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(CondicionIgualSQL("C", c.valor), c.sql);
}
