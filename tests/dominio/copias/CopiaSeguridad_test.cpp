#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "dominio/copias/CopiaSeguridadLogica.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QStringList Contenido(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class Copia : public ::testing::Test {
protected:
    EntornoPruebas e;
    QString destino;
    void SetUp() override {
        QDir(e.Carpeta()).mkdir(QStringLiteral("copias"));
        destino = e.Carpeta() + QStringLiteral("/copias/");
        EstableceCarpetaCopia(destino);
        e.Conecta();
        e.InsertaParametros();
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        e.InsertaFactura("C", "C-1", "07/12/2026", "2,10", "12,10");
    }
    void TearDown() override { EstableceCarpetaCopia(QString()); }
    QString Final() const { return destino + NombreCopiaSeguridad(QDate(2026, 12, 6), OrigenCopia()); }
};

}  // namespace

TEST(NombreCopia, ElUnoDeEneroLlevaCerosALaIzquierda) {
    EXPECT_EQ(NombreCopiaSeguridad(QDate(2027, 1, 1), RutaBaseDatosHabitual()), QStringLiteral("Fiscalino010127.mdb"));
}

TEST(CarpetaCopia, EsLaCarpetaPersonalSalvoEnLasPruebas) {
    EstableceCarpetaCopia(QString());
    EXPECT_EQ(CarpetaCopia(), QDir::toNativeSeparators(QDir::homePath()) + QDir::separator());
    EstableceCarpetaCopia(QStringLiteral("/tmp/otra"));
    EXPECT_EQ(CarpetaCopia(), QDir::toNativeSeparators(QStringLiteral("/tmp/otra/")));
    EstableceCarpetaCopia(QStringLiteral("/tmp/otra/"));
    EXPECT_EQ(CarpetaCopia(), QDir::toNativeSeparators(QStringLiteral("/tmp/otra/")));
    EstableceCarpetaCopia(QString());
}

TEST(NotaCopia, LasNotasNombranLaCarpetaDeDestino) {
    const QString c = QStringLiteral("/home/ana/");
    EXPECT_TRUE(NotaCopia(5, c).startsWith(QStringLiteral("Recuerde que no debe dejar simplemente los archivos en \"/home/ana/\", debe")));
    EXPECT_TRUE(NotaCopia(6, c).contains(QStringLiteral("en la ruta \"/home/ana/\", es decir")));
    EXPECT_TRUE(NotaCopia(6, c).contains(QStringLiteral("\"Fiscalinoddmmaa.mdb\"")));
    for (int i = 1; i <= 6; ++i) {
        EXPECT_FALSE(NotaCopia(i, c).contains(QStringLiteral("C:\\"))) << i;
        EXPECT_FALSE(NotaCopia(i, c).isEmpty()) << i;
    }
    // The runs of blanks that break the lines are kept.
    EXPECT_TRUE(NotaCopia(2, c).contains(QStringLiteral("como un               CD-ROM")));
    EXPECT_TRUE(NotaCopia(4, c).contains(QStringLiteral("pierda todos    sus datos")));
    EXPECT_EQ(LineaNombreCopia(QStringLiteral("Fiscalino061226.mdb")),
              QStringLiteral("El nombre del archivo para la copia de seguridad de hoy es: Fiscalino061226.mdb"));
}

TEST_F(Copia, DosCopiasElMismoDiaDejanUnArchivoConTodasLasFacturas) {
    CierraConexion();
    CopiaArchivoBD(e.RutaBD(), Final());
    ASSERT_TRUE(ConectarBD());
    e.InsertaFactura("P", "F-2", "08/12/2026", "4,20", "24,20");
    CierraConexion();
    CopiaArchivoBD(e.RutaBD(), Final());
    EXPECT_EQ(Contenido(destino), QStringList{QStringLiteral("Fiscalino061226.mdb")});
    EXPECT_EQ(Sqlite(Final(), QStringLiteral("select count(*) from FACTURAS")), QStringLiteral("3"));
    EXPECT_EQ(Sqlite(Final(), QStringLiteral("select group_concat(COD_FACTURA, ',') from FACTURAS")),
              QStringLiteral("F-1,C-1,F-2"));
}

TEST_F(Copia, UnaCopiaFallidaNoDestruyeLaAnterior) {
    CierraConexion();
    CopiaArchivoBD(e.RutaBD(), Final());
    const QByteArray anterior = [&] { QFile f(Final()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    ASSERT_FALSE(anterior.isEmpty());

    // A damaged database: the copy is refused after the check, before it replaces anything.
    QFile danada(e.Carpeta() + QStringLiteral("/danada.mdb"));
    ASSERT_TRUE(danada.open(QIODevice::WriteOnly));
    QByteArray basura = anterior;
    basura.replace(100, 4000, QByteArray(4000, '\x5a'));
    danada.write(basura);
    danada.close();
    try {
        CopiaArchivoBD(danada.fileName(), Final());
        ADD_FAILURE() << "la copia de una base dañada no debía terminar";
    } catch (const ErrorBD& err) {
        // A short Spanish message; the engine's report goes to the log.
        EXPECT_EQ(err.descripcion(), QStringLiteral("La copia no se ha guardado porque la base de datos copiada está dañada."));
        EXPECT_TRUE(e.Bitacora().contains(QStringLiteral("Comprobación de la copia"))) << e.Bitacora().toStdString();
    }
    QFile f(Final());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), anterior);
    EXPECT_EQ(Contenido(destino), QStringList{QStringLiteral("Fiscalino061226.mdb")});
}

TEST_F(Copia, LaSiguienteCopiaBorraLosTemporalesQueDejaronLasInterrumpidas) {
    CierraConexion();
    const auto crea = [&](const QString& nombre, int bytes, int horas) {
        QFile f(destino + nombre);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, 'x'));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * horas), QFileDevice::FileModificationTime);
    };
    // Left by interrupted copies: gone.
    crea(QStringLiteral(".Fiscalino051226.mdb.aB3dE9"), 100000, 24);
    crea(QStringLiteral(".Fiscalino061226.mdb.k2LmN0"), 100000, 0);
    crea(QStringLiteral(".Fiscalino061226.mdb.Vacio1"), 0, 2);
    // Another copy writing (it holds its file locked), or one just made: kept.
    crea(QStringLiteral(".Fiscalino061226.mdb.Qq1Qq1"), 100000, 0);
    crea(QStringLiteral(".Fiscalino061226.mdb.Nuevo1"), 0, 0);
    // Not the copies' own: kept.
    const QStringList ajenos = {QStringLiteral(".otra.mdb.aB3dE9"), QStringLiteral("Fiscalino051226.mdb.aB3dE9"),
                                QStringLiteral(".Fiscalino051226.mdb.aB3dE"), QStringLiteral("Fiscalino051226.mdb")};
    for (const QString& a : ajenos)
        crea(a, 100, 24);
    OtraInstancia otraCopia(destino + QStringLiteral(".Fiscalino061226.mdb.Qq1Qq1"), true);
    ASSERT_TRUE(otraCopia.Lista());
    CopiaArchivoBD(e.RutaBD(), Final());
    QStringList quedan = ajenos;
    quedan << QStringLiteral(".Fiscalino061226.mdb.Qq1Qq1") << QStringLiteral(".Fiscalino061226.mdb.Nuevo1")
           << QStringLiteral("Fiscalino061226.mdb");
    quedan.sort();
    QStringList hay = Contenido(destino);
    hay.sort();
    EXPECT_EQ(hay, quedan);
}

TEST_F(Copia, SinCarpetaDeDestinoOSinOrigenFallaConSuNumero) {
    CierraConexion();
    struct Caso { QString origen, destino; int numero; };
    const Caso casos[] = {
        {e.RutaBD(), e.Carpeta() + QStringLiteral("/no-hay/Fiscalino061226.mdb"), 76},
        {e.Carpeta() + QStringLiteral("/no-hay.mdb"), Final(), 53},
    };
    for (const Caso& c : casos) {
        try {
            CopiaArchivoBD(c.origen, c.destino);
            ADD_FAILURE() << c.destino.toStdString();
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.numero(), c.numero) << err.descripcion().toStdString();
        }
    }
    EXPECT_TRUE(Contenido(destino).isEmpty());
}

TEST_F(Copia, OtraInstanciaConLaBaseAbiertaDaElError70) {
    CierraConexion();
    OtraInstancia otra(e.RutaBD());
    try {
        CopiaArchivoBD(e.RutaBD(), Final());
        ADD_FAILURE() << "copió con otra instancia abierta";
    } catch (const ErrorBD& err) {
        EXPECT_EQ(err.numero(), 70);
    }
    EXPECT_TRUE(Contenido(destino).isEmpty());
}

TEST_F(Copia, RealizaCopiaCierraYVuelveAConectarEnTodoCaso) {
    RegistroMensajes r;
    int punteros = 0;
    EXPECT_TRUE(RealizaCopiaSeguridad(OrigenCopia(), Final(), [&] { ++punteros; }));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, QStringLiteral("La base de datos se copió correctamente."));
    EXPECT_EQ(r.ultimo().icono, Icono::Informacion);
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Fiscalino"));
    EXPECT_EQ(punteros, 1);
    ASSERT_TRUE(Conexion && Conexion->Abierta());

    r.Limpia();
    {
        OtraInstancia otra(e.RutaBD());
        EXPECT_FALSE(RealizaCopiaSeguridad(OrigenCopia(), Final(), [&] { ++punteros; }));
    }
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, QStringLiteral("La base de datos está abierta aún. Asegúrese de que todos los usuarios "
                                               "han salido de la aplicación menos usted y vuelva a intentarlo."));
    EXPECT_EQ(r.ultimo().botones, Botones::Aceptar);
    EXPECT_EQ(punteros, 2);
    ASSERT_TRUE(Conexion && Conexion->Abierta());
    EXPECT_EQ(Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(), QStringLiteral("2"));

    r.Limpia();
    EstableceCarpetaCopia(e.Carpeta() + QStringLiteral("/no-hay"));
    EXPECT_FALSE(
        RealizaCopiaSeguridad(OrigenCopia(), CarpetaCopia() + NombreCopiaSeguridad(QDate(2026, 12, 6), OrigenCopia())));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith(QStringLiteral("Se produjo un error: No se encontró la carpeta de la copia: ")));
    EXPECT_EQ(r.ultimo().titulo, QStringLiteral("Error con la Base de Datos"));
    EXPECT_TRUE(Conexion && Conexion->Abierta());
}
