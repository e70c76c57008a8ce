#include "ApoyoPruebas.h"

#include "base/Mensajes.h"

#include "datos/BaseDatos.h"
#include "datos/MarcaUso.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Exit code of `flock -n -x <file> true`: 0 when another process could take
// the file exclusively at once, 1 when someone holds a lock on it.
int ExclusivoDesdeOtroProceso(const QString& ruta) {
    QProcess p;
    p.start(QStringLiteral("flock"), {QStringLiteral("-n"), QStringLiteral("-x"), ruta, QStringLiteral("true")});
    if (!p.waitForFinished(10000))
        return -1;
    return p.exitCode();
}

}  // namespace

TEST(MarcaUso, LaConexionMarcaLaBaseMientrasEstaAbierta) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    EXPECT_TRUE(MarcaUsoTomada());
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
    CierraConexion();
    EXPECT_FALSE(MarcaUsoTomada());
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 0);
}

TEST(MarcaUso, ElUsoExclusivoSeNiegaMientrasOtraInstanciaTieneLaBase) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    CierraConexion();
    {
        OtraInstancia otra(e.RutaBD());
        ASSERT_TRUE(otra.Lista());
        UsoExclusivo uso(e.RutaBD());
        EXPECT_TRUE(uso.Abierto());
        EXPECT_FALSE(uso.Conseguido());
    }
    UsoExclusivo uso(e.RutaBD());
    EXPECT_TRUE(uso.Conseguido());
    // While the copy holds the file, nobody else marks it.
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
}

TEST(MarcaUso, LosProcesosHijosNoHeredanLaMarca) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    QProcess hijo;
    hijo.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(hijo.waitForStarted(10000));
    CierraConexion();
    EXPECT_TRUE(UsoExclusivo(e.RutaBD()).Conseguido());
    hijo.kill();
    hijo.waitForFinished(5000);
}

TEST(MarcaUso, SinSuMarcaLaInstanciaLoDiceYNoUsaLaBase) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    CierraConexion();
    const auto contenido = [&] {
        QFile f(e.RutaBD());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray antes = contenido();
    OtraInstancia copia(e.RutaBD(), true);
    ASSERT_TRUE(copia.Lista());
    RegistroMensajes r;
    EXPECT_FALSE(ConectarBD());
    EXPECT_FALSE(Conexion);
    EXPECT_FALSE(MarcaUsoTomada());
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, "No se puede usar la base de datos porque se está haciendo una copia de seguridad de "
                                "ella. Espere a que termine la copia y vuelva a arrancar el programa.");
    EXPECT_EQ(r.ultimo().icono, Icono::Critico);
    EXPECT_EQ(r.ultimo().titulo, "Fiscalino");
    EXPECT_EQ(contenido(), antes);
}

TEST(MarcaUso, SinArchivoNoHayUsoExclusivo) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    UsoExclusivo uso(e.Carpeta() + QStringLiteral("/no-existe.mdb"));
    EXPECT_FALSE(uso.Abierto());
    EXPECT_FALSE(uso.Conseguido());
}
