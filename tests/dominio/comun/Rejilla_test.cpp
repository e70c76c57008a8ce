#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "dominio/comun/RejillaLogica.h"

#include <gtest/gtest.h>

namespace {
QVector<ColumnaRejilla> Columnas() {
    return {{"ID", "Id", Qt::AlignLeft, QString()},
            {"FECHA_FACTURA", "Fecha", Qt::AlignHCenter, QString()},
            {"IMPORTE_TOTAL", "Total", Qt::AlignRight, FormatoMiles},
            {"IVA", "IVA", Qt::AlignRight, QString()},
            {"NO_EXISTE", "Nada", Qt::AlignLeft, QString()}};
}
}  // namespace

TEST(Rejilla, ModeloEscribeLasCeldasDelResultado) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("P", "A", "06/12/2007", "21", "1234,5", "", "21");
    e.InsertaFactura("P", "B", "07/12/2007", "", "", "", "");
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from FACTURAS order by COD_FACTURA"));
    ModeloRegistros m(Columnas());
    EXPECT_EQ(m.rowCount(), 0);
    m.EstableceRegistros(rs.get());
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), "06/12/2007");
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), "1.234,50");
    EXPECT_EQ(m.data(m.index(0, 3)).toString(), "21");
    EXPECT_EQ(m.data(m.index(0, 4)).toString(), "");  // a field the result lacks
    EXPECT_EQ(m.data(m.index(1, 2)).toString(), "");  // Null
    EXPECT_EQ(m.TextoCampo(1, "COD_FACTURA"), "B");
    EXPECT_EQ(m.TextoCampo(5, "COD_FACTURA"), "");
    EXPECT_EQ(m.data(m.index(0, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m.flags(m.index(0, 0)) & Qt::ItemIsSelectable);
    m.EstableceRegistros(nullptr);
    EXPECT_EQ(m.rowCount(), 0);
}

TEST(Rejilla, AjustesDeColumnaPorRol) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaFactura("C", "A", "06/12/2007", "21", "1234,5");
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select * from FACTURAS"));
    ModeloRegistros m(Columnas());
    m.EstableceRegistros(rs.get());
    int cabecera = 0, datos = 0;
    QObject::connect(&m, &QAbstractItemModel::headerDataChanged, [&] { ++cabecera; });
    QObject::connect(&m, &QAbstractItemModel::dataChanged, [&] { ++datos; });
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, RolRejilla::Campo).toString(), "FECHA_FACTURA");
    ASSERT_TRUE(m.setHeaderData(2, Qt::Horizontal, QString(), RolRejilla::Formato));
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), "1234,5");
    ASSERT_TRUE(m.setHeaderData(2, Qt::Horizontal, int(Qt::AlignLeft), RolRejilla::Alineacion));
    EXPECT_EQ(m.data(m.index(0, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    ASSERT_TRUE(m.setHeaderData(3, Qt::Horizontal, QStringLiteral("IGIC")));
    EXPECT_EQ(m.headerData(3, Qt::Horizontal).toString(), "IGIC");
    EXPECT_EQ(cabecera, 3);
    EXPECT_EQ(datos, 2);
    EXPECT_FALSE(m.setHeaderData(9, Qt::Horizontal, QStringLiteral("x")));
    EXPECT_FALSE(m.setHeaderData(0, Qt::Vertical, QStringLiteral("x")));
}

TEST(Rejilla, RepartePixelesEnProporcion) {
    const struct {
        QVector<int> anchos;
        int extra;
        QVector<int> r;
    } casos[] = {
        {{80, 94, 65, 33, 66, 77}, 0, {80, 94, 65, 33, 66, 77}},
        {{100, 100}, 51, {125, 126}},
        {{100, 300}, 100, {125, 375}},
        {{80, 94, 65, 33, 66, 77}, 7, {81, 95, 67, 33, 67, 79}},
        {{0, 0}, 10, {0, 0}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(RepartePixeles(c.anchos, c.extra), c.r) << c.extra;
}
