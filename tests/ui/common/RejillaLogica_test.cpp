#include "ui/common/RejillaLogica.h"

#include <gtest/gtest.h>

TEST(Rejilla, AlineacionPorElPrefijoDelNombre) {
    const struct {
        const char* campo;
        Qt::Alignment a;
    } casos[] = {
        {"ID", Qt::AlignLeft},          {"COD_FACTURA", Qt::AlignRight},
        {"FECHA_FACTURA", Qt::AlignHCenter},  {"IMPORTE_NETO", Qt::AlignRight},
        {"IMPORTE_IVA", Qt::AlignRight},   {"IMPORTE_TOTAL", Qt::AlignRight},
        {"IVA", Qt::AlignLeft},         {"DESCRIPCION", Qt::AlignLeft},
        {"TIPO", Qt::AlignLeft},        {"TOTAL", Qt::AlignRight},
        {"TOTALES", Qt::AlignLeft},     {"importe_neto", Qt::AlignLeft},
        {"_IMPORTE", Qt::AlignLeft},    {"NUM_LINEA", Qt::AlignRight},
        {"CANTIDAD", Qt::AlignRight},      {"PRECIO_UNIDAD", Qt::AlignRight},
        {"FECHA", Qt::AlignHCenter},          {"", Qt::AlignLeft},
    };
    for (const auto& c : casos)
        EXPECT_EQ(AlineacionColumna(c.campo), c.a) << c.campo;
}
