#include "dominio/declaraciones/Fichero390.h"
#include "dominio/declaraciones/Modelo390.h"

#include "ApoyoLiquidacion.h"
#include "ApoyoPruebas.h"
#include "base/Formatos.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/facturas/Trimestres.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

FacturaDeclarada F(char lado, qint64 tipo, qint64 base, QDate fecha, QDate operacion = {}) {
    FacturaDeclarada f = Factura(lado == 'C', tipo, base, base * tipo / 10000, QStringLiteral("X"), fecha);
    f.fechaOperacion = operacion;
    return f;
}

QString Avisos(const Modelo390& m) {
    QStringList r;
    for (const auto* lista : {&m.avisosPrevios, &m.avisos})
        for (const Liquidacion::Aviso& a : *lista)
            r << a.texto;
    return r.join('\n');
}

}  // namespace

// The boxes the invoices fill, by rate and side, and what they add up to.
TEST(Modelo390, CasillasDeLasFacturas) {
    const struct {
        const char* caso;
        int anio;
        std::vector<FacturaDeclarada> facturas;
        std::map<QString, qint64> casillas;  // those listed; every other amount box 0
        const char* aviso;                   // part of one warning, "" for none to look for
    } casos[] = {
        {"ventas y compras de 2025",
         2025,
         {F('C', 2100, 100000, {2025, 2, 1}), F('C', 1000, 20000, {2025, 11, 3}), F('C', 400, 5000, {2025, 5, 1}),
          F('C', 0, 3000, {2025, 5, 1}), F('P', 1000, 50000, {2025, 5, 2}), F('P', 2100, 10000, {2025, 12, 30})},
         {{"05", 100000}, {"06", 21000}, {"03", 20000}, {"04", 2000}, {"01", 5000}, {"02", 200}, {"700", 3000},
          {"33", 128000}, {"34", 23200}, {"47", 23200}, {"603", 50000}, {"604", 5000}, {"605", 10000}, {"606", 2100},
          {"48", 60000}, {"49", 7100}, {"64", 7100}, {"65", 16100}, {"84", 16100}, {"86", 16100},
          // 1T +210,00; 2T 2,00 - 50,00; 4T 20,00 - 21,00.
          {"95", 21000}, {"662", 4800}, {"98", 100}, {"99", 128000}, {"108", 128000}},
         ""},
        {"rectificativas con su signo, último trimestre a devolver",
         2025,
         {F('C', 2100, -40000, {2025, 10, 5}), F('P', 2100, -10000, {2025, 3, 5})},
         {{"29", -40000}, {"30", -8400}, {"33", -40000}, {"34", -8400}, {"47", -8400}, {"639", -10000}, {"62", -2100},
          {"64", -2100}, {"65", -6300}, {"84", -6300}, {"86", -6300}, {"95", 2100}, {"98", 8400}, {"99", -40000},
          {"108", -40000}},
         ""},
        {"2024: el 5 % y el 7,5 % en sus filas",
         2024,
         {F('C', 500, 10000, {2024, 2, 1}), F('C', 750, 20000, {2024, 11, 1}), F('C', 200, 1000, {2024, 12, 1})},
         {{"702", 10000}, {"703", 500}, {"669", 20000}, {"670", 1500}, {"667", 1000}, {"668", 20}, {"33", 31000},
          {"34", 2020}, {"47", 2020}, {"65", 2020}, {"84", 2020}, {"86", 2020}, {"95", 2020}, {"99", 31000},
          {"108", 31000}},
         "sin casilla"},  // looked for below as absent
        {"compra de 2024 recibida en 2025 al 7,5 %",
         2025,
         {F('P', 750, 10000, {2025, 1, 15}, {2024, 12, 20})},
         {{"697", 10000}, {"698", 750}, {"48", 10000}, {"49", 750}, {"64", 750}, {"65", -750}, {"84", -750},
          {"86", -750}, {"662", 750}},
         ""},
        {"venta por su fecha de operación, fuera del año",
         2025,
         {F('C', 2100, 10000, {2025, 12, 30}, {2026, 1, 2}), F('C', 2100, 10000, {2024, 12, 30}, {2025, 1, 2})},
         {{"05", 10000}, {"06", 2100}, {"33", 10000}, {"34", 2100}, {"47", 2100}, {"65", 2100}, {"84", 2100},
          {"86", 2100}, {"95", 2100}, {"99", 10000}, {"108", 10000}},
         "Queda fuera por su fecha de operación"},
        {"tipo no vigente",
         2025,
         {F('C', 1600, 10000, {2025, 3, 1})},
         {},
         "Tipo del 16 % sin casilla en el Modelo 390, por no ser un tipo vigente en la fecha de la operación: base "
         "100,00, cuota 16,00 (1 factura de Cobros). No se suma a ninguna casilla."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const Modelo390 m = CalculaModelo390(c.anio, "IVA", c.facturas);
        for (const Casilla390& k : m.casillas) {
            const auto it = c.casillas.find(k.numero);
            EXPECT_EQ(k.valor, it == c.casillas.end() ? 0 : it->second) << "casilla " << k.numero.toStdString();
        }
        EXPECT_TRUE(m.Cuadra()) << m.Comprobacion().toStdString();
        EXPECT_TRUE(m.Comprobacion().startsWith("Comprobación: el resultado (86) ")) << m.Comprobacion().toStdString();
        const QString avisos = Avisos(m);
        if (QString(c.caso).startsWith("2024"))
            EXPECT_FALSE(avisos.contains(c.aviso)) << avisos.toStdString();
        else
            EXPECT_TRUE(avisos.contains(QString::fromUtf8(c.aviso))) << avisos.toStdString();
    }
}

// The check names what differs when 86 is not the quarters' sum.
TEST(Modelo390, ComprobacionQueNoCuadra) {
    Modelo390 m = CalculaModelo390(2025, "IVA", {F('C', 2100, 10000, {2025, 2, 1})});
    m.casillas[0].valor = 5;  // as if the year had read more than the quarters
    m.diferencias << "700: 0,05 frente a 0,00 de los trimestres";
    for (Casilla390& c : m.casillas)
        if (c.numero == "86")
            c.valor += 5;
    EXPECT_EQ(m.Comprobacion(),
              "Atención: el resultado (86) 21,05 difiere en 0,05 de la suma de los cuatro trimestres (1T 21,00; 2T "
              "0,00; 3T 0,00; 4T 0,00), porque el año y los trimestres no suman igual las casillas 700: 0,05 frente a "
              "0,00 de los trimestres; 95 − 97 − 98 − 662 da 21,00.");
}

// The file as the agency's record design places each field (pages, lengths,
// positions from 1), read from dr390e2025.xlsx.
TEST(Modelo390, ArchivoCampoACampo) {
    EXPECT_EQ(Importe390(-12345), "N0000000000012345");
    EXPECT_EQ(Importe390(12345), "00000000000012345");
    const Modelo390 m = CalculaModelo390(
        2025, "IVA",
        {F('C', 2100, 123456, {2025, 2, 1}), F('C', 1000, 1000, {2025, 2, 1}), F('C', 400, 1000, {2025, 2, 1}),
         F('C', 0, 700, {2025, 2, 1}), F('C', 2100, -5000, {2025, 11, 1}), F('P', 400, 2000, {2025, 2, 1}),
         F('P', 1000, 3000, {2025, 2, 1}), F('P', 2100, 900000, {2025, 11, 1}), F('P', 2100, -1000, {2025, 11, 1}),
         F('P', 750, 2000, {2025, 1, 15}, {2024, 12, 1})});
    const Declarante347 d{"b-12345674", "Construcciones Ñandú, S.L.", "", ""};
    EXPECT_EQ(FaltaParaFichero390(d), "");
    const QByteArray f = Fichero390(m, d, true, "1.0");
    const struct {
        const char* codigo;
        int longitud;
    } paginas[] = {{"01000", 1187}, {"02000", 1806}, {"02B00", 531}, {"03000", 1840}, {"04000", 854}, {"06000", 828}};
    ASSERT_EQ(f.left(17), "<T390020250A0000>");
    EXPECT_EQ(f.mid(17, 5), "<AUX>");
    EXPECT_EQ(f.mid(92, 4), "1.0 ");
    EXPECT_EQ(f.mid(322, 6), "</AUX>");
    EXPECT_EQ(f.right(18), "</T390020250A0000>");
    std::map<QString, QByteArray> pagina;
    qsizetype i = 328;
    for (const auto& p : paginas) {
        const QByteArray x = f.mid(i, p.longitud);
        EXPECT_EQ(x.left(11), QByteArray("<T390") + p.codigo + ">") << p.codigo;
        EXPECT_EQ(x.right(12), QByteArray("</T390") + p.codigo + ">") << p.codigo;
        EXPECT_EQ(x.mid(p.longitud - 162, 150), QByteArray(150, ' ')) << p.codigo;
        pagina[p.codigo] = x;
        i += p.longitud;
    }
    EXPECT_EQ(i + 18, f.size());
    const struct {
        const char* pagina;
        int posicion, longitud;
        const char* valor;  // UTF-8, compared in Latin-1
    } campos[] = {
        {"01000", 12, 2, "  "}, {"01000", 14, 9, "B12345674"}, {"01000", 23, 60, "CONSTRUCCIONES ÑANDU  S L"},
        {"01000", 103, 4, "2025"}, {"01000", 109, 2, "00"}, {"01000", 130, 3, "222"}, {"01000", 430, 1, "1"},
        {"02000", 12, 1, " "},
        {"02000", 13, 17, "00000000000000700"},   // 700
        {"02000", 30, 17, "00000000000000000"},   // 701
        {"02000", 81, 17, "00000000000001000"},   // 01
        {"02000", 98, 17, "00000000000000040"},   // 02
        {"02000", 183, 17, "00000000000001000"},  // 03
        {"02000", 200, 17, "00000000000000100"},  // 04
        {"02000", 217, 17, "00000000000123456"},  // 05
        {"02000", 234, 17, "00000000000025925"},  // 06
        {"02000", 1509, 17, "N0000000000005000"}, // 29
        {"02000", 1526, 17, "N0000000000001050"}, // 30
        {"02000", 1611, 17, "00000000000121156"}, // 33
        {"02000", 1628, 17, "00000000000025015"}, // 34
        {"02B00", 353, 17, "00000000000025015"},  // 47
        {"03000", 47, 17, "00000000000002000"},   // 190
        {"03000", 64, 17, "00000000000000080"},   // 191
        {"03000", 115, 17, "00000000000002000"},  // 697
        {"03000", 132, 17, "00000000000000150"},  // 698
        {"03000", 149, 17, "00000000000003000"},  // 603
        {"03000", 166, 17, "00000000000000300"},  // 604
        {"03000", 183, 17, "00000000000900000"},  // 605
        {"03000", 200, 17, "00000000000189000"},  // 606
        {"03000", 217, 17, "00000000000907000"},  // 48
        {"03000", 234, 17, "00000000000189530"},  // 49
        {"04000", 557, 17, "N0000000000001000"},  // 639
        {"04000", 574, 17, "N0000000000000210"},  // 62
        {"04000", 659, 17, "00000000000189320"},  // 64
        {"04000", 676, 17, "N0000000000164305"},  // 65
        {"06000", 30, 17, "N0000000000164305"},   // 84
        {"06000", 64, 17, "00000000000000000"},   // 85
        {"06000", 81, 17, "N0000000000164305"},   // 86
        {"06000", 98, 5, "00000"},                // 87
        {"06000", 225, 17, "00000000000025535"},  // 95: 1T 259,25 + 1,00 + 0,40 - 0,80 - 3,00 - 1,50
        {"06000", 276, 17, "00000000000000000"},  // 97
        {"06000", 293, 17, "00000000000189840"},  // 98: 4T -10,50 - 1.890,00 + 2,10
        {"06000", 310, 17, "00000000000000000"},  // 662
        {"06000", 361, 17, "00000000000121156"},  // 99
        {"06000", 650, 17, "00000000000121156"},  // 108
    };
    for (const auto& c : campos) {
        SCOPED_TRACE(QStringLiteral("página %1, posición %2").arg(c.pagina).arg(c.posicion).toStdString());
        EXPECT_EQ(pagina[c.pagina].mid(c.posicion - 1, c.longitud),
                  QString::fromUtf8(c.valor).leftJustified(c.longitud, ' ').toLatin1());
    }
    // Latin-1 text, no line ends.
    EXPECT_TRUE(f.contains("\xD1"));
    EXPECT_FALSE(f.contains('\n'));
    EXPECT_EQ(FaltaParaFichero390({"", "", "", ""}),
              "Para el archivo del Modelo 390 falta el NIF de la empresa y el nombre de la empresa (Datos de la "
              "Empresa).");
}

// On random invoices around the year, read from the database as the program
// reads them, each box of the 390 is the sum of the four quarterly returns'
// and its result is the sum of theirs.
TEST(Modelo390BD, SumaDeLosCuatroTrimestres) {
    for (unsigned semilla : {1u, 2u}) {
        SCOPED_TRACE(semilla);
        EntornoPruebas e;
        e.Conecta();
        std::mt19937 azar(semilla);
        const double tipos[] = {0, 2, 4, 5, 7.5, 10, 16, 21};
        auto entre = [&azar](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
        Conexion->Ejecutar("begin");
        for (int i = 0; i < 300; ++i) {
            const double tipo = tipos[entre(0, 7)];
            const qint64 base = entre(-20000, 500000);
            const qint64 cuota = qRound64(base * tipo / 100);
            const QDate fecha = QDate(2024, 11, 1).addDays(entre(0, 480));
            e.InsertaFactura(entre(0, 1) ? "C" : "P", QString("F%1").arg(i), EscribeFecha(fecha), FormatoCentimos(cuota),
                             FormatoCentimos(base + cuota), FormatoCentimos(base), TextoNumero(tipo));
            if (entre(0, 4) == 0)
                Conexion->Ejecutar(QString("update FACTURAS set FECHA_OPERACION = '%1' where COD_FACTURA = 'F%2'")
                                       .arg(EscribeFecha(fecha.addDays(entre(-60, 60))))
                                       .arg(i));
        }
        Conexion->Ejecutar("commit");
        for (int anio : {2024, 2025}) {
            SCOPED_TRACE(anio);
            const Modelo390 m = LeeModelo390(*Conexion, anio, "IVA");
            std::map<QString, qint64> suma;
            qint64 resultados = 0;
            for (int q = 0; q < 4; ++q) {
                const auto fechas = FechasTrimestre(q, QString::number(anio));
                const Liquidacion l = LeeLiquidacion(*Conexion, fechas->desde, fechas->hasta, "IVA");
                for (const Casilla& c : l.casillas)
                    if (c.numero != "151" && c.numero != "154")
                        suma[c.numero] += c.valor;
                resultados += l.Valor("71");
            }
            EXPECT_EQ(m.Valor("86"), resultados);
            EXPECT_TRUE(m.Cuadra()) << m.Comprobacion().toStdString();
            const std::pair<const char*, const char*> pares[] = {
                {"700", "150"}, {"01", "01"}, {"02", "03"}, {"03", "04"}, {"04", "06"}, {"05", "07"}, {"06", "09"},
                {"29", "14"},   {"30", "15"}, {"34", "27"}, {"48", "28"}, {"49", "29"}, {"639", "40"}, {"62", "41"},
                {"64", "45"},   {"65", "46"}, {"667", "165"}, {"668", "167"}};
            for (const auto& [n390, n303] : pares)
                EXPECT_EQ(m.Valor(n390), suma[n303]) << n390;
            EXPECT_EQ(m.Valor("702") + m.Valor("669"), suma["153"]);
            EXPECT_EQ(m.Valor("703") + m.Valor("670"), suma["155"]);
            qint64 porTipo = 0;
            for (const char* n : {"696", "191", "725", "698", "604", "606"})
                porTipo += m.Valor(n);
            EXPECT_EQ(porTipo, m.Valor("49"));
            EXPECT_NE(m.Valor("34"), 0);
        }
    }
}
