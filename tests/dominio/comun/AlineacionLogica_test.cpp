#include "dominio/comun/AlineacionLogica.h"

#include <gtest/gtest.h>

TEST(Rejilla, AlineacionPorElPrefijoDelNombre) {
    const struct {
        const char* campo;
        Alineacion a;
    } casos[] = {
        {"ID", Alineacion::Izquierda},          {"COD_FACTURA", Alineacion::Derecha},
        {"FECHA_FACTURA", Alineacion::Centro},  {"IMPORTE_NETO", Alineacion::Derecha},
        {"IMPORTE_IVA", Alineacion::Derecha},   {"IMPORTE_TOTAL", Alineacion::Derecha},
        {"IVA", Alineacion::Izquierda},         {"DESCRIPCION", Alineacion::Izquierda},
        {"TIPO", Alineacion::Izquierda},        {"TOTAL", Alineacion::Derecha},
        {"TOTALES", Alineacion::Izquierda},     {"importe_neto", Alineacion::Izquierda},
        {"_IMPORTE", Alineacion::Izquierda},    {"NUM_LINEA", Alineacion::Derecha},
        {"CANTIDAD", Alineacion::Derecha},      {"PRECIO_UNIDAD", Alineacion::Derecha},
        {"FECHA", Alineacion::Centro},          {"", Alineacion::Izquierda},
    };
    for (const auto& c : casos)
        EXPECT_EQ(AlineacionColumna(c.campo), c.a) << c.campo;
    EXPECT_EQ(static_cast<int>(Alineacion::Derecha), 1);
    EXPECT_EQ(static_cast<int>(Alineacion::Centro), 2);
}
