#include "informes/Modelo347Rpt.h"

#include "dominio/declaraciones/Modelo347Logica.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

FacturaTercero Factura(bool cobro, int mes, qint64 total, const QString& nif, const QString& nombre,
                       const QString& pais = {}) {
    return {cobro, QDate(2026, mes, 10), {}, total, nif, nombre, pais};
}

QString TextoPdf(const Modelo347Rpt& rpt) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("347.pdf");
    EXPECT_TRUE(EscribePdf(rpt, ruta, TextoModelo347::Titulo));
    QProcess p;
    p.start("pdftotext", {"-layout", ruta, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

// The page carries the company, the warnings before the rows, each row with
// its quarters and each key's totals.
TEST(Modelo347Rpt, FilasTotalesYAvisos) {
    const Modelo347 m = CalculaModelo347(
        2026,
        {Factura(true, 2, 200000, "12345678Z", "Ana Pérez"), Factura(true, 11, 300000, "12345678Z", "Ana Pérez"),
         Factura(true, 5, 400000, "B12345674", "Talleres Ibáñez SL"),
         Factura(false, 7, -350000, "B12345674", "Talleres Ibáñez SL"),
         Factura(true, 3, 500000, "", "Cliente sin NIF")},
        {{"12345678Z", {"PÉREZ ANA", "", "35001"}}});
    const Modelo347Rpt rpt(m, {"Bazar Atlántico SL", "Calle Mayor, 1", "35001 Las Palmas", "B76543214"},
                           QDate(2027, 2, 3));
    ASSERT_EQ(rpt.NumPaginas(), 1);
    const QString t = TextoPdf(rpt).simplified();
    for (const char* s : {"Bazar Atlántico SL", "NIF: B76543214", "Operaciones con terceros del año 2026",
                          "Declaración Anual de Operaciones con Terceros (Modelo 347)",
                          "A B12345674 Talleres Ibáñez SL -3.500,00 0,00 0,00 -3.500,00 0,00",
                          "Total clave A, 1 declarado -3.500,00 0,00 0,00 -3.500,00 0,00",
                          "B 12345678Z PÉREZ ANA 35 5.000,00 2.000,00 0,00 0,00 3.000,00",
                          "B B12345674 Talleres Ibáñez SL 4.000,00 0,00 4.000,00 0,00 0,00",
                          "Total clave B, 2 declarados 9.000,00 2.000,00 4.000,00 0,00 3.000,00", "03/02/2027"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s << "\n" << t.toStdString();
    ASSERT_FALSE(m.avisos.isEmpty());
    for (const QString& a : m.avisos)
        EXPECT_LT(t.indexOf(a), t.indexOf("Clave A:")) << a.toStdString();
}

// Many counterparties go on to further pages, each with its foot; a caption
// never ends a page alone.
TEST(Modelo347Rpt, VariasPaginas) {
    std::vector<FacturaTercero> facturas;
    for (int i = 0; i < 90; ++i)
        facturas.push_back(Factura(i % 2, 1 + i % 12, 400000 + i, QString("%1").arg(10000000 + i), "Tercero"));
    const Modelo347Rpt rpt(CalculaModelo347(2026, facturas, {}), {}, QDate(2027, 2, 3));
    ASSERT_GE(rpt.NumPaginas(), 2);
    const QString t = TextoPdf(rpt);
    EXPECT_EQ(t.count('\f'), rpt.NumPaginas());
    EXPECT_EQ(t.count("03/02/2027"), rpt.NumPaginas());
    const auto& r = rpt.Renglones();
    for (size_t i = 0; i + 1 < r.size(); ++i)
        if (r[i].clase == Modelo347Rpt::Renglon::Apartado || r[i].clase == Modelo347Rpt::Renglon::Columnas)
            EXPECT_EQ(r[i].pagina, r[i + 1].pagina) << r[i].textos.join(' ').toStdString();
}
