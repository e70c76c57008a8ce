#include "ApoyoPruebas.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/principal/AcercaDeLogica.h"
#include "dominio/principal/InicioMDILogica.h"
#include "dominio/principal/MenuLogica.h"

#include <gtest/gtest.h>

struct CasoMenu {
    double H;
    double alto, titulo, salirArriba;
};

class PosicionMenuTest : public ::testing::TestWithParam<CasoMenu> {};

TEST_P(PosicionMenuTest, AlturaYControlesDeAbajo) {
    const CasoMenu c = GetParam();
    const PosicionMenu p = CalculaPosicionMenu(c.H, 9435, 360, 1620, 765);
    EXPECT_EQ(p.alto, c.alto);
    EXPECT_EQ(p.tituloArriba, c.titulo);
    EXPECT_EQ(p.salirArriba, c.salirArriba);
    EXPECT_EQ(p.salirIzquierda, 9435 - 1640);
}

INSTANTIATE_TEST_SUITE_P(Alturas, PosicionMenuTest,
                         ::testing::Values(CasoMenu{11100, 9800, 9420, 9015},   // the default window
                                           CasoMenu{6900, 5600, 5220, 4815},    // the design size
                                           CasoMenu{1300, 0, -380, -785},       // just the margin
                                           CasoMenu{1299, 0, -380, -785},       // below: never negative
                                           CasoMenu{0, 0, -380, -785},
                                           CasoMenu{1301, 1, -379, -784}));

TEST(AcercaDe, LineaDeVersion) {
    EXPECT_EQ(LineaVersion(1, 0), QStringLiteral("Versión 1.0"));
    EXPECT_EQ(LineaVersion(2, 15), QStringLiteral("Versión 2.15"));
    EXPECT_EQ(LineaVersion(IdentidadPrograma().versionMayor, IdentidadPrograma().versionMenor),
              QStringLiteral("Versión 1.0"));
}

TEST(AcercaDe, EnlacesDeLaIdentidad) {
    const Identidad& id = IdentidadPrograma();
    EXPECT_EQ(id.titulo, QStringLiteral("Fiscalino"));
    EXPECT_EQ(id.enlaceCorreo, QStringLiteral("mailto:") + id.correo);
    EXPECT_TRUE(id.web.startsWith(QStringLiteral("https://")));
    EXPECT_FALSE(id.autor.isEmpty());
}

TEST(EstadoVentana, SoloTresEstados) {
    EXPECT_EQ(EstadoValido(0), 0);
    EXPECT_EQ(EstadoValido(1), 1);
    EXPECT_EQ(EstadoValido(2), 2);
    EXPECT_EQ(EstadoValido(3), 0);
    EXPECT_EQ(EstadoValido(-1), 0);
}
