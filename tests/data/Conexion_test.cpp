#include "ApoyoPruebas.h"

#include "data/BaseDatos.h"
#include "reports/Listado.h"

#include <gtest/gtest.h>

TEST(Conexion, ListadoSeEjecuta) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("P", "F-7", "06/12/2007", "21,00", "121", "100", "21");
    e.InsertaFactura("C", "C-1", "06/12/2007", "1.234,50", "7.000,00");
    e.InsertaFactura("C", "C-2", "07/12/2007", "10", "110");
    auto rs = Conexion->AbrirRegistros(ConsultaListado("01/12/2007", "31/12/2007"));
    ASSERT_EQ(rs->NumFilas(), 2);
    auto filas = FilasListado(*rs);
    EXPECT_EQ(filas[0].fecha, QDate(2007, 12, 6));
    EXPECT_DOUBLE_EQ(*filas[0].ivaC, 21.0);
    EXPECT_DOUBLE_EQ(*filas[0].ivaV, 1234.5);
    EXPECT_FALSE(filas[1].ivaC.has_value());
    EXPECT_DOUBLE_EQ(*filas[1].totalV, 110.0);
}
