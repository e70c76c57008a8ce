#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "datos/motor/Valor.h"
#include "datos/motor/ErrorBD.h"
#include "dominio/facturas/Facturas.h"

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

TEST(Facturas, ReglaAConLosTiposVigentes) {
    const QDate julio26(2026, 7, 15), noviembre24(2024, 11, 4);
    const struct {
        Importes entrada;
        Impuesto impuesto;
        QDate fecha;
        const char* neto;
        const char* porcentaje;
    } casos[] = {
        {{"9,50", "109,50", "", ""}, Impuesto::IGIC, julio26, "100", "9,5"},
        // No rate of the tax gives the amount: the whole number, which the save then questions.
        {{"9,50", "109,50", "", ""}, Impuesto::IVA, julio26, "100", "10"},
        {{"100", "1.210,00", "", "10"}, Impuesto::IVA, julio26, "1110", "9"},
        {{"7,50", "107,50", "", ""}, Impuesto::IVA, noviembre24, "100", "7,5"},
        {{"7,50", "107,50", "", ""}, Impuesto::IVA, julio26, "100", "8"},
        // A VAT amount rounded to the cent still finds its rate (the whole number would be 22).
        {{"0,11", "0,61", "", ""}, Impuesto::IVA, julio26, "0,5", "21"},
        {{"-21", "-121", "", ""}, Impuesto::IVA, julio26, "-100", "21"},
        // Zero is a rate in force, written as one; below a half with no rate giving it, nothing.
        {{"0", "100", "", "21"}, Impuesto::IVA, julio26, "100", "0"},
        {{"0,4", "100,4", "", "21"}, Impuesto::IVA, julio26, "100", ""},
        // A net so small that several rates give the amount: the nearest to the exact percentage.
        {{"0,01", "0,06", "", ""}, Impuesto::IVA, julio26, "0,05", "21"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.entrada.total.toStdString() + " / " + c.entrada.iva.toStdString());
        const Importes r = CalculaImportes(c.entrada, c.impuesto, c.fecha);
        EXPECT_EQ(r.iva, c.entrada.iva);
        EXPECT_EQ(r.neto, c.neto);
        EXPECT_EQ(r.porcentaje, c.porcentaje);
    }
    // Rule B and the fields it cannot read are the editor's as before.
    EXPECT_EQ(CalculaImportes({"", "109,5", "", "9,5"}, Impuesto::IGIC, julio26),
              (Importes{"9,50", "109,5", "100,00", "9,5"}));
    EXPECT_EQ(CalculaImportes({"x", "121", "", ""}, Impuesto::IVA, julio26), (Importes{"x", "121", "", ""}));
}

TEST(Facturas, ImportesAlGrabar) {
    const struct {
        Importes importes;
        FaltaEnImportes falta;
        const char* pregunta;
    } casos[] = {
        {{"", "", "", "21"}, FaltaEnImportes::Total, ""},
        {{"", "121", "", "21"}, FaltaEnImportes::Iva,
         "La factura no tiene calculado el importe del IGIC. ¿Desea calcularlo a partir del total y el porcentaje?"},
        {{"21", "121", "", "21"}, FaltaEnImportes::Neto,
         "La factura no tiene calculado el importe neto. ¿Desea calcularlo a partir del total y el importe del IGIC?"},
        {{"21", "121", "100", ""}, FaltaEnImportes::Porcentaje,
         "La factura no tiene calculado el porcentaje del IGIC. ¿Desea calcularlo a partir del total y el importe del "
         "IGIC?"},
        // Nothing to complete it from, or nothing missing.
        {{"", "121", "", ""}, FaltaEnImportes::Nada, ""},
        {{"21", "121", "100", "21"}, FaltaEnImportes::Nada, ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(QueFaltaEnImportes(c.importes), c.falta) << c.pregunta;
        EXPECT_EQ(PreguntaImportesIncompletos(c.falta, "IGIC"), QString::fromUtf8(c.pregunta));
    }
    EXPECT_EQ(AvisoCampoVacio("Importe Total (IVA incluido)"),
              "El campo 'Importe Total (IVA incluido)' no puede quedar vacío.");
}

TEST(Facturas, TipoNoVigenteAlGrabar) {
    const QDate julio26(2026, 7, 15);
    const auto pregunta = [](const char* tipo, const char* palabra, const char* fecha) {
        return QStringLiteral("El %1 % no es un tipo de %2 vigente el %3. ¿Desea grabar la factura de todos modos?")
            .arg(QString::fromUtf8(tipo), QString::fromUtf8(palabra), QString::fromUtf8(fecha));
    };
    const struct {
        const char* porcentaje;
        const char* palabra;
        std::optional<QDate> fecha;
        QString esperada;
    } casos[] = {
        {"9", "IVA", julio26, pregunta("9", "IVA", "15/07/2026")},
        {"9,50", "IVA", julio26, pregunta("9,5", "IVA", "15/07/2026")},
        {"9,5", "IGIC", julio26, ""},
        {"7,5", "IVA", QDate(2024, 12, 31), ""},
        {"7,5", "IVA", QDate(2025, 1, 1), pregunta("7,5", "IVA", "01/01/2025")},
        {"16", "IVA", julio26, pregunta("16", "IVA", "15/07/2026")},
        {"21", "IVA", julio26, ""},
        {"0", "IVA", julio26, ""},
        {"-191", "IVA", julio26, pregunta("-191", "IVA", "15/07/2026")},
        {"9009,00901", "IVA", julio26, pregunta("9009,00901", "IVA", "15/07/2026")},
        // Nothing to say without a rate or a date.
        {"", "IVA", julio26, ""},
        {"9", "IVA", std::nullopt, ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(PreguntaTipoNoVigente(c.porcentaje, c.palabra, c.fecha), c.esperada) << c.porcentaje;
    // The rates go by the operation date when there is one.
    const CamposFactura factura{"F-1", "03/04/2026", "", "", "", "", ""};
    EXPECT_EQ(FechaDelTipo(factura, {"", "30/03/2026", ""}), QDate(2026, 3, 30));
    EXPECT_EQ(FechaDelTipo(factura, {"", "", ""}), QDate(2026, 4, 3));
    EXPECT_EQ(FechaDelTipo({"F-1", "", "", "", "", "", ""}, {"", "", ""}), std::nullopt);
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
    EXPECT_EQ(LongitudesFactura, (std::array<int, 7>{50, 10, 12, 12, 12, 5, 255}));
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

TEST(Facturas, SentenciasConElTercero) {
    // The counterparty's columns follow the others; the rest is the statement above, piece by piece.
    const CamposFactura ejemplo{"F-7", "06/12/2007", "21,00", "121", "100", "21", ""};
    EXPECT_EQ(SqlInsertaFactura(ejemplo, "Pagos", {"B12345674", "", "O'Neil SL"}),
              "insert into FACTURAS       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
              "DESCRIPCION, TIPO, NIF_TERCERO, FECHA_OPERACION, NOMBRE_TERCERO, PAIS_TERCERO, TIPO_ID_TERCERO) values "
              "('F-7','06/12/2007','21,00','121'       ,'100','21',Null,'P','B12345674',Null,'O''Neil SL',Null,Null)");
    EXPECT_EQ(SqlActualizaFactura(ejemplo, "Cobros", {"", "30/11/2007", "", "FR", "02"}, "3"),
              "update FACTURAS   set COD_FACTURA = 'F-7'     , FECHA_FACTURA = '06/12/2007'     , IMPORTE_IVA = "
              "'21,00'     , IMPORTE_TOTAL = '121'     , IMPORTE_NETO = '100'     , IVA = '21'     , DESCRIPCION "
              "= Null     , TIPO = 'C'     , NIF_TERCERO = Null     , FECHA_OPERACION = '30/11/2007'     , "
              "NOMBRE_TERCERO = Null     , PAIS_TERCERO = 'FR'     , TIPO_ID_TERCERO = '02' where ID = 3");
}

TEST(Facturas, TerceroComoSeGuarda) {
    const struct {
        CamposTercero entrada, guardado;
    } casos[] = {
        {{" b-1234567.4 ", "", "Ana"}, {"B12345674", "", "Ana"}},
        {{"x1234567l", "6/12/07", ""}, {"X1234567L", "", ""}},  // the invoice's own date
        {{"", "5/12/07", ""}, {"", "5/12/07", ""}},
        {{"ñ-1", "no es fecha", ""}, {"Ñ1", "no es fecha", ""}},
        // Spain, however written, is no country at all, and its NIF has no kind.
        {{"12345678Z", "", "", " es ", "02"}, {"12345678Z", "", "", "", ""}},
        {{"", "", "", "", "03"}, {"", "", "", "", ""}},
        {{"fr12345678901", "", "", " fr", "02"}, {"FR12345678901", "", "", "FR", "02"}},
    };
    const CamposFactura factura{"F-7", "06/12/2007", "", "", "", "", ""};
    for (const auto& c : casos)
        EXPECT_EQ(TerceroParaGrabar(factura, c.entrada), c.guardado) << c.entrada[0].toStdString();
}

TEST(Facturas, ActualizacionSoloSobreLoLeido) {
    const CamposFactura campos{"F-7", "06/12/2007", "21,00", "121", "100", "21", ""};
    const CamposTercero tercero{"12345678Z", "", "Ana"};
    const FilaFactura leida{Valor::DeTexto("F'7"), Valor::DeFecha(QDate(2007, 12, 6)), Valor::DeDecimal(21),
                            Valor::DeDecimal(121), Valor::Nulo(), Valor::DeEntero(21), Valor::DeTexto(""),
                            Valor::DeTexto("P"), Valor::DeTexto("12345678Z"), Valor::DeFecha(QDate(2007, 11, 30)),
                            Valor::Nulo(), Valor::Nulo(), Valor::Nulo()};
    EXPECT_EQ(SqlActualizaFacturaSinCambios(campos, "Pagos", tercero, "3", leida),
              SqlActualizaFactura(campos, "Pagos", tercero, "3") +
                  "   and COD_FACTURA = 'F''7'   and DateValue(FECHA_FACTURA) = DateValue('06/12/2007')"
                  "   and IMPORTE_IVA = 21   and IMPORTE_TOTAL = 121   and IMPORTE_NETO is Null   and IVA = 21"
                  "   and DESCRIPCION = ''   and TIPO = 'P'   and NIF_TERCERO = '12345678Z'"
                  "   and DateValue(FECHA_OPERACION) = DateValue('30/11/2007')   and NOMBRE_TERCERO is Null"
                  "   and PAIS_TERCERO is Null   and TIPO_ID_TERCERO is Null");
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
    static CamposTercero Tercero(const FilaFactura& f) {
        return {f[8].Texto(), f[9].Texto(), f[10].Texto(), f[11].Texto(), f[12].Texto()};
    }
    EntornoPruebas e;
    QString id;
    std::unique_ptr<ConexionBD> otra;
};

}  // namespace

TEST_F(DosInstancias, CadaColumnaCambiadaSeNota) {
    const char* cambios[] = {"COD_FACTURA = 'F-2'",    "FECHA_FACTURA = '07/12/2007'", "IMPORTE_IVA = '22'",
                             "IMPORTE_TOTAL = Null",   "IMPORTE_NETO = '100,01'",      "IVA = '4'",
                             "DESCRIPCION = ''",       "TIPO = 'C'",                   "NIF_TERCERO = '12345678Z'",
                             "FECHA_OPERACION = '01/12/2007'", "NOMBRE_TERCERO = 'Ana'", "PAIS_TERCERO = 'PT'",
                             "TIPO_ID_TERCERO = '03'"};
    for (const char* cambio : cambios) {
        SCOPED_TRACE(cambio);
        const FilaFactura leida = Lee(*Conexion);
        const CamposFactura campos = Campos(leida);
        otra->Ejecutar(QStringLiteral("update FACTURAS set ") + cambio + " where ID = " + id);
        const FilaFactura antes = Lee(*otra);
        const CamposTercero tercero = Tercero(leida);
        EXPECT_EQ(GrabaCambiosFactura(*Conexion, campos, NombreTipo(leida[7]), tercero, id, leida), Grabacion::Cambiada);
        EXPECT_EQ(Campos(Lee(*otra)), Campos(antes));
        EXPECT_EQ(Tercero(Lee(*otra)), Tercero(antes));
        // Back as it was: the same save goes through.
        otra->Ejecutar(SqlActualizaFactura(campos, NombreTipo(leida[7]), tercero, id));
        EXPECT_EQ(GrabaCambiosFactura(*Conexion, campos, NombreTipo(leida[7]), tercero, id, leida), Grabacion::Hecha);
    }
}

TEST_F(DosInstancias, InsercionQueNoGuardaNadaNoSeDaPorGrabada) {
    CreaDisparador("IGNORA", "FACTURAS", "insert");
    EXPECT_EQ(GrabaFacturaNueva(*Conexion, {"F-2", "", "", "", "", "", ""}, TipoCobros, {}), Grabacion::NoGrabada);
    BorraDisparador("IGNORA", "FACTURAS");
    EXPECT_EQ(GrabaFacturaNueva(*Conexion, {"F-2", "", "", "", "", "", ""}, TipoCobros, {}), Grabacion::Hecha);
}

TEST_F(DosInstancias, ElTerceroSeGuardaYSeLeeTalCual) {
    const CamposFactura campos{"F-1", "06/12/2007", "21", "121", "100", "21", ""};
    const CamposTercero tercero{"X1234567L", "30/11/2007", "Ñandú O'Hara", "AD", "04"};
    ASSERT_EQ(GrabaCambiosFactura(*Conexion, campos, TipoPagos, tercero, id, Lee(*Conexion)), Grabacion::Hecha);
    EXPECT_EQ(Tercero(Lee(*otra)), tercero);
    if (!PruebasEnServidor())
        EXPECT_EQ(Sqlite(e.RutaBD(), "select FECHA_OPERACION from FACTURAS"), "2007-11-30");
}

TEST_F(DosInstancias, ElTerceroQuedaAlDiaConSuUltimaFactura) {
    auto fila = [this] {
        auto rs = otra->AbrirRegistros("select NIF, NOMBRE, PAIS, TIPO_ID, COD_POSTAL from TERCEROS");
        QStringList r;
        for (int i = 0; i < rs->NumFilas(); ++i)
            for (int c = 0; c < 5; ++c)
                r << rs->Celda(i, c).Texto();
        return r.join('|');
    };
    const CamposFactura campos{"F-1", "06/12/2007", "21", "121", "100", "21", ""};
    ASSERT_EQ(GrabaFacturaNueva(*Conexion, campos, TipoCobros, {" b12345674", "", "Viejo SL", "", ""}), Grabacion::Hecha);
    EXPECT_EQ(fila(), "B12345674|Viejo SL|||");
    otra->Ejecutar("update TERCEROS set COD_POSTAL = '28001'");
    // A save without a name keeps the name known; the postal code is the user's.
    ASSERT_EQ(GrabaCambiosFactura(*Conexion, campos, TipoPagos, {"B12345674", "", "", "PT", "02"}, id, Lee(*Conexion)),
              Grabacion::Hecha);
    EXPECT_EQ(fila(), "B12345674|Viejo SL|PT|02|28001");
    // Refused with the invoice, stored with it or not at all.
    CreaDisparador("REHUSA", "TERCEROS", "update", "rehusada");
    EXPECT_THROW(GrabaFacturaNueva(*Conexion, {"F-9", "", "", "", "", "", ""}, TipoCobros, {"B12345674", "", "Otro", "", ""}),
                 ErrorBD);
    BorraDisparador("REHUSA", "TERCEROS");
    EXPECT_TRUE(otra->AbrirRegistros("select ID from FACTURAS where COD_FACTURA = 'F-9'")->Fin());
    EXPECT_EQ(fila(), "B12345674|Viejo SL|PT|02|28001");
}

TEST_F(DosInstancias, FacturaRepetida) {
    // In the file: F-1, paid, 06/12/2007, 121, no NIF; and these two.
    otra->Ejecutar(SqlInsertaFactura({"F-2", "10/01/2008", "", "50", "", "", ""}, TipoCobros, {"12345678Z", "", ""}));
    otra->Ejecutar(SqlInsertaFactura({"F-3", "10/01/2008", "", "50", "", "", ""}, TipoPagos, {"B12345674", "", ""}));
    const struct {
        const char* caso;
        CamposFactura campos;
        const char* tipo;
        CamposTercero tercero;
        const char* pregunta;  // "" for none
    } casos[] = {
        {"mismo NIF y código en el año", {"F-2", "31/12/2008", "", "1", "", "", ""}, "Cobros", {"12.345.678-z", "", ""},
         "Ya existe una factura de Cobros del NIF 12345678Z con el código F-2 en el año 2008."},
        {"otro año", {"F-2", "01/01/2009", "", "50", "", "", ""}, "Cobros", {"12345678Z", "", ""}, ""},
        {"otro tipo", {"F-2", "10/01/2008", "", "50", "", "", ""}, "Pagos", {"12345678Z", "", ""}, ""},
        {"otro NIF", {"F-3", "10/01/2008", "", "50", "", "", ""}, "Pagos", {"12345678Z", "", ""}, ""},
        {"sin NIF: código, fecha y total", {"F-1", "6/12/07", "", "121,00", "", "", ""}, "Pagos", {"", "", ""},
         "Ya existe una factura de Pagos con el código F-1, la fecha 06/12/2007 y el total 121,00."},
        {"sin NIF, aunque la otra lo tenga", {"F-3", "10/01/2008", "", "50", "", "", ""}, "Pagos", {"", "", ""},
         "Ya existe una factura de Pagos con el código F-3, la fecha 10/01/2008 y el total 50,00."},
        {"sin NIF, otro total", {"F-1", "06/12/2007", "", "120", "", "", ""}, "Pagos", {"", "", ""}, ""},
        {"sin NIF ni total", {"F-1", "06/12/2007", "", "", "", "", ""}, "Pagos", {"", "", ""}, ""},
        {"sin código", {"", "10/01/2008", "", "50", "", "", ""}, "Pagos", {"B12345674", "", ""}, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const QString esperada =
            *c.pregunta ? QString::fromUtf8(c.pregunta) + "\n\n¿Desea grabarla de todas formas?" : QString();
        EXPECT_EQ(PreguntaFacturaRepetida(*Conexion, c.campos, c.tipo, c.tercero, ""), esperada);
    }
    // The invoice itself, being changed, is not a repetition of itself.
    EXPECT_EQ(PreguntaFacturaRepetida(*Conexion, {"F-1", "06/12/2007", "", "121", "", "", ""}, TipoPagos, {}, id), "");
}
