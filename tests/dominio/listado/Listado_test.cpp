#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "dominio/listado/Listado.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Listado, ConsultaListadoTextoExacto) {
    const QString d = "01/01/2007", h = "31/12/2007";
    const QStringList piezas{
        "select F.FECHA_FACTURA,",
        "       C.IVA As IMPORTE_IVA_C, C.TOTAL As IMPORTE_TOTAL_C,",
        "       V.IVA As IMPORTE_IVA_V, V.TOTAL As IMPORTE_TOTAL_V",
        "  from (",
        "         (select distinct FECHA_FACTURA",
        "            from FACTURAS",
        "           where DateValue(FECHA_FACTURA) Between DateValue('", d, "') and DateValue('", h, "')",
        "         ) F left outer join",
        "         (select FECHA_FACTURA, Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL",
        "            from FACTURAS",
        "           where TIPO = 'P'",
        "             and DateValue(FECHA_FACTURA) Between DateValue('", d, "') and DateValue('", h, "')",
        "           group by FECHA_FACTURA",
        "         ) C on F.FECHA_FACTURA = C.FECHA_FACTURA",
        "       ) left outer join ",
        "       (select FECHA_FACTURA, Sum(IMPORTE_IVA) As IVA, Sum(IMPORTE_TOTAL) As TOTAL",
        "          from FACTURAS",
        "         where TIPO = 'C'",
        "           and DateValue(FECHA_FACTURA) Between DateValue('", d, "') and DateValue('", h, "')",
        "         group by FECHA_FACTURA",
        "       ) V on F.FECHA_FACTURA = V.FECHA_FACTURA",
        " where DateValue(F.FECHA_FACTURA) Between DateValue('", d, "') and DateValue('", h, "')",
        " order by F.FECHA_FACTURA"};
    ASSERT_EQ(piezas.size(), 39);
    EXPECT_EQ(ConsultaListado(d, h), piezas.join(""));
    // The box texts go in exactly as typed.
    EXPECT_TRUE(ConsultaListado("1/2/07", "x").contains("DateValue('1/2/07') and DateValue('x')"));
}

TEST(Listado, CabeceraYTitulo) {
    EntornoPruebas e;
    e.Conecta();
    auto vacia = Conexion->AbrirRegistros(SqlDatosEmpresa());
    const CabeceraEmpresa sin = LineasEmpresa(*vacia);
    EXPECT_EQ(sin.linea1, "");
    EXPECT_EQ(sin.linea2, "");
    EXPECT_EQ(sin.linea3, "");

    Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE) values ('Ferretería O''Neill')");
    auto soloNombre = Conexion->AbrirRegistros(SqlDatosEmpresa());
    const CabeceraEmpresa n = LineasEmpresa(*soloNombre);
    EXPECT_EQ(n.linea1, "Ferretería O'Neill");
    EXPECT_EQ(n.linea2, "");
    EXPECT_EQ(n.linea3, "  ");

    Conexion->Ejecutar("update DATOS_EMPRESA set DIRECCION = 'C/ Mayor, 1', COD_POSTAL = '28001', "
                       "LOCALIDAD = 'Madrid', PROVINCIA = 'Madrid'");
    const CabeceraEmpresa c = LineasEmpresa(*Conexion->AbrirRegistros(SqlDatosEmpresa()));
    EXPECT_EQ(c.linea2, "C/ Mayor, 1");
    EXPECT_EQ(c.linea3, "28001 Madrid Madrid");

    EXPECT_EQ(SqlDatosEmpresa(), "select * from DATOS_EMPRESA");
    EXPECT_EQ(LineaTitulo("01/01/2007", "31/03/2007"), "entre las fechas 01/01/2007  y  31/03/2007");
}

TEST(Listado, FilasSinLasColumnasDelListado) {
    const auto rs = Registros::Constructor(QStringList{"FECHA_FACTURA", "IMPORTE_IVA_C"}).Termina();
    EXPECT_THROW(FilasListado(*rs), ErrorBD);
    const auto vacio = Registros::Constructor(QStringList{"FECHA_FACTURA", "IMPORTE_IVA_C", "IMPORTE_TOTAL_C",
                                                          "IMPORTE_IVA_V", "IMPORTE_TOTAL_V"})
                           .Termina();
    EXPECT_TRUE(FilasListado(*vacio).empty());
}

TEST(Listado, CarpetaParaGuardar) {
    QTemporaryDir casa;
    const QString documentos = casa.filePath("Documentos");
    EXPECT_EQ(CarpetaParaGuardar(documentos, casa.path()), casa.path());
    EXPECT_EQ(CarpetaParaGuardar(QString(), casa.path()), casa.path());
    ASSERT_TRUE(QDir().mkdir(documentos));
    EXPECT_EQ(CarpetaParaGuardar(documentos, casa.path()), documentos);
}
