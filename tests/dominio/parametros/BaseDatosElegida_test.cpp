#include "ApoyoPruebas.h"

#include "dominio/parametros/BaseDatosElegida.h"
#include "datos/postgresql/Pgpass.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(BaseDatosElegida, LaEleccionSeGuardaYDaLaDireccion) {
    EntornoPruebas e;
    EXPECT_FALSE(ServidorEnAjustes());
    EXPECT_EQ(BaseDatosElegida(), "");
    const struct {
        ServidorElegido s;
        const char* direccion;
    } casos[] = {
        {{"servidor", 5432, "fiscalino", "ana"}, "postgresql://ana@servidor:5432/fiscalino"},
        {{"192.168.1.10", 6543, "empresa 2026", "o'hara@tienda"}, "postgresql://o'hara%40tienda@192.168.1.10:6543/empresa%202026"},
        {{"/var/run/postgresql", 5432, "fiscalino", "ana"}, "postgresql://ana@:5432/fiscalino?host=/var/run/postgresql"},
    };
    for (const auto& c : casos) {
        GuardaEleccionBaseDatos(true, c.s);
        EXPECT_TRUE(ServidorEnAjustes());
        EXPECT_EQ(BaseDatosElegida(), c.direccion);
    }
    // Back to the file: the server's data stays for the next time.
    GuardaEleccionBaseDatos(false, casos[0].s);
    EXPECT_EQ(BaseDatosElegida(), "");
    EXPECT_EQ(LeeServidorElegido().servidor, "servidor");
}

TEST(BaseDatosElegida, LaContrasenaVaAlArchivoDelUsuarioYSoloParaEl) {
    EntornoPruebas e;
    const QString archivo = e.Carpeta() + "/pgpass";
    qputenv("PGPASSFILE", archivo.toUtf8());
    ASSERT_TRUE(GuardaClavePgpass("servidor", 5432, "fiscalino", "ana", "primera"));
    ASSERT_TRUE(GuardaClavePgpass("otro", 5432, "fiscalino", "ana", "otra"));
    ASSERT_TRUE(GuardaClavePgpass("servidor", 5432, "fiscalino", "ana", "se:gun\\da"));
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), "otro:5432:fiscalino:ana:otra\nservidor:5432:fiscalino:ana:se\\:gun\\\\da\n");
    EXPECT_EQ(f.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    qunsetenv("PGPASSFILE");
}
