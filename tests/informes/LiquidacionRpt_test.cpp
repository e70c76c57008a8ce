#include "informes/LiquidacionRpt.h"
#include "dominio/liquidacion/LiquidacionLogica.h"

#include "ApoyoLiquidacion.h"
#include "ApoyoPruebas.h"
#include "base/Formatos.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

FacturaDeclarada Cobro(qint64 tipo, qint64 base, qint64 cuota, const QString& codigo = QStringLiteral("C-1")) {
    return Factura(true, tipo, base, cuota, codigo, QDate(2026, 3, 31));
}

Liquidacion Ejemplo(std::vector<FacturaDeclarada> facturas) {
    Liquidacion l = Calcula(ModeloDeclaracion::M303, facturas);
    l.diferenciaNavegador = FormatoCentimos(l.Resultado() + l.CuotasSinCasilla());
    return l;
}

// The PDF's text as laid out, pages ending with a form feed.
QString TextoPdf(const LiquidacionRpt& rpt) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("liquidacion.pdf");
    EXPECT_TRUE(EscribePdf(rpt, ruta, "Liquidación del Trimestre"));
    QProcess p;
    p.start("pdftotext", {"-layout", ruta, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString SinEspacios(QString t) { return t.simplified(); }

}  // namespace

// The printed return carries every box of the command, number, name and
// amount on one line, the warnings, the company and the date of printing.
TEST(LiquidacionRpt, LasMismasCifrasQueLaOrden) {
    const Liquidacion l = Ejemplo({Cobro(2100, 123456, 25926), Cobro(700, 10000, 700), Cobro(2100, 1000, 500, "C-9")});
    const LiquidacionRpt rpt(l, {"Ferretería O'Donnell, S.L.", "Calle Mayor, 12", "28013 Madrid Madrid"}, QDate(2026, 4, 7));
    ASSERT_EQ(rpt.NumPaginas(), 1);
    const QString t = TextoPdf(rpt);
    for (const QString& linea : l.LineasOrden()) {
        if (linea.startsWith('#'))
            continue;
        const QStringList partes = linea.split('\t');
        const Casilla* c = l.Busca(partes[0]);
        const QRegularExpression re("^\\s*" + partes[0] + "\\s+" + QRegularExpression::escape(c->concepto) + "\\s+" +
                                        QRegularExpression::escape(partes[1]) + "\\s*$",
                                    QRegularExpression::MultilineOption);
        EXPECT_TRUE(re.match(t).hasMatch()) << linea.toStdString();
    }
    const QString plano = SinEspacios(t);
    for (const Liquidacion::Aviso& a : l.Avisos())
        EXPECT_TRUE(plano.contains(a.texto)) << a.texto.toStdString();
    for (const char* texto : {"Ferretería O'Donnell, S.L.", "28013 Madrid Madrid", "Liquidación del Trimestre",
                              "entre las fechas 01/01/2026 y 31/03/2026", "Modelo 303 (IVA)", "IVA devengado",
                              "IVA deducible", "Avisos y comprobaciones", "07/04/2026"})
        EXPECT_TRUE(plano.contains(QString::fromUtf8(texto))) << texto;
}

// Many warnings go on to further pages, each with its foot; a caption never
// ends a page alone.
TEST(LiquidacionRpt, VariasPaginas) {
    std::vector<FacturaDeclarada> facturas;
    for (int i = 0; i < 30; ++i)
        facturas.push_back(Cobro(2100, 10000, 100, QString("D-%1").arg(i)));
    const LiquidacionRpt rpt(Ejemplo(facturas), {}, QDate(2026, 4, 7));
    ASSERT_GE(rpt.NumPaginas(), 2);
    const QString t = TextoPdf(rpt);
    EXPECT_EQ(t.count('\f'), rpt.NumPaginas());
    EXPECT_EQ(t.count("07/04/2026"), rpt.NumPaginas());
    EXPECT_TRUE(SinEspacios(t).contains("factura de Cobros D-29 del 31/03/2026"));
    const auto& r = rpt.Renglones();
    for (size_t i = 0; i + 1 < r.size(); ++i)
        if (r[i].clase == LiquidacionRpt::Renglon::Apartado || r[i].clase == LiquidacionRpt::Renglon::Columnas)
            EXPECT_EQ(r[i].pagina, r[i + 1].pagina) << r[i].texto.toStdString();
}

// The company's NIF heads the return, on a line of its own above the boxes.
TEST(LiquidacionRpt, LaCabeceraLlevaElNifDeLaEmpresa) {
    const LiquidacionRpt rpt(Ejemplo({Cobro(2100, 10000, 2100)}),
                             {"Talleres Ibáñez SL", "Calle Mayor, 1", "07100 Sóller Illes Balears", "B12345674"},
                             QDate(2026, 4, 7));
    const QString t = TextoPdf(rpt);
    EXPECT_TRUE(SinEspacios(t).contains("Talleres Ibáñez SL"));
    EXPECT_TRUE(SinEspacios(t).contains("NIF: B12345674"));
    // Below the fourth line of the header: nothing printed over it.
    EXPECT_GE(rpt.Renglones().front().arriba, MedidasInforme::MargenSuperior + AltoCabeceraConNif);
}

// The PDF proposed carries the model, the year and the quarter; dates that
// are not one quarter, themselves.
TEST(LiquidacionRpt, NombreDelPdf) {
    const struct {
        ModeloDeclaracion modelo;
        const char *desde, *hasta, *nombre;
    } casos[] = {
        {ModeloDeclaracion::M303, "01/07/2026", "30/09/2026", "Liquidación 303 2026-3T.pdf"},
        {ModeloDeclaracion::M420, "01/01/2026", "31/03/2026", "Liquidación 420 2026-1T.pdf"},
        {ModeloDeclaracion::M303, "01/10/2025", "31/12/2025", "Liquidación 303 2025-4T.pdf"},
        {ModeloDeclaracion::M303, "01/01/2026", "15/02/2026", "Liquidación 303 01-01-2026 a 15-02-2026.pdf"},
        {ModeloDeclaracion::M303, "01/04/2026", "30/09/2026", "Liquidación 303 01-04-2026 a 30-09-2026.pdf"},
    };
    for (const auto& c : casos) {
        Liquidacion l;
        l.modelo = c.modelo;
        l.desde = c.desde;
        l.hasta = c.hasta;
        EXPECT_EQ(NombrePdfLiquidacion(l), QString::fromUtf8(c.nombre));
    }
}

// An incomplete invoice is named first, before the boxes it leaves short.
TEST(LiquidacionRpt, IncompletasAntesDeLasCasillas) {
    FacturaDeclarada incompleta = Cobro(2100, 0, 0, "C-5");
    incompleta.sinBase = incompleta.sinCuota = true;
    const Liquidacion l = Ejemplo({Cobro(2100, 10000, 2100), incompleta});
    const QString t = SinEspacios(TextoPdf(LiquidacionRpt(l, {}, QDate(2026, 4, 7))));
    ASSERT_EQ(l.AvisosPrevios().size(), 1u);
    const int aviso = t.indexOf("Facturas incompletas " + l.AvisosPrevios()[0].texto);
    EXPECT_GE(aviso, 0) << t.toStdString();
    EXPECT_LT(aviso, t.indexOf("IVA devengado"));
}
