#include "ApoyoPruebas.h"

#include "base/Bitacora.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(Bitacora, AnotacionesFechadasEnLaCarpetaDelUsuarioHastaUnLimite) {
    EntornoPruebas e;
    EXPECT_EQ(ArchivoBitacora(), e.Carpeta() + "/usuario/Fiscalino.log");
    AnotaBitacora("dos\nlíneas");
    EXPECT_TRUE(e.Bitacora().contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d  dos\n\tlíneas\n$")))
        << e.Bitacora().toStdString();
    // Past its limit the log starts again, the previous one kept beside it.
    AnotaBitacora(QString(1100 * 1024, 'x'));
    AnotaBitacora("nueva");
    EXPECT_TRUE(e.Bitacora().endsWith("  nueva\n"));
    EXPECT_LT(e.Bitacora().size(), 100);
    EXPECT_TRUE(QFile::exists(ArchivoBitacora() + ".1"));
}
