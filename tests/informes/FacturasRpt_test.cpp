#include "informes/FacturasRpt.h"

#include "base/Formatos.h"

#include <QFontMetricsF>
#include <QImage>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MedidasInforme;

namespace {

FilaListado Fila(const QDate& d, std::optional<double> ivaC, std::optional<double> totalC, std::optional<double> ivaV,
                 std::optional<double> totalV) {
    return FilaListado{d, ivaC, totalC, ivaV, totalV};
}

std::vector<FilaListado> MuchasFilas(int n) {
    std::vector<FilaListado> filas;
    for (int i = 0; i < n; ++i)
        filas.push_back(Fila(QDate(2026, 1, 1).addDays(i), 21, 121, 42, 242));
    return filas;
}

// Writes the report to a PDF file the way the listing window saves it.
QString EscribePdf(const FacturasRpt& rpt, const QString& carpeta) {
    const QString ruta = carpeta + QStringLiteral("/listado.pdf");
    QPdfWriter pdf(ruta);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    pdf.setResolution(600);
    EXPECT_TRUE(rpt.Imprime(pdf));
    return ruta;
}

// The text of one page (1-based) or of the whole file (0), laid out as printed.
QString TextoPdf(const QString& ruta, int pagina = 0) {
    QStringList args{QStringLiteral("-layout")};
    if (pagina > 0)
        args << QStringLiteral("-f") << QString::number(pagina) << QStringLiteral("-l") << QString::number(pagina);
    args << ruta << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Every word of the file with its box, in points (the first box of a repeated word).
QMap<QString, QRectF> PalabrasPdf(const QString& ruta) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), ruta, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString s = QString::fromUtf8(p.readAllStandardOutput());
    QRegularExpression re(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QMap<QString, QRectF> r;
    for (auto it = re.globalMatch(s); it.hasNext();) {
        auto m = it.next();
        if (!r.contains(m.captured(5)))
            r.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return r;
}

int NumPaginasPdf(const QString& ruta) {
    // pdftotext ends every page with a form feed.
    return TextoPdf(ruta).count(QLatin1Char('\f'));
}

// Page `pagina` painted on a white A4 sheet at 96 dpi.
QImage Imagen(const FacturasRpt& rpt, int pagina) {
    const int dpi = 96;
    QImage img(qRound(AnchoPagina * dpi / 1440), qRound(AltoPagina * dpi / 1440), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    rpt.PintaPagina(p, pagina);
    p.end();
    return img;
}

// Pixel at a page position in twips.
QColor Pixel(const QImage& img, double x, double y) {
    return img.pixelColor(qFloor(x * 96 / 1440), qFloor(y * 96 / 1440));
}

// Dark pixels in a rectangle of the page, in twips.
int PixelesOscuros(const QImage& img, double x, double y, double ancho, double alto) {
    int n = 0;
    for (int py = qFloor(y * 96 / 1440); py < qCeil((y + alto) * 96 / 1440); ++py)
        for (int px = qFloor(x * 96 / 1440); px < qCeil((x + ancho) * 96 / 1440); ++px)
            if (qGray(img.pixel(px, py)) < 128)
                ++n;
    return n;
}

}  // namespace

// ---- Layout ------------------------------------------------------------------

struct CasoMaqueta {
    int filas;
    int paginas;
    int filasUltima;  // detail lines on the last page
};

class Maqueta : public ::testing::TestWithParam<CasoMaqueta> {};

TEST_P(Maqueta, BandasPorPagina) {
    const CasoMaqueta c = GetParam();
    const auto paginas = MaquetaInforme(c.filas);
    ASSERT_EQ(static_cast<int>(paginas.size()), c.paginas);
    EXPECT_EQ(paginas.back().numFilas, c.filasUltima);
    int siguiente = 0;
    const double topePie = AltoPagina - MargenInferior - AltoPiePagina;
    for (size_t i = 0; i < paginas.size(); ++i) {
        const PaginaInforme& pg = paginas[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(pg.Cuenta(Seccion::CabeceraInforme), i == 0 ? 1 : 0);
        EXPECT_EQ(pg.Cuenta(Seccion::CabeceraPagina), 1);
        EXPECT_EQ(pg.Cuenta(Seccion::PiePagina), 1);
        EXPECT_EQ(pg.Cuenta(Seccion::PieInforme), i + 1 == paginas.size() ? 1 : 0);
        EXPECT_EQ(pg.Cuenta(Seccion::Detalle), pg.numFilas);
        EXPECT_EQ(pg.primeraFila, siguiente);
        siguiente += pg.numFilas;
        // Bands follow each other without overlapping, and all but the page
        // footer end above it, which sits on the bottom margin.
        double y = MargenSuperior;
        for (const BandaColocada& b : pg.bandas) {
            if (b.seccion == Seccion::PiePagina) {
                EXPECT_DOUBLE_EQ(b.arriba, topePie);
                continue;
            }
            EXPECT_DOUBLE_EQ(b.arriba, y);
            const double alto = b.seccion == Seccion::CabeceraInforme  ? AltoCabeceraInforme
                                : b.seccion == Seccion::CabeceraPagina ? AltoCabeceraPagina
                                : b.seccion == Seccion::Detalle        ? AltoDetalle
                                                                       : AltoPieInforme;
            y += alto;
            EXPECT_LE(y, topePie);
        }
        // The report header comes first and the page header right after it.
        EXPECT_EQ(pg.bandas.front().seccion, i == 0 ? Seccion::CabeceraInforme : Seccion::CabeceraPagina);
    }
    EXPECT_EQ(siguiente, c.filas);
}

// First page: 52 lines, 47 with the report footer; later pages 57.
INSTANTIATE_TEST_SUITE_P(Filas, Maqueta,
                         ::testing::Values(CasoMaqueta{0, 1, 0}, CasoMaqueta{1, 1, 1}, CasoMaqueta{47, 1, 47},
                                           // the footer does not fit: it goes whole to a page of its own
                                           CasoMaqueta{48, 2, 0}, CasoMaqueta{52, 2, 0}, CasoMaqueta{53, 2, 1},
                                           CasoMaqueta{200, 4, 200 - 52 - 57 - 57}));

TEST(Maqueta, ElInformeDaLasMismasPaginas) {
    FacturasRpt rpt;
    EXPECT_EQ(rpt.NumPaginas(), 1);
    rpt.SetDataSource(MuchasFilas(130));
    EXPECT_EQ(rpt.NumPaginas(), static_cast<int>(MaquetaInforme(130).size()));
    EXPECT_EQ(rpt.NumPaginas(), 3);
}

// ---- Data, sums and texts ------------------------------------------------------

TEST(Sumas, AmbosLadosUnLadoYNinguno) {
    const std::vector<FilaListado> filas{
        Fila(QDate(2026, 1, 5), 21, 121, 210, 1210),                          // both sides
        Fila(QDate(2026, 1, 6), std::nullopt, std::nullopt, 4.2, 24.2),       // collected only
        Fila(QDate(2026, 1, 7), 1000.5, 5764.88, std::nullopt, std::nullopt),  // paid only
        Fila(QDate(2026, 1, 8), std::nullopt, std::nullopt, std::nullopt, std::nullopt),
    };
    const SumasInforme s = SumaFilas(filas);
    EXPECT_DOUBLE_EQ(s.ivaC, 1021.5);
    EXPECT_DOUBLE_EQ(s.totalC, 5885.88);
    EXPECT_DOUBLE_EQ(s.ivaV, 214.2);
    EXPECT_DOUBLE_EQ(s.totalV, 1234.2);
    EXPECT_EQ(FormatoImporte(s.DiferenciaIva()), QStringLiteral("-807,30"));
    EXPECT_EQ(FormatoImporte(s.DiferenciaTotal()), QStringLiteral("-4.651,68"));

    const SumasInforme vacio = SumaFilas({});
    EXPECT_EQ(FormatoImporte(vacio.DiferenciaIva()), QStringLiteral("0,00"));
    EXPECT_EQ(FormatoImporte(vacio.totalV), QStringLiteral("0,00"));
}

TEST(Sumas, CobradoMenosPagado) {
    const SumasInforme s = SumaFilas({Fila(QDate(2026, 2, 1), 10, 60, 30, 180)});
    EXPECT_DOUBLE_EQ(s.DiferenciaIva(), 20);
    EXPECT_DOUBLE_EQ(s.DiferenciaTotal(), 120);
}

TEST(Informe, GuardaSuPropiaCopiaDeLasFilas) {
    std::vector<FilaListado> filas{Fila(QDate(2026, 3, 1), 1, 2, 3, 4)};
    FacturasRpt rpt;
    rpt.SetDataSource(filas);
    filas[0].ivaC = 99;
    filas.push_back(filas[0]);
    ASSERT_EQ(rpt.Filas().size(), 1u);
    EXPECT_EQ(*rpt.Filas()[0].ivaC, 1);
}

TEST(Informe, TextosDeDisenoYNombresDesconocidos) {
    FacturasRpt rpt;
    EXPECT_EQ(rpt.Texto(QStringLiteral("TxtFecha")), QStringLiteral("entre"));
    for (const char* n : {"TxtIVA1", "TxtIVA2", "TxtIVA3"})
        EXPECT_EQ(rpt.Texto(QLatin1String(n)), QStringLiteral("IVA")) << n;
    for (const char* n : {"TxtNombre", "TxtDireccion", "TxtOtros", "TxtFraseFinal"})
        EXPECT_TRUE(rpt.Texto(QLatin1String(n)).isEmpty()) << n;

    EXPECT_TRUE(rpt.SetText(QStringLiteral("TxtIVA2"), QStringLiteral("IGIC")));
    EXPECT_EQ(rpt.Texto(QStringLiteral("TxtIVA2")), QStringLiteral("IGIC"));
    EXPECT_EQ(rpt.Texto(QStringLiteral("TxtIVA1")), QStringLiteral("IVA"));
    // Set to empty prints empty, not the design text.
    EXPECT_TRUE(rpt.SetText(QStringLiteral("TxtFecha"), QString()));
    EXPECT_TRUE(rpt.Texto(QStringLiteral("TxtFecha")).isEmpty());

    EXPECT_FALSE(rpt.SetText(QStringLiteral("Text5"), QStringLiteral("X")));
    EXPECT_FALSE(rpt.SetText(QStringLiteral("TxtIVA4"), QStringLiteral("X")));
    EXPECT_TRUE(rpt.Texto(QStringLiteral("TxtIVA4")).isEmpty());
}

// ---- Painting ------------------------------------------------------------------

class InformePdf : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FacturasRpt rpt;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        rpt.SetFechaImpresion(QDate(2026, 4, 2));
        rpt.SetText(QStringLiteral("TxtNombre"), QStringLiteral("Ferretería O'Donnell, S.L."));
        rpt.SetText(QStringLiteral("TxtDireccion"), QStringLiteral("Calle Mayor, 12"));
        rpt.SetText(QStringLiteral("TxtOtros"), QStringLiteral("28013 Madrid Madrid"));
        rpt.SetText(QStringLiteral("TxtFecha"), LineaTitulo(QStringLiteral("01/01/2026"), QStringLiteral("31/03/2026")));
        rpt.SetText(QStringLiteral("TxtFraseFinal"), QStringLiteral("Documento sin validez fiscal."));
        for (const char* n : {"TxtIVA1", "TxtIVA2", "TxtIVA3"})
            rpt.SetText(QLatin1String(n), QStringLiteral("IGIC"));
    }
};

TEST_F(InformePdf, UnaPaginaConCabeceraFilasSumasYFrase) {
    rpt.SetDataSource({
        Fila(QDate(2026, 1, 5), 214.24, 1234.5, 42, 242),
        Fila(QDate(2026, 2, 10), std::nullopt, std::nullopt, 2100, 12100),
        Fila(QDate(2026, 3, 31), 7, 40.33, std::nullopt, std::nullopt),
    });
    const QString ruta = EscribePdf(rpt, dir.path());
    ASSERT_EQ(NumPaginasPdf(ruta), 1);
    const QString t = TextoPdf(ruta);
    for (const char* esperado :
         {"Ferretería O'Donnell, S.L.", "Calle Mayor, 12", "28013 Madrid Madrid", "Listado de Facturación",
          "PAGADO", "COBRADO", "FECHA", "IGIC", "TOTAL",
          "05/01/2026", "10/02/2026", "31/03/2026", "214,24", "1.234,50", "2.100,00", "12.100,00", "40,33",
          // sums: paid 221,24 / 1.274,83, collected 2.142,00 / 12.342,00
          "221,24", "1.274,83", "2.142,00", "12.342,00", "DIFERENCIA (Cobros - Pagos)",
          // differences collected minus paid
          "1.920,76", "11.067,17", "Documento sin validez fiscal.", "02/04/2026"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(esperado))) << esperado << "\n" << t.toStdString();
    // pdftotext writes any gap between words as one blank; the two blanks on
    // each side of the "y" show as a gap twice as wide as a single blank.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("entre las fechas 01/01/2026 +y +31/03/2026")).match(t).hasMatch());
    const auto palabras = PalabrasPdf(ruta);
    const double blanco = palabras.value(QStringLiteral("fechas")).left() - palabras.value(QStringLiteral("las")).right();
    EXPECT_NEAR(blanco, 2.78, 0.2);  // one blank of 10 pt Arial, in points
    EXPECT_NEAR(palabras.value(QStringLiteral("y")).left() - palabras.value(QStringLiteral("01/01/2026")).right(), 2 * blanco, 0.1);
    EXPECT_NEAR(palabras.value(QStringLiteral("31/03/2026")).left() - palabras.value(QStringLiteral("y")).right(), 2 * blanco, 0.1);
    // The tax word stands in for the design text in all three captions.
    EXPECT_EQ(t.count(QStringLiteral("IGIC")), 3);
    EXPECT_FALSE(t.contains(QStringLiteral("IVA")));

    // A blank cell is not printed as zero: the only zeros are in the sums line.
    const QStringList lineas = t.split(QLatin1Char('\n'));
    auto linea = [&](const QString& fecha) {
        for (const QString& l : lineas)
            if (l.contains(fecha) && !l.contains(QStringLiteral("entre")))
                return l;
        return QString();
    };
    const QString soloCobrado = linea(QStringLiteral("10/02/2026"));
    EXPECT_EQ(soloCobrado.simplified(), QStringLiteral("10/02/2026 2.100,00 12.100,00"));
    const QString soloPagado = linea(QStringLiteral("31/03/2026"));
    EXPECT_EQ(soloPagado.simplified(), QStringLiteral("31/03/2026 7,00 40,33"));
    // Paid amounts stand left of the separator, collected amounts right of it.
    EXPECT_LT(soloPagado.indexOf(QStringLiteral("40,33")), soloCobrado.indexOf(QStringLiteral("2.100,00")));
}

TEST_F(InformePdf, SinFilasSalenCabecerasYPies) {
    const QString ruta = EscribePdf(rpt, dir.path());
    ASSERT_EQ(NumPaginasPdf(ruta), 1);
    const QString t = TextoPdf(ruta);
    for (const char* esperado : {"Listado de Facturación", "PAGADO", "COBRADO", "DIFERENCIA (Cobros - Pagos)",
                                 "Documento sin validez fiscal.", "02/04/2026"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(esperado))) << esperado;
    EXPECT_EQ(t.count(QStringLiteral("0,00")), 6);  // four sums and two differences
}

TEST_F(InformePdf, TextosSinAsignarSalenConSuTextoDeDiseno) {
    FacturasRpt vacio;
    const QString t = TextoPdf(EscribePdf(vacio, dir.path()));
    EXPECT_TRUE(t.contains(QStringLiteral("entre"))) << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("entre las fechas")));
    EXPECT_EQ(t.count(QStringLiteral("IVA")), 3);
}

TEST_F(InformePdf, MuchasFilasEnVariasPaginas) {
    rpt.SetDataSource(MuchasFilas(130));
    const QString ruta = EscribePdf(rpt, dir.path());
    ASSERT_EQ(rpt.NumPaginas(), 3);
    ASSERT_EQ(NumPaginasPdf(ruta), 3);
    int lineas = 0;
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const QString t = TextoPdf(ruta, i);
        // page header and footer on every page
        EXPECT_EQ(t.count(QStringLiteral("PAGADO")), 1);
        EXPECT_EQ(t.count(QStringLiteral("COBRADO")), 1);
        EXPECT_TRUE(t.contains(QStringLiteral("02/04/2026")));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("\\s%1\\s*$").arg(i)).match(t).hasMatch()) << t.toStdString();
        // report header on the first page, report footer on the last
        EXPECT_EQ(t.contains(QStringLiteral("Listado de Facturación")), i == 1);
        EXPECT_EQ(t.contains(QStringLiteral("Ferretería")), i == 1);
        EXPECT_EQ(t.contains(QStringLiteral("DIFERENCIA (Cobros - Pagos)")), i == 3);
        EXPECT_EQ(t.contains(QStringLiteral("Documento sin validez fiscal.")), i == 3);
        lineas += t.count(QStringLiteral("121,00"));
    }
    EXPECT_EQ(lineas, 130);
    const QString ultima = TextoPdf(ruta, 3);
    EXPECT_TRUE(ultima.contains(QStringLiteral("2.730,00")));   // 130 x 21
    EXPECT_TRUE(ultima.contains(QStringLiteral("15.730,00")));  // 130 x 121
    EXPECT_TRUE(ultima.contains(QStringLiteral("31.460,00")));  // 130 x 242
    // the first and last days are printed where they belong
    EXPECT_TRUE(TextoPdf(ruta, 1).contains(QStringLiteral("01/01/2026")));
    EXPECT_TRUE(ultima.contains(EscribeFecha(QDate(2026, 1, 1).addDays(129))));
}

TEST_F(InformePdf, ImprimeUnIntervaloDePaginas) {
    rpt.SetDataSource(MuchasFilas(130));
    const QString ruta = dir.path() + QStringLiteral("/parte.pdf");
    QPdfWriter pdf(ruta);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    ASSERT_TRUE(rpt.Imprime(pdf, 2, 3));
    ASSERT_EQ(NumPaginasPdf(ruta), 2);
    EXPECT_FALSE(TextoPdf(ruta, 1).contains(QStringLiteral("Listado de Facturación")));
    EXPECT_TRUE(TextoPdf(ruta, 2).contains(QStringLiteral("DIFERENCIA")));
}

TEST_F(InformePdf, FalloAlAbrirElArchivo) {
    QPdfWriter pdf(dir.path() + QStringLiteral("/no/existe/listado.pdf"));
    EXPECT_FALSE(rpt.Imprime(pdf));
}

TEST_F(InformePdf, LosMargenesDelDispositivoNoMuevenLaPagina) {
    // A device whose printable area starts inside the sheet prints the same
    // positions as one without margins.
    rpt.SetDataSource(MuchasFilas(2));
    const QString a = EscribePdf(rpt, dir.path());
    const QString b = dir.path() + QStringLiteral("/margenes.pdf");
    {
        QPdfWriter pdf(b);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 15, 10, 10),
                                      QPageLayout::Millimeter));
        ASSERT_TRUE(rpt.Imprime(pdf));
    }
    auto cajas = [](const QString& ruta) {
        return PalabrasPdf(ruta).value(QStringLiteral("PAGADO"), QRectF(-1, -1, 0, 0)).topLeft();
    };
    const QPointF pa = cajas(a), pb = cajas(b);
    ASSERT_GE(pa.x(), 0);
    EXPECT_NEAR(pa.x(), pb.x(), 0.5);
    EXPECT_NEAR(pa.y(), pb.y(), 0.5);
    // "PAGADO" is centred in its box: 850 + 2938 + 2534 / 2 twips from the left edge, in points.
    EXPECT_NEAR(pa.x(), (MargenIzquierdo + 2938 + 2534 / 2.0) / 20 - 25, 10);
}

TEST(InformeImagen, UnImporteQueNoCabeSaleMasPequenoYEntero) {
    // 10 pt in a detail amount box 1243 twips wide.
    EXPECT_EQ(TamanoImporte(QStringLiteral("1.234,50"), 10, false, 1243), 200);
    const QString largo = FormatoImporte(-987654321.09);
    const int t = TamanoImporte(largo, 10, false, 1243);
    EXPECT_LT(t, 200);
    EXPECT_GT(t, 100);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(t);
    f.setHintingPreference(QFont::PreferNoHinting);
    EXPECT_LE(QFontMetricsF(f).horizontalAdvance(largo), 1243);
    f.setPixelSize(t + 1);
    EXPECT_GT(QFontMetricsF(f).horizontalAdvance(largo), 1243);

    // Painted, the whole figure is in the file.
    QTemporaryDir dir;
    FacturasRpt rpt;
    rpt.SetDataSource({Fila(QDate(2026, 1, 5), std::nullopt, -987654321.09, std::nullopt, std::nullopt)});
    const QString texto = TextoPdf(EscribePdf(rpt, dir.path()));
    EXPECT_TRUE(texto.contains(QStringLiteral("-987.654.321,09"))) << texto.toStdString();
}

TEST(InformeImagen, CajasGrisesLineasYRecorte) {
    FacturasRpt rpt;
    rpt.SetText(QStringLiteral("TxtNombre"), QString(200, QLatin1Char('W')));
    rpt.SetText(QStringLiteral("TxtFraseFinal"), QString(400, QLatin1Char('M')));
    rpt.SetDataSource(MuchasFilas(3));
    const QImage img = Imagen(rpt, 0);
    const double x0 = MargenIzquierdo;
    const double cabPag = MargenSuperior + AltoCabeceraInforme;
    // Silver background of "PAGADO" and "COBRADO", away from their letters.
    EXPECT_EQ(Pixel(img, x0 + 2938 + 120, cabPag + 217), QColor(192, 192, 192));
    EXPECT_EQ(Pixel(img, x0 + 5814 + 2556 - 120, cabPag + 217), QColor(192, 192, 192));
    // The separator crosses the detail lines.
    const double detalle = cabPag + AltoCabeceraPagina;
    EXPECT_GT(PixelesOscuros(img, x0 + 5637 - 20, detalle + 60, 40, 120), 0);
    // A long company name stops at the right edge of its box (171 + 3933) ...
    EXPECT_GT(PixelesOscuros(img, x0 + 171, MargenSuperior + 57, 3933, 240), 0);
    EXPECT_EQ(PixelesOscuros(img, x0 + 4104 + 30, MargenSuperior + 57, 4218 - 4104 - 60, 240), 0);
    // ... and so does a long closing phrase (342 .. 9918), on both sides.
    const double pie = detalle + 3 * AltoDetalle;
    EXPECT_GT(PixelesOscuros(img, x0 + 342, pie + 1155, 9576, 240), 0);
    EXPECT_EQ(PixelesOscuros(img, 0, pie + 1155, x0 + 342 - 30, 240), 0);
    EXPECT_EQ(PixelesOscuros(img, x0 + 9918 + 30, pie + 1155, AnchoPagina - x0 - 9918 - 30, 240), 0);
}
