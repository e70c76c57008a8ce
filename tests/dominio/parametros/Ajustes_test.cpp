#include "ApoyoPruebas.h"

#include "dominio/parametros/Ajustes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(Ajustes, SeccionConfigBajoElNombreDelPrograma) {
    EntornoPruebas e;
    EXPECT_EQ(LeeAjuste("Version", "1.0"), "1.0");
    EXPECT_FALSE(ExisteAjuste("Version"));
    GuardaAjuste("Version", "1.1");
    EXPECT_TRUE(ExisteAjuste("Version"));
    EXPECT_EQ(LeeAjuste("Version", "1.0"), "1.1");
    QFile f(e.Carpeta() + "/ajustes/Fiscalino.ini");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString ini = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(ini.contains("[Config]\nVersion=1.1")) << ini.toStdString();
}

TEST(Ajustes, EstadoVentanaPorDefecto) {
    EntornoPruebas e;
    const EstadoVentana v = LeeEstadoVentana();
    EXPECT_EQ(v.estado, 0);
    EXPECT_EQ(v.ancho, 13750);
    EXPECT_EQ(v.alto, 11100);
}

TEST(Ajustes, ValoresQueNoSonNumeros) {
    const struct {
        const char* estado;
        const char* ancho;
        int estadoLeido;
        double anchoLeido;
    } casos[] = {{"abc", "ancho", 0, 13750}, {"2", "9.000", 2, 9000}, {"1", "12000,5", 1, 12000.5},
                 {"7", "", 0, 13750},        {"-1", "1e4", 0, 13750}, {"1,5", " 8000 ", 0, 8000}};
    for (const auto& c : casos) {
        EntornoPruebas e;
        GuardaAjuste("Estado", c.estado);
        GuardaAjuste("Width", c.ancho);
        const EstadoVentana v = LeeEstadoVentana();
        EXPECT_EQ(v.estado, c.estadoLeido) << c.estado;
        EXPECT_EQ(v.ancho, c.anchoLeido) << c.ancho;
        EXPECT_EQ(v.alto, 11100);
    }
}

TEST(Ajustes, GuardaEstadoVentana) {
    EntornoPruebas e;
    GuardaEstadoVentana({2, 13750.5, 9876.123456789});
    EXPECT_EQ(LeeAjuste("Estado", ""), "2");
    EXPECT_EQ(LeeAjuste("Width", ""), "13750,5");
    EXPECT_EQ(LeeAjuste("Height", ""), "9876,123");
    const EstadoVentana v = LeeEstadoVentana();
    EXPECT_EQ(v.estado, 2);
    EXPECT_EQ(v.ancho, 13750.5);
}

