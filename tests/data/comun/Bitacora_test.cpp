#include "ApoyoPruebas.h"

#include "data/comun/Bitacora.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString Lee(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

TEST(Bitacora, CadaAnotacionEnSuLineaFechadaYEnLaCarpetaDelUsuario) {
    EntornoPruebas e;
    EXPECT_EQ(ArchivoBitacora(), e.Carpeta() + "/usuario/Fiscalino.log");
    AnotaBitacora("primera");
    AnotaBitacora("dos\nlíneas");
    const QStringList lineas = Lee(ArchivoBitacora()).split('\n');
    ASSERT_EQ(lineas.size(), 4) << Lee(ArchivoBitacora()).toStdString();
    EXPECT_TRUE(lineas[0].contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d  primera$")));
    EXPECT_TRUE(lineas[1].endsWith("  dos"));
    EXPECT_EQ(lineas[2], "\tlíneas");
    EXPECT_EQ(lineas[3], "");
}

TEST(Bitacora, CreceHastaUnLimiteYGuardaLaAnterior) {
    EntornoPruebas e;
    const QString ruta = e.Carpeta() + "/otra/prueba.log";
    EstableceArchivoBitacora(ruta);
    const QString grande(600 * 1024, 'x');
    AnotaBitacora(grande);
    AnotaBitacora(grande);
    AnotaBitacora("nueva");
    EXPECT_TRUE(Lee(ruta).endsWith("  nueva\n"));
    EXPECT_LT(Lee(ruta).size(), 100);
    EXPECT_GT(Lee(ruta + ".1").size(), 1024 * 1024);
    EstableceArchivoBitacora(QString());
}
