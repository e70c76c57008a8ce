#include "ApoyoPruebas.h"

#include "dominio/copias/Copias.h"
#include "dominio/copias/Restauracion.h"
#include "datos/BaseDatos.h"
#include "datos/motor/Esquema.h"
#include "datos/MarcaUso.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace {

QString Facturas(const QString& ruta) {
    return Sqlite(ruta, QStringLiteral("select group_concat(COD_FACTURA) from FACTURAS"));
}

QString FacturasConectadas() {
    auto rs = ConexionAbierta().AbrirRegistros(QStringLiteral("select COD_FACTURA from FACTURAS order by ID"));
    QStringList r;
    for (int i = 0; i < rs->NumFilas(); ++i)
        r << rs->Celda(i, 0).Texto();
    return r.join(QLatin1Char(','));
}

QStringList Archivos(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A database with two invoices, a copy of it in the backup folder, then a third invoice.
class Restauracion : public ::testing::Test {
protected:
    EntornoPruebas e;
    QString copia;
    void SetUp() override {
        e.Conecta();
        e.InsertaParametros();
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        e.InsertaFactura("C", "C-1", "07/12/2026", "2,10", "12,10");
        copia = CarpetaCopia() + NombreCopiaSeguridad(QDate(2026, 12, 7), OrigenCopia());
        CopiaArchivoBD(OrigenCopia(), copia);
        e.InsertaFactura("P", "F-2", "08/12/2026", "4,20", "24,20");
    }
    QString Ruta(const QString& nombre) const { return e.Carpeta() + QLatin1Char('/') + nombre; }
    // What must not change when a restore is refused.
    struct Estado {
        QByteArray base;
        QStringList copias, programa;
    };
    Estado Ahora() const { return {ContenidoArchivo(e.RutaBD()), Archivos(CarpetaCopia()), Archivos(e.Carpeta())}; }
    void NadaCambio(const Estado& antes) const {
        EXPECT_EQ(ContenidoArchivo(e.RutaBD()), antes.base);
        EXPECT_EQ(Archivos(CarpetaCopia()), antes.copias);
        EXPECT_EQ(Archivos(e.Carpeta()), antes.programa);
        EXPECT_EQ(FacturasConectadas(), QStringLiteral("F-1,C-1,F-2"));
        EXPECT_TRUE(MarcaUsoTomada());
    }
};

}  // namespace

TEST_F(Restauracion, LaCopiaOcupaElLugarDeLaBaseYLaAnteriorQuedaGuardada) {
    const QByteArray anterior = ContenidoArchivo(e.RutaBD());
    const QString previa = RestauraCopia(copia);

    EXPECT_EQ(FacturasConectadas(), QStringLiteral("F-1,C-1"));
    EXPECT_EQ(Sqlite(e.RutaBD(), QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    // The database as it was, byte for byte, dated, in the backup folder.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Fiscalino-antes-de-restaurar-\\d{8}-\\d{6}\\.mdb$"))
                    .match(QFileInfo(previa).fileName())
                    .hasMatch())
        << previa.toStdString();
    EXPECT_EQ(QFileInfo(previa).absolutePath(), QFileInfo(copia).absolutePath());
    EXPECT_EQ(ContenidoArchivo(previa), anterior);
    EXPECT_EQ(Archivos(CarpetaCopia()), (QStringList{QFileInfo(previa).fileName(), QFileInfo(copia).fileName()}));
    EXPECT_EQ(Archivos(e.Carpeta()), QStringList{"Fiscalino.mdb"});
    // The program goes on using the restored database, marked as in use.
    e.InsertaFactura("C", "C-3", "09/12/2026", "1,00", "5,76");
    EXPECT_EQ(Facturas(e.RutaBD()), QStringLiteral("F-1,C-1,C-3"));
    EXPECT_TRUE(MarcaUsoTomada());

    // Restoring the safety copy undoes the restore.
    const QString otra = RestauraCopia(previa);
    EXPECT_NE(otra, previa);
    EXPECT_EQ(FacturasConectadas(), QStringLiteral("F-1,C-1,F-2"));
}

TEST_F(Restauracion, UnaCopiaDeLaVersionAnteriorSeActualizaAlAbrirla) {
    const QString antigua = Ruta(QStringLiteral("copias/antigua.mdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/estructura1.mdb"), antigua));
    RestauraCopia(antigua);
    EXPECT_EQ(Sqlite(e.RutaBD(), QStringLiteral("pragma user_version; pragma integrity_check; "
                                                "select count(*) from sqlite_master where type = 'trigger'")),
              QString::number(VersionEstructura) + QStringLiteral("\nok\n0"));
    EXPECT_EQ(ConexionAbierta().AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"))->Campo(0).Texto(), "7");
}

TEST_F(Restauracion, LoQueNoEsUnaCopiaBuenaSeRechazaSinCambiarNada) {
    const struct {
        const char* nombre;
        std::optional<ArchivoMalo> malo;
        const char* mensaje;  // after the file's quoted path
    } casos[] = {
        {"truncado.mdb", ArchivoMalo::Truncado, " está dañado. No se ha cambiado nada."},
        {"danado.mdb", ArchivoMalo::Danado, " está dañado. No se ha cambiado nada."},
        {"azar.mdb", ArchivoMalo::Azar, " no es una copia de la base de datos de Fiscalino. No se ha cambiado nada."},
        {"ajeno.mdb", ArchivoMalo::Ajeno, " no es una copia de la base de datos de Fiscalino. No se ha cambiado nada."},
        {"vacio.mdb", ArchivoMalo::Vacio, " no es una copia de la base de datos de Fiscalino. No se ha cambiado nada."},
        {"nuevo.mdb", ArchivoMalo::MasReciente,
         " es de una versión más reciente del programa. No se ha cambiado nada."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString archivo = Ruta(QString::fromLatin1(c.nombre));
        HazArchivoMalo(*c.malo, copia, archivo);
        const Estado antes = Ahora();
        try {
            RestauraCopia(archivo);
            ADD_FAILURE() << "restaurado";
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.descripcion(), QStringLiteral("El archivo \"") + archivo + QLatin1Char('"') +
                                             QString::fromUtf8(c.mensaje));
        }
        NadaCambio(antes);
    }
    const Estado antes = Ahora();
    for (const QString& archivo : {Ruta(QStringLiteral("no-existe.mdb")), e.RutaBD()}) {
        EXPECT_THROW(RestauraCopia(archivo), ErrorBD);
        NadaCambio(antes);
    }
}

TEST_F(Restauracion, ConOtraInstanciaAbiertaSeRechaza) {
    const Estado antes = Ahora();
    {
        OtraInstancia otra(e.RutaBD());
        ASSERT_TRUE(otra.Lista());
        try {
            RestauraCopia(copia);
            ADD_FAILURE() << "restaurado con otra instancia abierta";
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.numero(), CodigoError::PermisoDenegado);
            EXPECT_EQ(err.descripcion(), MensajeBaseEnUso);
        }
    }
    NadaCambio(antes);
}

// What refuses a restore is found before the safety copy is written: a
// refused restore leaves no copy behind, however often it is tried.
TEST_F(Restauracion, LoQueLaRechazaSeVeAntesDeGuardarLaAnterior) {
    // A copy that passes every check but whose upgrade stops on a value it cannot convert.
    const QString rara = Ruta(QStringLiteral("rara.mdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/estructura1.mdb"), rara));
    QFile::setPermissions(rara, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(Sqlite(rara, QStringLiteral("drop trigger FACTURAS_TIPOS_UPDATE; drop index FACTURAS_TIPO_FECHA; "
                                          "drop index FACTURAS_FECHA; update FACTURAS set FECHA_FACTURA = '31/12/2026' "
                                          "where ID = (select min(ID) from FACTURAS)")),
              QString());
    {
        const Estado antes = Ahora();
        RegistroMensajes r;
        try {
            RestauraCopia(rara);
            ADD_FAILURE() << "restaurada";
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.descripcion(), QStringLiteral("No se pudo restaurar la copia: La base de datos tiene valores "
                                                        "que no se pueden convertir a la nueva versión. No se ha "
                                                        "cambiado nada."));
        }
        EXPECT_EQ(r.cuenta(), 0);
        NadaCambio(antes);
    }
    // The database's folder takes no new file (an ordinary user: root writes anywhere).
    CierraConexion();
    const Estado antes = Ahora();
    const QString carpeta = QDir::toNativeSeparators(e.Carpeta());
    const int r = ComoUsuarioCorriente(e.Carpeta(), [&] {
        QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::ExeOwner);
        if (!ConectarBD())
            return 10;
        try {
            RestauraCopia(copia);
            return 11;
        } catch (const ErrorBD& err) {
            return err.descripcion() == QStringLiteral("No se puede escribir en la carpeta de la base de datos ") +
                                            carpeta +
                                            QStringLiteral(". Compruebe que puede escribir en ella. No se ha cambiado "
                                                           "nada.")
                       ? 0
                       : 12;
        }
    });
    QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ContenidoArchivo(e.RutaBD()), antes.base);
    EXPECT_EQ(Archivos(CarpetaCopia()), antes.copias);
}

// Restores repeated, or cut short after their safety copy, keep a few safety
// copies of each database, and never lose the newest sound one; another
// database's are not of its kind.
TEST_F(Restauracion, SeGuardanPocasCopiasAnterioresYSiempreUnaSana) {
    const QString carpeta = CarpetaCopia();
    const auto ordenados = [](QStringList l) {
        l.sort();
        return l;
    };
    const auto nombre = [](const char* sello) {
        return QStringLiteral("Fiscalino-antes-de-restaurar-") + QLatin1String(sello) + QStringLiteral(".mdb");
    };
    // Earlier safety copies: a sound one, then three of the database once it was damaged.
    ASSERT_TRUE(QFile::copy(e.RutaBD(), carpeta + nombre("20000101-100000")));
    ASSERT_TRUE(QFile::copy(e.RutaBD(), carpeta + "igic-antes-de-restaurar-20000101-090000.mdb"));
    CierraConexion();
    const QString danada = Ruta(QStringLiteral("danada.mdb"));
    HazArchivoMalo(ArchivoMalo::Danado, e.RutaBD(), danada);
    for (const char* sello : {"20000102-100000", "20000103-100000", "20000104-100000"})
        ASSERT_TRUE(QFile::copy(danada, carpeta + nombre(sello)));
    ASSERT_TRUE(QFile::remove(e.RutaBD()) && QFile::copy(danada, e.RutaBD()));
    e.Conecta();

    const QString primera = QFileInfo(RestauraCopia(copia)).fileName();  // of the damaged database
    EXPECT_EQ(ordenados(Archivos(carpeta)),
              ordenados({nombre("20000101-100000"), nombre("20000103-100000"), nombre("20000104-100000"), primera,
                         QFileInfo(copia).fileName(), "igic-antes-de-restaurar-20000101-090000.mdb"}));
    const QString segunda = QFileInfo(RestauraCopia(copia)).fileName();  // a sound one
    EXPECT_EQ(ordenados(Archivos(carpeta)), ordenados({nombre("20000104-100000"), primera, segunda,
                                                       QFileInfo(copia).fileName(),
                                                       "igic-antes-de-restaurar-20000101-090000.mdb"}));
}

TEST_F(Restauracion, SinBaseDeDatosLaCopiaSePoneSinCopiaPrevia) {
    CierraConexion();
    ASSERT_TRUE(QFile::remove(e.RutaBD()));
    EXPECT_EQ(RestauraCopia(copia), QString());
    EXPECT_EQ(FacturasConectadas(), QStringLiteral("F-1,C-1"));
    EXPECT_EQ(Archivos(CarpetaCopia()), QStringList{QFileInfo(copia).fileName()});
}

// With the disk full the safety copy cannot be written: nothing is replaced.
TEST_F(Restauracion, ConElDiscoLlenoNoSeRestauraNada) {
    CierraConexion();
    const Estado antes = Ahora();
    const int r = EnProcesoHijo([&] {
        if (!ConectarBD())
            return 10;
        // Writes past 8 KB fail as on a full disk, instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limite);
        try {
            RestauraCopia(copia);
            return 11;
        } catch (const ErrorBD& err) {
            return err.descripcion().startsWith(QStringLiteral(
                       "No se pudo guardar una copia de la base de datos actual antes de restaurar: No se pudo "
                       "escribir la copia en ")) &&
                           err.descripcion().endsWith(QStringLiteral("No se ha cambiado nada."))
                       ? 0
                       : 12;
        }
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ContenidoArchivo(e.RutaBD()), antes.base);
    EXPECT_EQ(Archivos(CarpetaCopia()), antes.copias);
    EXPECT_EQ(Archivos(e.Carpeta()), antes.programa);
}
