#include "ApoyoImportacion.h"

#include "base/Formatos.h"
#include "dominio/importacion/LectorCsv.h"
#include "dominio/importacion/LectorXlsx.h"
#include "dominio/importacion/MapaImportacion.h"
#include "dominio/importacion/ValoresImportacion.h"
#include "dominio/libros/Libros.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kEjemplo = QStringLiteral(FISCALINO_FIXTURES "/aeat/Ejemplo_2_1T_2023.xlsx");

QString Opcional(const std::optional<double>& v) { return v ? TextoNumero(*v) : QStringLiteral("-"); }

}  // namespace

TEST(ValoresImportacion, ImportesConComaOPunto) {
    struct Caso {
        const char* texto;
        char decimal;
        const char* esperado;  // "-": not an amount
    } casos[] = {
        {"1.234,56", ',', "1234,56"}, {"1,234.56", ',', "1234,56"}, {"1234.5", ',', "1234,5"},
        {"1.234", ',', "1234"},       {"1.234", '.', "1,234"},      {"1,234", '.', "1234"},
        {"1,234", ',', "1,234"},      {"12,3,4", ',', "-"},         {"12.3.4", ',', "-"},
        {"1.23.456", ',', "-"},       {" -121,00 € ", ',', "-121"}, {"1\u00a0234,56", ',', "1234,56"},
        {",5", ',', "0,5"},           {"-", ',', "-"},              {"abc", ',', "-"},
        {"", ',', "-"},               {"+7", '.', "7"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(Opcional(LeeImporteTexto(QString::fromUtf8(c.texto), QLatin1Char(c.decimal))), c.esperado)
            << c.texto << " " << c.decimal;
}

TEST(ValoresImportacion, FechasTiposYNumerosDeArchivo) {
    const std::pair<const char*, QDate> fechas[] = {
        {"06/12/2007", QDate(2007, 12, 6)}, {"6/12/07", QDate(2007, 12, 6)},   {"06-12-2007", QDate(2007, 12, 6)},
        {"2007-12-06", QDate(2007, 12, 6)}, {"2007-12-06T00:00:00", QDate(2007, 12, 6)},
        {"31/02/2023", QDate()},            {"2023-13-01", QDate()},           {"12/2023", QDate()},
    };
    for (const auto& [texto, fecha] : fechas)
        EXPECT_EQ(LeeFechaTexto(QString::fromLatin1(texto)).value_or(QDate()), fecha) << texto;
    const std::pair<const char*, int> tipos[] = {{"C", 1},        {"cobros", 1}, {"Emitidas", 1}, {"VENTA", 1},
                                                 {"P", 0},        {"Pagos", 0},  {"recibida", 0}, {"gastos", 0},
                                                 {"Factura", -1}, {"", -1}};
    for (const auto& [texto, tipo] : tipos)
        EXPECT_EQ(LeeTipoTexto(QString::fromLatin1(texto)).value_or(false) ? 1 : LeeTipoTexto(texto) ? 0 : -1, tipo)
            << texto;
    const std::pair<const char*, const char*> numeros[] = {{"1234.5", "1234,5"}, {"-1E-3", "-0,001"}, {"+2", "2"},
                                                           {"1,5", "-"},         {"inf", "-"},        {"", "-"}};
    for (const auto& [texto, esperado] : numeros)
        EXPECT_EQ(Opcional(LeeNumeroConPunto(texto)), esperado) << texto;
}

TEST(LectorCsv, CodificacionSeparadorYComillas) {
    EXPECT_EQ(DecodificaCsv("\xEF\xBB\xBFIb\xC3\xA1\xC3\xB1" "ez"), QStringLiteral("Ibáñez"));
    EXPECT_EQ(DecodificaCsv("Ib\xC3\xA1\xC3\xB1" "ez"), QStringLiteral("Ibáñez"));
    EXPECT_EQ(DecodificaCsv("Ib\xE1\xF1" "ez \x80"), QStringLiteral("Ibáñez €"));
    struct Caso {
        const char* texto;
        char separador;
        const char* registros;  // "line:field|field / ..."
    } casos[] = {
        {"a;b;c\n1;2;3\n", ';', "1:a|b|c / 2:1|2|3"},
        {"a,b,c\r\n1,\"2,5\",3\r\n", ',', "1:a|b|c / 2:1|2,5|3"},
        {"a\tb\n1\t2", '\t', "1:a|b / 2:1|2"},
        // A quoted field across lines, doubled quotes, a blank line skipped.
        {"a;b\n\"x\ny\";\"di \"\"no\"\"\"\n\n3;4\n", ';', "1:a|b / 2:x\ny|di \"no\" / 5:3|4"},
        // Decimal commas do not make the comma the separator.
        {"Total;Base\n1,5;2,5\n3,5;4,5\n", ';', "1:Total|Base / 2:1,5|2,5 / 3:3,5|4,5"},
        {"a;b\n\"sin cerrar;2\n", ';', "1:a|b / 2:sin cerrar;2\n!"},
    };
    for (const Caso& c : casos) {
        LectorCsv l;
        l.AbreTexto(QString::fromUtf8(c.texto));
        EXPECT_EQ(l.Separador(), QLatin1Char(c.separador)) << c.texto;
        QStringList registros;
        RegistroCsv r;
        while (l.Siguiente(r))
            registros << QString::number(r.linea) + QLatin1Char(':') + r.campos.join(QLatin1Char('|')) +
                             (r.comillasAbiertas ? QStringLiteral("!") : QString());
        EXPECT_EQ(registros.join(QStringLiteral(" / ")), QString::fromUtf8(c.registros)) << c.texto;
    }
}

TEST(LectorXlsx, CeldasComoLasMuestraLaHoja) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("celdas.xlsx");
    // Style 1: a date of the file's own format; 2: a built-in date (14); 3: a percentage; 4: "h:mm", no date.
    const QByteArray estilos =
        R"(<numFmts><numFmt numFmtId="164" formatCode="dd/mm/yyyy"/><numFmt numFmtId="165" formatCode="h:mm"/></numFmts>)"
        R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="14"/><xf numFmtId="10"/><xf numFmtId="165"/></cellXfs>)";
    const QByteArray textos = R"(<si><t>uno</t></si><si><r><t>Ib</t></r><r><t>áñez</t></r><rPh><t>x</t></rPh></si>)";
    const QByteArray datos =
        R"(<sheetData><row r="2"><c r="A2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c>)"
        R"(<c r="D2" t="inlineStr"><is><t>en línea</t></is></c><c r="E2"><v>121.5</v></c>)"
        R"(<c r="F2" s="1"><v>45008</v></c><c r="G2" s="2"><v>45008.75</v></c><c r="H2" s="3"><v>0.21</v></c>)"
        R"(<c r="I2" s="4"><v>0.5</v></c><c r="J2"><f>E2*2</f><v>243</v></c><c r="K2" t="str"><f>A2</f><v>uno</v></c>)"
        R"(<c r="L2" t="b"><v>1</v></c><c r="M2" t="e"><v>#N/A</v></c><c r="N2" t="d"><v>2023-03-23T00:00:00</v></c>)"
        R"(<c r="O2" s="1"/><c><v>7</v></c></row></sheetData>)";
    ASSERT_TRUE(EscribeLibro(ruta, "Hoja", datos, textos, estilos));
    LectorXlsx l;
    ASSERT_TRUE(l.Abre(ruta)) << l.Error().toStdString();
    EXPECT_EQ(l.Hojas(), QStringList{"Hoja"});
    QStringList leidas;
    ASSERT_TRUE(l.LeeHoja(0, [&](int fila, const std::vector<CeldaLeida>& celdas) {
        for (const CeldaLeida& c : celdas)
            leidas << QStringLiteral("%1%2:").arg(c.columna).arg(fila) +
                          (c.clase == CeldaLeida::Clase::Fecha    ? EscribeFecha(c.fecha)
                           : c.clase == CeldaLeida::Clase::Numero ? QLatin1Char('#') + TextoNumero(c.numero) +
                                                                        (c.porcentaje ? QStringLiteral("%") : QString())
                                                                  : c.texto);
        return true;
    }));
    EXPECT_EQ(leidas, (QStringList{"02:uno", "22:Ibáñez", "32:en línea", "42:#121,5", "52:23/03/2023", "62:23/03/2023",
                                   "72:#0,21%", "82:#0,5", "92:#243", "102:uno", "112:VERDADERO", "122:#N/A",
                                   "132:23/03/2023", "152:#7"}));
}

TEST(LectorXlsx, ElEjemploDeLaAgenciaYSusCombinadas) {
    LectorXlsx l;
    ASSERT_TRUE(l.Abre(kEjemplo)) << l.Error().toStdString();
    EXPECT_EQ(l.Hojas(), (QStringList{"EXPEDIDAS_INGRESOS", "RECIBIDAS_GASTOS"}));
    int filas = 0;
    QString u3;
    ASSERT_TRUE(l.LeeHoja(0, [&](int fila, const std::vector<CeldaLeida>& celdas) {
        ++filas;
        for (const CeldaLeida& c : celdas)
            if (fila == 3 && c.columna == ColumnaDeLetras("U"))
                u3 = TextoNumero(c.numero);  // a formula: its value when last computed
        return true;
    }));
    EXPECT_EQ(filas, 9);
    EXPECT_EQ(u3, QStringLiteral("605"));
    EXPECT_EQ(l.Combinadas().size(), 6u);
}

TEST(LectorXlsx, LoQueNoEsUnLibroSeRechazaSinRomperse) {
    QTemporaryDir dir;
    const QString zip = dir.filePath("zip.xlsx"), texto = dir.filePath("texto.xlsx"), mitad = dir.filePath("mitad.xlsx");
    ASSERT_TRUE(EscribeZip(zip, {{"hola.txt", "hola"}}));
    ASSERT_TRUE(EscribeTexto(texto, "Fecha;Total\n01/01/2026;121\n"));
    const QByteArray ejemplo = ContenidoArchivo(kEjemplo);
    ASSERT_TRUE(EscribeTexto(mitad, ejemplo.left(ejemplo.size() / 2)));
    for (const QString& ruta : {zip, texto, mitad, dir.filePath("no-existe.xlsx")}) {
        LectorXlsx l;
        EXPECT_FALSE(l.Abre(ruta)) << ruta.toStdString();
        EXPECT_EQ(l.Error(), QStringLiteral("no es un libro de Excel (XLSX) o está dañado")) << ruta.toStdString();
    }
}

TEST(LectorXlsx, UnaHojaDeUnMillonDeFilasSeLeeFilaAFila) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("millon.xlsx");
    constexpr int kFilas = 1048576;
    QByteArray datos = "<sheetData>" + FilaTextos(1, {"Fecha", "Total"});
    datos.reserve(kFilas * 16);
    for (int f = 2; f < kFilas; ++f)
        datos += "<row r=\"" + QByteArray::number(f) + "\"/>";
    datos += "<row r=\"1048576\"><c r=\"A1048576\"><v>45008</v></c><c r=\"B1048576\"><v>121</v></c></row></sheetData>";
    ASSERT_TRUE(EscribeLibro(ruta, "EXPEDIDAS", datos));
    datos.clear();
    datos.squeeze();
    rusage antes{}, despues{};
    getrusage(RUSAGE_SELF, &antes);
    LectorXlsx l;
    ASSERT_TRUE(l.Abre(ruta));
    std::vector<int> filas;
    ASSERT_TRUE(l.LeeHoja(0, [&](int fila, const std::vector<CeldaLeida>&) {
        filas.push_back(fila);
        return true;
    }));
    getrusage(RUSAGE_SELF, &despues);
    EXPECT_EQ(filas, (std::vector<int>{1, kFilas}));
    // The sheet's 20 MB of XML are never held whole (kilobytes).
    EXPECT_LT(despues.ru_maxrss - antes.ru_maxrss, 16 * 1024);
}

TEST(MapaImportacion, ColumnasPropuestasPorLasPalabrasDeLaCabecera) {
    auto titulos = [](const HojaLibro& h) {
        QStringList r;
        for (const ColumnaLibro& c : h.columnas)
            r << TituloColumna(c);
        return r;
    };
    struct Caso {
        const char* nombre;
        QStringList cabeceras;
        const char* esperado;  // CLAVE=column from 1, for the fields proposed
    } casos[] = {
        {"expedidas", titulos(HojaExpedidas()),
         "FECHA_FACTURA=9 FECHA_OPERACION=10 COD_FACTURA=12 NIF_TERCERO=16 NOMBRE_TERCERO=17 IMPORTE_TOTAL=21 "
         "IMPORTE_NETO=22 IVA=23 IMPORTE_IVA=24 PAIS_TERCERO=15 TIPO_ID_TERCERO=14 SERIE=11 NUMERO_FINAL=13 EXENTA=20 "
         "CLAVE_OPERACION=18"},
        {"recibidas", titulos(HojaRecibidas()),
         "FECHA_FACTURA=9 FECHA_OPERACION=10 COD_FACTURA=11 NIF_TERCERO=18 NOMBRE_TERCERO=19 IMPORTE_TOTAL=26 "
         "IMPORTE_NETO=27 IVA=28 IMPORTE_IVA=29 PAIS_TERCERO=17 TIPO_ID_TERCERO=16 NUMERO_FINAL=12 FECHA_RECEPCION=13 "
         "CLAVE_OPERACION=20"},
        {"usuario",
         {"Fecha", "Nº Factura", "Cliente", "CIF", "Base", "% IVA", "Cuota", "Total", "C/P", "Concepto", "País"},
         "TIPO=9 COD_FACTURA=2 FECHA_FACTURA=1 IMPORTE_NETO=5 IVA=6 IMPORTE_IVA=7 IMPORTE_TOTAL=8 DESCRIPCION=10 "
         "NIF_TERCERO=4 NOMBRE_TERCERO=3 PAIS_TERCERO=11"},
        {"tabla",
         {"ID", "COD_FACTURA", "FECHA_FACTURA", "IMPORTE_NETO", "IVA", "IMPORTE_IVA", "IMPORTE_TOTAL", "DESCRIPCION",
          "TIPO", "NIF_TERCERO", "NOMBRE_TERCERO", "FECHA_OPERACION"},
         "TIPO=9 COD_FACTURA=2 FECHA_FACTURA=3 FECHA_OPERACION=12 IMPORTE_NETO=4 IVA=5 IMPORTE_IVA=6 IMPORTE_TOTAL=7 "
         "DESCRIPCION=8 NIF_TERCERO=10 NOMBRE_TERCERO=11"},
    };
    for (const Caso& c : casos) {
        const MapaColumnas m = ProponeMapa(c.cabeceras);
        QSet<QString> dados;
        for (int k = 0; k < NumCamposImportacion; ++k)
            if (m.columnas[k] >= 0)
                dados << ClaveCampo(static_cast<CampoImportacion>(k)) + QLatin1Char('=') + QString::number(m.columnas[k] + 1);
        const QStringList esperado = QString::fromLatin1(c.esperado).split(QLatin1Char(' '));
        EXPECT_EQ(dados, QSet<QString>(esperado.begin(), esperado.end())) << c.nombre;
    }
    EXPECT_EQ(TipoDeLibro("EXPEDIDAS", {}), true);
    EXPECT_EQ(TipoDeLibro("libros_RECIBIDAS", {}), false);
    EXPECT_EQ(TipoDeLibro("Hoja1", titulos(HojaRecibidas())), false);
    EXPECT_EQ(TipoDeLibro("Hoja1", {"Fecha", "Total"}), std::nullopt);
}

TEST(MapaImportacion, ElArchivoDelMapa) {
    const QStringList cabeceras{"Fecha", "Número", "Total", "Total", ""};
    MapaColumnas m;
    m[CampoImportacion::Fecha] = 0;
    m[CampoImportacion::Codigo] = 1;
    m[CampoImportacion::Total] = 3;  // the second "Total": by number
    m[CampoImportacion::Descripcion] = 4;
    m.tipoFijo = false;
    const QString texto = EscribeMapa(m, cabeceras);
    EXPECT_TRUE(texto.contains("TIPO=Pagos\n") && texto.contains("COD_FACTURA=Número\n") &&
                texto.contains("IMPORTE_TOTAL=#4\n") && texto.contains("DESCRIPCION=#5\n"))
        << texto.toStdString();
    const LecturaMapa l = LeeMapa("# notas\n" + texto, cabeceras);
    EXPECT_TRUE(l.error.isEmpty()) << l.error.toStdString();
    EXPECT_TRUE(l.mapa == m);
    const std::pair<const char*, const char*> malos[] = {
        {"IMPORTE=Total", "Línea 1 del mapa: 'IMPORTE=Total' no es CAMPO=columna."},
        {"\nFECHA_FACTURA", "Línea 2 del mapa: 'FECHA_FACTURA' no es CAMPO=columna."},
        {"IMPORTE_TOTAL=Suma", "Línea 1 del mapa: el archivo no tiene la columna 'Suma'."},
        {"IMPORTE_TOTAL=#9", "Línea 1 del mapa: el archivo no tiene la columna '#9'."},
    };
    for (const auto& [mapa, error] : malos)
        EXPECT_EQ(LeeMapa(QString::fromUtf8(mapa), cabeceras).error, QString::fromUtf8(error)) << mapa;
    EXPECT_EQ(MapaColumnas().Falta(), QStringLiteral("el tipo (Cobros o Pagos), la fecha y el total o la base"));
}
