#include "dominio/listado/Listado.h"

#include "ApoyoPruebas.h"
#include "datos/BaseDatos.h"

#include <gtest/gtest.h>

namespace {

class ListadoBD : public ::testing::Test {
protected:
    EntornoPruebas entorno;

    void SetUp() override {
        entorno.Conecta();
        entorno.InsertaParametros();
        // 05/01: both sides, two paid invoices; 10/02: collected only;
        // 31/03: paid only; 01/04: outside the quarter.
        entorno.InsertaFactura("P", "P1", "05/01/2026", "21", "121");
        entorno.InsertaFactura("P", "P2", "05/01/2026", "1.000,5", "5.764,88");
        entorno.InsertaFactura("C", "C1", "05/01/2026", "42", "242");
        entorno.InsertaFactura("C", "C2", "10/02/2026", "2.100", "12.100");
        entorno.InsertaFactura("P", "P3", "31/03/2026", "7", "40,33");
        entorno.InsertaFactura("C", "C3", "01/04/2026", "1", "2");
    }

    std::vector<FilaListado> Filas(const QString& desde, const QString& hasta) {
        auto rs = Conexion->AbrirRegistros(ConsultaListado(desde, hasta));
        return FilasListado(*rs);
    }
};

}  // namespace

TEST_F(ListadoBD, UnaLineaPorDiaConLosDosLados) {
    const auto f = Filas(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026"));
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].fecha, QDate(2026, 1, 5));
    EXPECT_DOUBLE_EQ(*f[0].ivaC, 1021.5);
    EXPECT_DOUBLE_EQ(*f[0].totalC, 5885.88);
    EXPECT_DOUBLE_EQ(*f[0].ivaV, 42);
    EXPECT_DOUBLE_EQ(*f[0].totalV, 242);
    // collected only: the paid cells are Null
    EXPECT_EQ(f[1].fecha, QDate(2026, 2, 10));
    EXPECT_FALSE(f[1].ivaC.has_value());
    EXPECT_FALSE(f[1].totalC.has_value());
    EXPECT_DOUBLE_EQ(*f[1].totalV, 12100);
    // paid only: the collected cells are Null
    EXPECT_EQ(f[2].fecha, QDate(2026, 3, 31));
    EXPECT_DOUBLE_EQ(*f[2].totalC, 40.33);
    EXPECT_FALSE(f[2].ivaV.has_value());
    EXPECT_FALSE(f[2].totalV.has_value());
}

TEST_F(ListadoBD, LimitesDelIntervalo) {
    struct Caso {
        const char* desde;
        const char* hasta;
        size_t filas;
    } casos[] = {
        {"05/01/2026", "05/01/2026", 1},  // same day in both boxes
        {"31/03/2026", "01/01/2026", 0},  // from after to: nothing
        {"1/1/26", "1/4/26", 4},          // typed short, as F5 sends it
        {"01/01/2025", "31/12/2025", 0},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(Filas(QString::fromLatin1(c.desde), QString::fromLatin1(c.hasta)).size(), c.filas) << c.desde;
}

TEST_F(ListadoBD, UnaFechaQueNoLoEsFallaComoConversion) {
    for (const char* mala : {"99/99/2026", "01/01/2026'", "01/01/2026') or ('1'='1"}) {
        try {
            Filas(QString::fromLatin1(mala), QStringLiteral("31/03/2026"));
            ADD_FAILURE() << mala;
        } catch (const ErrorBD& e) {
            EXPECT_EQ(e.numero(), CodigoError::TipoIncorrecto) << mala << " " << e.descripcion().toStdString();
        }
    }
    // and the table is still there, whole
    EXPECT_EQ(Filas(QStringLiteral("01/01/2026"), QStringLiteral("31/12/2026")).size(), 4u);
}

TEST_F(ListadoBD, LineasDeLaEmpresa) {
    {
        auto rs = Conexion->AbrirRegistros(SqlDatosEmpresa());
        const CabeceraEmpresa c = LineasEmpresa(*rs);
        EXPECT_TRUE(c.linea1.isEmpty() && c.linea2.isEmpty() && c.linea3.isEmpty());
    }
    Conexion->Ejecutar(QStringLiteral("insert into DATOS_EMPRESA (NOMBRE) values ('Ferretería O''Donnell')"));
    auto rs = Conexion->AbrirRegistros(SqlDatosEmpresa());
    const CabeceraEmpresa c = LineasEmpresa(*rs);
    EXPECT_EQ(c.linea1, QStringLiteral("Ferretería O'Donnell"));
    EXPECT_TRUE(c.linea2.isEmpty());
    EXPECT_EQ(c.linea3, QStringLiteral("  "));
}
