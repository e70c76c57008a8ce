#include "liquidacion/Liquidacion.h"

#include "ApoyoLiquidacion.h"
#include "ApoyoPruebas.h"
#include "data/BaseDatos.h"
#include "data/comun/Formatos.h"
#include "invoices/Trimestres.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

const auto M303 = ModeloDeclaracion::M303;
const auto M420 = ModeloDeclaracion::M420;

std::map<QString, QString> Cajas(const Liquidacion& l) {
    std::map<QString, QString> r;
    for (const Casilla& c : l.casillas)
        r[c.numero] = c.Texto();
    return r;
}

QStringList Textos(const Liquidacion& l, bool soloAdvertencias) {
    QStringList r;
    for (const Liquidacion::Aviso& a : l.Avisos())
        if (a.advertencia || !soloAdvertencias)
            r << a.texto;
    return r;
}

}  // namespace

// 1.000,00 at each rate of the form: its base, rate and cuota boxes, and nothing else.
TEST(Liquidacion, CadaTipoEnSusCasillas) {
    const struct {
        ModeloDeclaracion modelo;
        qint64 tipo;
        const char *base, *porcentaje, *cuota, *devengado;
    } casos[] = {
        {M303, 0, "150", "151", "152", "27"},    {M303, 200, "165", "166", "167", "27"},
        {M303, 400, "01", "02", "03", "27"},     {M303, 500, "153", "154", "155", "27"},
        {M303, 1000, "04", "05", "06", "27"},    {M303, 2100, "07", "08", "09", "27"},
        {M420, 0, "01", "02", "03", "25"},       {M420, 300, "04", "05", "06", "25"},
        {M420, 700, "07", "08", "09", "25"},     {M420, 950, "10", "11", "12", "25"},
        {M420, 1500, "13", "14", "15", "25"},    {M420, 2000, "16", "17", "18", "25"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(NombreModelo(c.modelo).toStdString() + " " + std::to_string(c.tipo));
        const Liquidacion l = CalculaLiquidacion(c.modelo, ImpuestoDelModelo(c.modelo), {Factura(true, c.tipo, 100000, c.tipo * 10)});
        auto cajas = Cajas(l);
        const QString cuota = FormatoCentimos(c.tipo * 10);
        EXPECT_EQ(cajas[c.base], "1.000,00");
        EXPECT_EQ(cajas[c.porcentaje], FormatoCentimos(c.tipo));
        EXPECT_EQ(cajas[c.cuota], cuota);
        EXPECT_EQ(cajas[c.devengado], cuota);
        EXPECT_EQ(FormatoCentimos(l.Resultado()), cuota);
        EXPECT_EQ(std::count_if(cajas.begin(), cajas.end(), [](const auto& k) { return k.second == "1.000,00"; }), 1);
        EXPECT_TRUE(l.sinCasilla.empty());
        EXPECT_TRUE(l.descuadres.empty());
    }
}

// Negative totals go to the modification (collected, whatever the rate) and
// rectification (paid) boxes; the totals and results follow.
TEST(Liquidacion, NegativosYDeducibles) {
    const struct {
        ModeloDeclaracion modelo;
        qint64 tipo;  // of the positive collected invoice, 1.000,00
        std::map<QString, QString> esperadas;
    } casos[] = {
        {M303, 2100, {{"07", "1.000,00"}, {"09", "210,00"}, {"14", "-150,00"}, {"15", "-13,50"}, {"27", "196,50"},
                      {"28", "400,00"}, {"29", "84,00"}, {"40", "-200,00"}, {"41", "-42,00"}, {"45", "42,00"},
                      {"46", "154,50"}, {"64", "154,50"}, {"65", "100,00"}, {"66", "154,50"}, {"69", "154,50"},
                      {"71", "154,50"}, {"04", "0,00"}, {"06", "0,00"}}},
        {M420, 700, {{"07", "1.000,00"}, {"09", "70,00"}, {"21", "-150,00"}, {"22", "-13,50"}, {"25", "56,50"},
                     {"26", "400,00"}, {"27", "84,00"}, {"34", "-200,00"}, {"35", "-42,00"}, {"40", "42,00"},
                     {"41", "14,50"}, {"45", "14,50"}, {"10", "0,00"}, {"12", "0,00"}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(NombreModelo(c.modelo).toStdString());
        const Liquidacion l = CalculaLiquidacion(c.modelo, ImpuestoDelModelo(c.modelo),
                                                 {Factura(true, c.tipo, 100000, c.tipo * 10),
                                                  Factura(true, 1000, -10000, -1000),
                                                  Factura(true, 700, -5000, -350),  // no box of its own in 303: still 14/15
                                                  Factura(false, 2100, 40000, 8400),
                                                  Factura(false, 2100, -20000, -4200)});
        auto cajas = Cajas(l);
        for (const auto& [numero, importe] : c.esperadas)
            EXPECT_EQ(cajas[numero], importe) << numero.toStdString();
        EXPECT_TRUE(l.sinCasilla.empty());
    }
}

// A rate without boxes is listed apart with a warning and added to no box.
TEST(Liquidacion, TipoSinCasilla) {
    Liquidacion l = CalculaLiquidacion(M303, "IVA",
                                       {Factura(true, 2100, 10000, 2100), Factura(true, 700, 10000, 700),
                                        Factura(true, 1600, 20000, 3200), Factura(true, std::nullopt, 5000, 0)});
    EXPECT_EQ(Cajas(l)["09"], "21,00");
    EXPECT_EQ(Cajas(l)["27"], "21,00");
    EXPECT_EQ(l.CuotasSinCasilla(), 3900);
    EXPECT_EQ(Textos(l, true),
              (QStringList{"Facturas sin tipo, sin casilla en el Modelo 303 (IVA): base 50,00, cuota 0,00 (1 factura de "
                           "Cobros). No se suman a ninguna casilla.",
                           "Tipo del 7 % sin casilla en el Modelo 303 (IVA): base 100,00, cuota 7,00 (1 factura de "
                           "Cobros). No se suma a ninguna casilla.",
                           "Tipo del 16 % sin casilla en el Modelo 303 (IVA): base 200,00, cuota 32,00 (1 factura de "
                           "Cobros). No se suma a ninguna casilla."}));

    // The check counts them: 27 - 45 plus the cuotas apart against the browser's difference.
    l.diferenciaNavegador = "60,00";
    EXPECT_TRUE(l.Cuadra());
    EXPECT_TRUE(Textos(l, false).contains("Comprobación: 27 - 45 más las cuotas sin casilla da 60,00, igual que la "
                                          "diferencia de IVA Cobrado - Pagado entre las mismas fechas."));
    l.diferenciaNavegador = "60,01";
    EXPECT_FALSE(l.Cuadra());
    EXPECT_TRUE(Textos(l, true).contains("Atención: 27 - 45 más las cuotas sin casilla da 60,00, pero la diferencia de "
                                         "IVA Cobrado - Pagado entre las mismas fechas es 60,01. Revise los importes "
                                         "de las facturas."));

    // Under IGIC 5 % (energy drinks) has no box either; 9,5 % has.
    l = CalculaLiquidacion(M420, "IGIC", {Factura(true, 500, 1000, 50), Factura(true, 500, 2000, 100), Factura(true, 950, 1000, 95)});
    EXPECT_EQ(Cajas(l)["12"], "0,95");
    EXPECT_EQ(Textos(l, true), QStringList{"Tipo del 5 % sin casilla en el Modelo 420 (IGIC): base 30,00, cuota 1,50 "
                                           "(2 facturas de Cobros). No se suma a ninguna casilla."});
}

// Cuotas more than a cent away from base by rate are listed, on both sides.
TEST(Liquidacion, CuotasQueNoSonBasePorTipo) {
    const struct {
        bool cobro;
        qint64 tipo, base, cuota;
        bool listada;
    } casos[] = {
        {true, 2100, 10000, 2100, false}, {true, 2100, 10000, 2101, false}, {true, 2100, 10000, 2099, false},
        {true, 2100, 10000, 2102, true},  {false, 2100, 10000, 2098, true}, {true, 950, 1000, 96, false},
        {true, 950, 1000, 97, true},      {true, 2100, -10000, -2102, true}, {false, 0, 5000, 2, true},
    };
    for (const auto& c : casos) {
        const Liquidacion l = CalculaLiquidacion(M303, "IVA", {Factura(c.cobro, c.tipo, c.base, c.cuota)});
        EXPECT_EQ(l.descuadres.size(), c.listada ? 1u : 0u) << c.tipo << " " << c.base << " " << c.cuota;
    }
    const Liquidacion l = CalculaLiquidacion(M303, "IVA", {Factura(false, 2100, 10005, 2000, "P/7")});
    EXPECT_EQ(Textos(l, true), QStringList{"La cuota no es la base por el tipo en la factura de Pagos P/7 del 10/02/2026: "
                                           "base 100,05, tipo 21 %, cuota 20,00 (la base por el tipo da 21,01), total "
                                           "120,05."});
}

// An empty quarter: every box of the form, in its order, at zero.
TEST(Liquidacion, TrimestreVacioEnElOrdenDelFormulario) {
    Liquidacion l = CalculaLiquidacion(M303, "IVA", {});
    l.desde = "01/01/2026";
    l.hasta = "31/03/2026";
    l.diferenciaNavegador = "0,00";
    EXPECT_EQ(l.LineasOrden().join('\n'),
              "# Modelo 303 (IVA) entre las fechas 01/01/2026  y  31/03/2026\n"
              "150\t0,00\n151\t0,00\n152\t0,00\n165\t0,00\n166\t2,00\n167\t0,00\n01\t0,00\n02\t4,00\n03\t0,00\n"
              "153\t0,00\n154\t5,00\n155\t0,00\n04\t0,00\n05\t10,00\n06\t0,00\n07\t0,00\n08\t21,00\n09\t0,00\n"
              "14\t0,00\n15\t0,00\n27\t0,00\n28\t0,00\n29\t0,00\n40\t0,00\n41\t0,00\n45\t0,00\n46\t0,00\n"
              "64\t0,00\n65\t100,00\n66\t0,00\n69\t0,00\n71\t0,00\n"
              "# Comprobación: 27 - 45 más las cuotas sin casilla da 0,00, igual que la diferencia de IVA Cobrado - "
              "Pagado entre las mismas fechas.\n"
              "# La casilla 65 se toma como 100 % y las que se rellenan a mano en el formulario (68, 70, 77, 78, 108, "
              "109 y 112) como cero: revíselas antes de presentar la declaración.");

    QStringList numeros;
    for (const Casilla& c : CalculaLiquidacion(M420, " igic ", {}).casillas)
        numeros << c.numero;
    EXPECT_EQ(numeros.join(' '), "01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 21 22 25 26 27 34 35 40 41 45");
}

TEST(Liquidacion, ModeloSegunLaPalabraDelImpuesto) {
    EXPECT_EQ(ModeloDeImpuesto(" Igic"), M420);
    EXPECT_EQ(ModeloDeImpuesto("IVA"), M303);
    const Liquidacion l = CalculaLiquidacion(ModeloDeImpuesto("IPSI"), "IPSI", {});
    EXPECT_EQ(Textos(l, true), QStringList{"El impuesto configurado es «IPSI», que no es IVA ni IGIC: se muestran las "
                                           "casillas del Modelo 303 (IVA)."});
}

TEST(Liquidacion, PeriodoDeLaOrden) {
    const struct {
        const char *anio, *trimestre, *desde, *hasta, *error;
    } casos[] = {
        {"2026", "1", "01/01/2026", "31/03/2026", ""},
        {"2026", "4T", "01/10/2026", "31/12/2026", ""},
        {"26", "2", "01/04/2026", "30/06/2026", ""},
        {"2026", "5", "", "", "El trimestre debe ser 1, 2, 3 o 4: 5"},
        {"2026", "", "", "", "El trimestre debe ser 1, 2, 3 o 4: "},
        {"20x6", "1", "", "", "El año no es válido: 20x6"},
        {"0000", "1", "", "", "El año no es válido: 0000"},
        {"-2026", "1", "", "", "El año no es válido: -2026"},
    };
    for (const auto& c : casos) {
        const PeriodoOrden p = LeePeriodoOrden(c.anio, c.trimestre);
        EXPECT_EQ(p.desde, c.desde) << c.anio << " " << c.trimestre;
        EXPECT_EQ(p.hasta, c.hasta) << c.anio << " " << c.trimestre;
        EXPECT_EQ(p.error, QString::fromUtf8(c.error));
    }
}

// On random invoices the return and the browser agree to the cent: 27 - 45
// plus the cuotas apart is the browser's difference for the same dates.
TEST(LiquidacionBD, CuadraConElNavegador) {
    for (const char* impuesto : {"IVA", "IGIC"}) {
        for (unsigned semilla : {1u, 2u, 3u}) {
            SCOPED_TRACE(std::string(impuesto) + " " + std::to_string(semilla));
            EntornoPruebas e;
            e.Conecta();
            std::mt19937 azar(semilla);
            const double tipos[] = {0, 2, 3, 4, 5, 7, 9.5, 10, 15, 16, 20, 21};
            auto entre = [&azar](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
            Conexion->Ejecutar("begin");
            for (int i = 0; i < 400; ++i) {
                const double tipo = tipos[entre(0, 11)];
                const qint64 base = entre(-20000, 500000);
                // Mostly base by rate; now and then a cuota typed by hand.
                const qint64 cuota = entre(0, 9) ? qRound64(base * tipo / 100) : entre(0, 100000);
                const QDate fecha = QDate(2025, 12, 20).addDays(entre(0, 110));
                e.InsertaFactura(entre(0, 1) ? "C" : "P", QString("F%1").arg(i), EscribeFecha(fecha),
                                 FormatoCentimos(cuota), FormatoCentimos(base + cuota), FormatoCentimos(base),
                                 TextoNumero(tipo));
            }
            e.InsertaFactura("C", "SIN", "15/02/2026", "1,5", "11,5", "10", "");  // no rate at all
            Conexion->Ejecutar("commit");

            const Liquidacion l = LeeLiquidacion(*Conexion, "01/01/2026", "31/03/2026", impuesto);
            QStringList sumas;
            CalculaTotales(*Conexion, "P", "01/01/2026", "31/03/2026", sumas);
            CalculaTotales(*Conexion, "C", "01/01/2026", "31/03/2026", sumas);
            EXPECT_EQ(FormatoCentimos(l.Resultado() + l.CuotasSinCasilla()), CalculaDiferencias(sumas)[0]);
            EXPECT_TRUE(l.Cuadra());
            EXPECT_FALSE(l.sinCasilla.empty());
            EXPECT_FALSE(l.descuadres.empty());
        }
    }
}
