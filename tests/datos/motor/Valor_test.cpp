#include "ApoyoPruebas.h"

#include "datos/motor/ErrorBD.h"
#include "datos/motor/Valor.h"

#include <gtest/gtest.h>

TEST(Valor, TextoRegional) {
    EXPECT_EQ(Valor::Nulo().Texto(), "");
    EXPECT_EQ(Valor::DeEntero(21).Texto(), "21");
    EXPECT_EQ(Valor::DeDecimal(121).Texto(), "121");
    EXPECT_EQ(Valor::DeDecimal(83.06).Texto(), "83,06");
    EXPECT_EQ(Valor::DeDecimal(-1234.5).Texto(), "-1234,5");
    EXPECT_EQ(Valor::DeFecha(QDate(2007, 12, 6)).Texto(), "06/12/2007");
    EXPECT_EQ(Valor::DeTexto("a'b").Texto(), "a'b");
}

TEST(Valor, ConversionesYFallos) {
    EXPECT_DOUBLE_EQ(Valor::DeTexto("1.234,56").Numero(), 1234.56);
    EXPECT_EQ(Valor::DeTexto("6/12/07").Fecha(), QDate(2007, 12, 6));
    EXPECT_EQ(Valor::DeTexto("2007-12-06").Fecha(), QDate(2007, 12, 6));
    const struct {
        const char* caso;
        std::function<void()> f;
        int numero;
    } fallos[] = {
        {"nulo como número", [] { Valor::Nulo().Numero(); }, 94},
        {"nulo como fecha", [] { Valor::Nulo().Fecha(); }, 94},
        {"texto como número", [] { Valor::DeTexto("12,3,4").Numero(); }, 13},
        {"texto como fecha", [] { Valor::DeTexto("30/02/2008").Fecha(); }, 13},
        {"fecha como número", [] { Valor::DeFecha(QDate(2007, 1, 1)).Numero(); }, 13},
        {"número como fecha", [] { Valor::DeDecimal(5).Fecha(); }, 13},
    };
    for (const auto& c : fallos) {
        try {
            c.f();
            ADD_FAILURE() << c.caso;
        } catch (const ErrorBD& e) {
            EXPECT_EQ(e.numero(), c.numero) << c.caso;
            EXPECT_FALSE(e.descripcion().isEmpty());
        }
    }
}
