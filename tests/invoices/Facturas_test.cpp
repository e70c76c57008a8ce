#include "ApoyoPruebas.h"

#include "data/BaseDatos.h"
#include "data/Valor.h"
#include "invoices/Facturas.h"

#include <gtest/gtest.h>

TEST(Facturas, CalculaImportes) {
    // {iva, total, neto, porcentaje} in, and out.
    const struct {
        Importes entrada, salida;
    } casos[] = {
        // Rule B: total and percentage, no VAT amount.
        {{"", "121", "", "21"}, {"21,00", "121", "100,00", "21"}},
        {{"", "1.210", "", "21"}, {"210,00", "1.210", "1000,00", "21"}},
        {{"", "10", "", "7"}, {"0,65", "10", "9,35", "7"}},
        {{"", "121", "", "0"}, {"0,00", "121", "121,00", "0"}},
        {{"", "12.345,67", "x", "21"}, {"2.142,64", "12.345,67", "10203,03", "21"}},
        // Rule A: total and VAT amount; it wins over a typed percentage.
        {{"21", "121", "", ""}, {"21", "121", "100", "21"}},
        {{"21", "121", "5", "4"}, {"21", "121", "100", "21"}},
        {{"17,44", "100,50", "", ""}, {"17,44", "100,50", "83,06", "21"}},
        {{"210", "100", "", ""}, {"210", "100", "-110", "-191"}},
        // A percentage below 0,5 leaves field 5 empty.
        {{"0,4", "100,4", "", "21"}, {"0,4", "100,4", "100", ""}},
        // Only the total: nothing changes.
        {{"", "121", "", ""}, {"", "121", "", ""}},
        {{"", "", "", "21"}, {"", "", "", "21"}},
        // Zero divisors and fields that are not numbers leave everything as it was.
        {{"121", "121", "3", "4"}, {"121", "121", "3", "4"}},
        {{"", "121", "3", "-100"}, {"", "121", "3", "-100"}},
        {{"abc", "121", "", "21"}, {"abc", "121", "", "21"}},
        {{"21", "1,2,1", "", ""}, {"21", "1,2,1", "", ""}},
        {{"", "121", "", "x"}, {"", "121", "", "x"}},
    };
    for (const auto& c : casos) {
        const Importes r = CalculaImportes(c.entrada);
        EXPECT_EQ(r.iva, c.salida.iva) << c.entrada.total.toStdString() << " / " << c.entrada.iva.toStdString();
        EXPECT_EQ(r.total, c.salida.total);
        EXPECT_EQ(r.neto, c.salida.neto) << c.entrada.total.toStdString() << " / " << c.entrada.iva.toStdString();
        EXPECT_EQ(r.porcentaje, c.salida.porcentaje) << c.entrada.total.toStdString();
    }
}

TEST(Facturas, CompruebaFecha) {
    const struct {
        const char* texto;
        std::optional<QString> r;
    } casos[] = {{"", QString("")},
                 {"6/12/07", QString("06/12/2007")},
                 {"06-12-2007", QString("06/12/2007")},
                 {"6/12/2007", QString("06/12/2007")},
                 {"1-2-07", QString("01/02/2007")},
                 {"30/02/2008", std::nullopt},
                 {"6/12", std::nullopt},
                 {"abc", std::nullopt}};
    for (const auto& c : casos)
        EXPECT_EQ(CompruebaFecha(c.texto), c.r) << c.texto;
}

TEST(Facturas, Tipos) {
    EXPECT_EQ(CodigoTipo("Cobros"), "C");
    EXPECT_EQ(CodigoTipo("Pagos"), "P");
    EXPECT_EQ(CodigoTipo(""), "");
    EXPECT_EQ(NombreTipo(Valor::DeTexto("C")), "Cobros");
    EXPECT_EQ(NombreTipo(Valor::DeTexto("P")), "Pagos");
    EXPECT_EQ(NombreTipo(Valor::DeTexto("c")), "Pagos");
    EXPECT_EQ(NombreTipo(Valor::Nulo()), "Pagos");
    EXPECT_EQ(LongitudesFactura, (std::array<int, 7>{50, 10, 12, 12, 12, 2, 255}));
    EXPECT_STREQ(ColumnasFactura[0], "COD_FACTURA");
    EXPECT_STREQ(ColumnasFactura[6], "DESCRIPCION");
}

TEST(Facturas, Sentencias) {
    const CamposFactura ejemplo{"F-7", "06/12/2007", "21,00", "121", "100", "21", ""};
    EXPECT_EQ(SqlInsertaFactura(ejemplo, "Pagos"),
              "insert into FACTURAS       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
              "DESCRIPCION, TIPO) values ('F-7','06/12/2007','21,00','121'       ,'100','21',Null,'P')");
    EXPECT_EQ(SqlLeeFactura("15"), "select *  from FACTURAS where ID = 15");
    EXPECT_EQ(SqlBorraFactura("15"), "delete from FACTURAS where ID = 15");
    const CamposFactura otro{"a'b", "1/2/2008", "1.234,56", "7.000", "", "21", "  "};
    EXPECT_EQ(SqlActualizaFactura(otro, "Cobros", "3"),
              "update FACTURAS   set COD_FACTURA = 'a''b'     , FECHA_FACTURA = '1/2/2008'     , IMPORTE_IVA = "
              "'1.234,56'     , IMPORTE_TOTAL = '7.000'     , IMPORTE_NETO = Null     , IVA = '21'     , DESCRIPCION "
              "= '  '     , TIPO = 'C' where ID = 3");
    EXPECT_EQ(SqlInsertaFactura({"", "", "", "", "", "", "d'e"}, ""),
              "insert into FACTURAS       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
              "DESCRIPCION, TIPO) values (Null,Null,Null,Null       ,Null,Null,'d''e',Null)");
}

TEST(Facturas, ActualizacionSoloSobreLoLeido) {
    const CamposFactura campos{"F-7", "06/12/2007", "21,00", "121", "100", "21", ""};
    const FilaFactura leida{Valor::DeTexto("F'7"), Valor::DeFecha(QDate(2007, 12, 6)), Valor::DeDecimal(21),
                            Valor::DeDecimal(121), Valor::Nulo(), Valor::DeEntero(21), Valor::DeTexto(""),
                            Valor::DeTexto("P")};
    EXPECT_EQ(SqlActualizaFacturaSinCambios(campos, "Pagos", "3", leida),
              SqlActualizaFactura(campos, "Pagos", "3") +
                  "   and COD_FACTURA = 'F''7'   and DateValue(FECHA_FACTURA) = DateValue('06/12/2007')"
                  "   and IMPORTE_IVA = 21   and IMPORTE_TOTAL = 121   and IMPORTE_NETO is Null   and IVA = 21"
                  "   and DESCRIPCION = ''   and TIPO = 'P'");
}

namespace {

// The shared connection is one instance of the program; `otra` is a second
// one on the same file.
class DosInstancias : public ::testing::Test {
protected:
    void SetUp() override {
        e.Conecta();
        e.InsertaFactura("P", "F-1", "06/12/2007", "21", "121", "100", "21");
        id = Conexion->AbrirRegistros("select max(ID) from FACTURAS")->Campo(0).Texto();
        otra = ConexionBD::Abrir(CadenaConexion());
    }
    FilaFactura Lee(ConexionBD& con) { return LeeFilaFactura(*con.AbrirRegistros(SqlLeeFactura(id))); }
    static CamposFactura Campos(const FilaFactura& f) {
        CamposFactura c;
        for (size_t i = 0; i < c.size(); ++i)
            c[i] = f[i].Texto();
        return c;
    }
    EntornoPruebas e;
    QString id;
    std::unique_ptr<ConexionBD> otra;
};

}  // namespace

TEST_F(DosInstancias, CadaColumnaCambiadaSeNota) {
    const char* cambios[] = {"COD_FACTURA = 'F-2'",    "FECHA_FACTURA = '07/12/2007'", "IMPORTE_IVA = '22'",
                             "IMPORTE_TOTAL = Null",   "IMPORTE_NETO = '100,01'",      "IVA = '4'",
                             "DESCRIPCION = ''",       "TIPO = 'C'"};
    for (const char* cambio : cambios) {
        SCOPED_TRACE(cambio);
        const FilaFactura leida = Lee(*Conexion);
        const CamposFactura campos = Campos(leida);
        otra->Ejecutar(QStringLiteral("update FACTURAS set ") + cambio + " where ID = " + id);
        const FilaFactura antes = Lee(*otra);
        EXPECT_EQ(GrabaCambiosFactura(*Conexion, campos, NombreTipo(leida[7]), id, leida), Grabacion::Cambiada);
        EXPECT_EQ(Campos(Lee(*otra)), Campos(antes));
        // Back as it was: the same save goes through.
        otra->Ejecutar(SqlActualizaFactura(campos, NombreTipo(leida[7]), id));
        EXPECT_EQ(GrabaCambiosFactura(*Conexion, campos, NombreTipo(leida[7]), id, leida), Grabacion::Hecha);
    }
}

TEST_F(DosInstancias, InsercionQueNoGuardaNadaNoSeDaPorGrabada) {
    CreaDisparador("IGNORA", "FACTURAS", "insert");
    EXPECT_EQ(GrabaFacturaNueva(*Conexion, {"F-2", "", "", "", "", "", ""}, TipoCobros), Grabacion::NoGrabada);
    BorraDisparador("IGNORA", "FACTURAS");
    EXPECT_EQ(GrabaFacturaNueva(*Conexion, {"F-2", "", "", "", "", "", ""}, TipoCobros), Grabacion::Hecha);
}
