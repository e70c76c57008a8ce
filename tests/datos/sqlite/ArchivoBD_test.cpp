#include "ApoyoPruebas.h"

#include "datos/sqlite/ArchivoBD.h"
#include "datos/motor/Esquema.h"
#include "datos/BaseDatos.h"
#include "datos/MarcaUso.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace {

class ArchivoBD : public ::testing::Test {
protected:
    EntornoPruebas e;
    void SetUp() override {
        e.Conecta();
        e.InsertaParametros();
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        e.InsertaFactura("C", "C-1", "15/01/2027", "2,10", "12,10");
        e.InsertaFactura("C", "C-2", "07/12/2026", "2,10", "12,10");
    }
    QString Ruta(const char* nombre) const { return e.Carpeta() + QLatin1Char('/') + QLatin1String(nombre); }
};

// `flock -n -x` from another process: 0 when it could take the file at once, 1 when someone holds it.
int ExclusivoDesdeOtroProceso(const QString& ruta) {
    QProcess p;
    p.start(QStringLiteral("flock"), {QStringLiteral("-n"), QStringLiteral("-x"), ruta, QStringLiteral("true")});
    return p.waitForFinished(10000) ? p.exitCode() : -1;
}

}  // namespace

TEST_F(ArchivoBD, ElExamenDiceQueEsCadaArchivoYQueGuarda) {
    SOLO_CON_ARCHIVO();
    CierraConexion();
    ASSERT_TRUE(QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/estructura1.mdb"), Ruta("v1.mdb")));
    const struct {
        const char* nombre;
        std::optional<ArchivoMalo> malo;
        bool integridad;
        EstadoArchivoBD estado;
        int version;
        qint64 facturas;
        QDate ultima;
    } casos[] = {
        {"Fiscalino.mdb", std::nullopt, true, EstadoArchivoBD::Valida, VersionEstructura, 3, QDate(2027, 1, 15)},
        // The earliest layout's indexes call a function the program no longer has.
        {"v1.mdb", std::nullopt, true, EstadoArchivoBD::Valida, 1, 7, QDate(2026, 6, 30)},
        {"no-existe.mdb", std::nullopt, true, EstadoArchivoBD::NoEncontrada, 0, 0, {}},
        {"truncado.mdb", ArchivoMalo::Truncado, false, EstadoArchivoBD::Danada, 0, 0, {}},
        {"azar.mdb", ArchivoMalo::Azar, false, EstadoArchivoBD::Ajena, 0, 0, {}},
        {"ajeno.mdb", ArchivoMalo::Ajeno, false, EstadoArchivoBD::Ajena, 0, 0, {}},
        {"vacio.mdb", ArchivoMalo::Vacio, false, EstadoArchivoBD::Ajena, 0, 0, {}},
        {"nuevo.mdb", ArchivoMalo::MasReciente, false, EstadoArchivoBD::MasReciente, 99, 0, {}},
        {"danado.mdb", ArchivoMalo::Danado, true, EstadoArchivoBD::Danada, VersionEstructura, 0, {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        if (c.malo)
            HazArchivoMalo(*c.malo, e.RutaBD(), Ruta(c.nombre));
        const QByteArray antes = ContenidoArchivo(Ruta(c.nombre));
        const ExamenArchivoBD x = ExaminaArchivoBD(Ruta(c.nombre), c.integridad);
        EXPECT_EQ(x.estado, c.estado);
        EXPECT_EQ(x.version, c.version);
        if (c.estado == EstadoArchivoBD::Valida) {
            EXPECT_EQ(x.facturas, c.facturas);
            EXPECT_EQ(x.ultimaFactura, c.ultima);
        }
        // Looking writes nothing, not even a journal.
        EXPECT_EQ(ContenidoArchivo(Ruta(c.nombre)), antes);
    }
    EXPECT_EQ(QDir(e.Carpeta()).entryList({QStringLiteral("*-journal")}, QDir::Files), QStringList());
}

// A writer of another instance in the middle of its transaction: the copy
// holds what was committed, whole, and the writer goes on.
TEST_F(ArchivoBD, LaCopiaEsUnaInstantaneaDeLoGuardado) {
    SOLO_CON_ARCHIVO();
    QProcess otro;
    otro.start(QStringLiteral("sqlite3"), {e.RutaBD()});
    ASSERT_TRUE(otro.waitForStarted(10000));
    otro.write("begin immediate;\n"
               "insert into FACTURAS (COD_FACTURA, FECHA_FACTURA, TIPO) values ('F-2', '2026-12-08', 'P');\n"
               "select 'dentro';\n");
    ASSERT_TRUE(otro.waitForReadyRead(10000));
    const QString destino = Ruta("copias/instantanea.mdb");
    Conexion->CopiaConsistente(destino);
    otro.write("commit;\n.quit\n");
    otro.closeWriteChannel();
    ASSERT_TRUE(otro.waitForFinished(10000));
    EXPECT_EQ(Sqlite(destino, QStringLiteral("pragma integrity_check; select group_concat(COD_FACTURA) from FACTURAS")),
              QStringLiteral("ok\nF-1,C-1,C-2"));
    EXPECT_EQ(Sqlite(e.RutaBD(), QStringLiteral("select count(*) from FACTURAS")), QStringLiteral("4"));
    EXPECT_EQ(QDir(Ruta("copias")).entryList(QDir::Files | QDir::Hidden), QStringList{"instantanea.mdb"});
}

// The copy and the restore take the instance's own mark exclusively, without
// ever letting the file go, and give it back shared.
TEST_F(ArchivoBD, ElUsoExclusivoDeLaPropiaInstanciaVuelveACompartirse) {
    SOLO_CON_ARCHIVO();
    {
        UsoExclusivo uso(e.RutaBD());
        EXPECT_TRUE(uso.Conseguido());
        EXPECT_FALSE(MarcaUsoTomada());
        EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
        // The connection still works while it is held.
        EXPECT_EQ(Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(), "3");
    }
    EXPECT_TRUE(MarcaUsoTomada());
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
    {
        OtraInstancia otra(e.RutaBD());
        ASSERT_TRUE(otra.Lista());
        UsoExclusivo uso(e.RutaBD());
        EXPECT_FALSE(uso.Conseguido());
    }
    // A refused change of kind did not lose the mark.
    EXPECT_TRUE(MarcaUsoTomada());
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
    CierraConexion();
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 0);
}

// An instance that starts while a restore holds the file marks the file the
// restore put in its place, not the one that was there when it started waiting.
TEST_F(ArchivoBD, LaMarcaQueEsperabaSeTomaSobreElArchivoNuevo) {
    SOLO_CON_ARCHIVO();
    CierraConexion();
    ASSERT_TRUE(QFile::copy(e.RutaBD(), Ruta("nueva.mdb")));
    bool tomada = false;
    {
        OtraInstancia restaurando(e.RutaBD(), true);
        ASSERT_TRUE(restaurando.Lista());
        std::thread esperando([&] { tomada = TomaMarcaUso(e.RutaBD()); });
        QThread::msleep(300);
        ASSERT_TRUE(QFile::rename(e.RutaBD(), Ruta("vieja.mdb")));
        ASSERT_TRUE(QFile::rename(Ruta("nueva.mdb"), e.RutaBD()));
        restaurando.p.kill();
        restaurando.p.waitForFinished(5000);
        esperando.join();
    }
    ASSERT_TRUE(tomada);
    EXPECT_EQ(ExclusivoDesdeOtroProceso(e.RutaBD()), 1);
    SueltaMarcaUso();
}
