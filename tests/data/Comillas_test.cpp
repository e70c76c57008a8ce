#include "ApoyoPruebas.h"

#include "data/Comillas.h"

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
