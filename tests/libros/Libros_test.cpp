#include "ApoyoPruebas.h"

#include "libros/ArchivoLibros.h"
#include "libros/Libros.h"

#include <gtest/gtest.h>

namespace {
FacturaLibro Factura(bool expedida, const char* nif, std::optional<double> total) {
    FacturaLibro f;
    f.expedida = expedida;
    f.nif = QString::fromLatin1(nif);
    f.total = total;
    f.fecha = QDate(2026, 5, 31);
    return f;
}
}  // namespace

TEST(Libros, TipoDeFacturaYPeriodo) {
    const struct {
        bool expedida;
        const char* nif;
        std::optional<double> total;
        const char* tipo;
    } casos[] = {
        {true, "12345678Z", 121, "F1"},  {true, "", 121, "F2"},     {false, "B12345674", 0, "F1"},
        {true, "12345678Z", -121, "R4"}, {false, "", -0.01, "R5"},  {false, "", std::nullopt, "F2"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TipoFacturaLibro(Factura(c.expedida, c.nif, c.total)), c.tipo) << c.nif << " " << c.total.value_or(0);
    const int meses[] = {1, 3, 4, 6, 7, 9, 10, 12};
    const char* periodos[] = {"1T", "1T", "2T", "2T", "3T", "3T", "4T", "4T"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(PeriodoLibro(QDate(2026, meses[i], 1)), periodos[i]);
}

TEST(Libros, ImportesQueFaltanSeCompletan) {
    using O = std::optional<double>;
    const O n = std::nullopt;
    const struct {
        O total, base, tipo, cuota;      // stored
        O eTotal, eBase, eTipo, eCuota;  // written
    } casos[] = {
        {121, 100, 21, 21, 121, 100, 21, 21},
        // The stored ones are kept, even when they do not add up.
        {121, 99, 20, 21, 121, 99, 20, 21},
        {10, n, n, 0.65, 10, 9.35, 7, 0.65},
        {121, n, 21, n, 121, 100, 21, 21},
        {n, 100, 21, 21, 121, 100, 21, 21},
        {100, 100, n, 0, 100, 100, 0, 0},
        {121, 100, n, n, 121, 100, 21, 21},
        {121, n, n, n, 121, n, n, n},
    };
    for (const auto& c : casos) {
        FacturaLibro f;
        f.total = c.total;
        f.base = c.base;
        f.tipo = c.tipo;
        f.cuota = c.cuota;
        const ImportesLibro r = ImportesDe(f);
        SCOPED_TRACE(testing::Message() << c.total.value_or(-1) << " " << c.base.value_or(-1));
        auto igual = [](O a, O b) { return a.has_value() == b.has_value() && (!a || std::abs(*a - *b) < 1e-9); };
        EXPECT_TRUE(igual(r.total, c.eTotal));
        EXPECT_TRUE(igual(r.base, c.eBase));
        EXPECT_TRUE(igual(r.tipo, c.eTipo));
        EXPECT_TRUE(igual(r.cuota, c.eCuota));
        EXPECT_EQ(r.Completos(), c.eTotal && c.eBase && c.eTipo && c.eCuota);
    }
}

TEST(Libros, NombreDelArchivoYArchivosQueSeEscriben) {
    EXPECT_EQ(NombreArchivoLibros(2026, {"B12345674", "Talleres Ibáñez S/L: \"Norte\"", "", "", ""}),
              "2026B12345674CTalleres Ibáñez SL Norte");
    EXPECT_EQ(NombreArchivoLibros(2026, {}), "2026C");
    EXPECT_EQ(FormatoDeArchivo("a/b.XLSX"), FormatoLibros::Xlsx);
    EXPECT_EQ(FormatoDeArchivo("b.Csv"), FormatoLibros::Csv);
    EXPECT_EQ(FormatoDeArchivo("b.xls"), std::nullopt);
    EXPECT_EQ(FormatoDeArchivo("xlsx"), std::nullopt);
    EXPECT_EQ(ArchivosLibros("/d/l.v.csv", FormatoLibros::Csv),
              QStringList({"/d/l.v_EXPEDIDAS.csv", "/d/l.v_RECIBIDAS.csv"}));
    EXPECT_EQ(ArchivosLibros("/d/l.xlsx", FormatoLibros::Xlsx), QStringList{"/d/l.xlsx"});
}
