#include "ApoyoPruebas.h"

#include "dominio/parametros/Parametros.h"
#include "dominio/copias/Copias.h"
#include "ordenes/copias/OrdenesCopia.h"
#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace {

// A database with three invoices and, in the backup folder, a copy made when it had two.
class Ordenes : public ::testing::Test {
protected:
    EntornoPruebas e;
    RegistroMensajes r;
    QString copia;
    QByteArray tres;
    void SetUp() override {
        e.Conecta();
        e.InsertaParametros();
        e.InsertaFactura("P", "F-1", "06/12/2026", "21,00", "121");
        e.InsertaFactura("C", "C-1", "07/12/2026", "2,10", "12,10");
        copia = CarpetaCopia() + QStringLiteral("Fiscalino071226.mdb");
        CopiaArchivoBD(OrigenCopia(), copia);
        e.InsertaFactura("P", "F-2", "08/12/2026", "4,20", "24,20");
        CierraConexion();
        tres = ContenidoArchivo(e.RutaBD());
    }
    QString Facturas() const { return Sqlite(e.RutaBD(), QStringLiteral("select count(*) from FACTURAS")); }
    // The database back as it was before a command changed it.
    void Repone() {
        CierraConexion();
        QFile f(e.RutaBD());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(tres);
    }
    QString Pregunta() const {
        return QStringLiteral("Se va a sustituir la base de datos ") + e.RutaBD() +
               QStringLiteral(" por la copia \"Fiscalino071226.mdb\" (2 facturas, la última del 07/12/2026).");
    }
};

struct Salida {
    int codigo = -1;
    QString salida, error;
};

// The program itself, as a script runs it, with its home (and so its backup
// folder and settings) in `casa`; `limiteBytes` cuts the files it may write.
Salida Programa(const QStringList& argumentos, const QString& casa, rlim_t limiteBytes = RLIM_INFINITY) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("HOME"), casa);
    entorno.insert(QStringLiteral("XDG_RUNTIME_DIR"), casa);
    p.setProcessEnvironment(entorno);
    p.setChildProcessModifier([limiteBytes] {
        // As a shell leaves it: a write past the limit would end the process
        // unless the program itself takes it as a full disk.
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limite{limiteBytes, limiteBytes};
        setrlimit(RLIMIT_FSIZE, &limite);
    });
    p.start(QStringLiteral(FISCALINO_PROGRAMA), argumentos);
    Salida s;
    if (!p.waitForFinished(30000))
        return s;
    s.codigo = p.exitCode();
    s.salida = QString::fromUtf8(p.readAllStandardOutput());
    s.error = QString::fromUtf8(p.readAllStandardError());
    return s;
}

}  // namespace

// Scripts copy while the program is open: the copy is a snapshot of what is saved.
TEST_F(Ordenes, CopiaDejaUnaCopiaFechadaYDiceDonde) {
    OtraInstancia abierta(e.RutaBD());
    ASSERT_TRUE(abierta.Lista());
    QDir(e.Carpeta()).mkdir(QStringLiteral("otra"));
    const QString nombre = NombreCopiaSeguridad(QDate::currentDate(), OrigenCopia());
    const struct {
        QStringList argumentos;
        int codigo;
        QString destino, error;
    } casos[] = {
        {{}, 0, CarpetaCopia() + nombre, {}},
        {{e.Carpeta() + "/otra"}, 0, e.Carpeta() + "/otra/" + nombre, {}},
        {{e.Carpeta() + "/no-hay"}, 1, {}, "No se encontró la carpeta de la copia: " + e.Carpeta() + "/no-hay"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        OrdenDePrueba o(c.argumentos);
        EXPECT_EQ(OrdenCopia(o.c), c.codigo);
        EXPECT_EQ(o.salida, c.destino.isEmpty() ? QStringList() : QStringList{c.destino});
        EXPECT_EQ(o.errores, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        if (!c.destino.isEmpty())
            EXPECT_EQ(Sqlite(c.destino, QStringLiteral("pragma integrity_check; select count(*) from FACTURAS")),
                      QStringLiteral("ok\n3"));
        CierraConexion();
    }
    EXPECT_FALSE(QFileInfo::exists(e.Carpeta() + "/no-hay"));
}

// Two databases copied the same day into the same folder: each copy keeps its own data.
TEST_F(Ordenes, CopiasDeDosBasesElMismoDiaNoSePisan) {
    const QString igic = e.Carpeta() + "/igic.mdb";
    FijaRutaBaseDatos(igic);
    e.Conecta();
    e.InsertaFactura("C", "I-1", "07/12/2026", "7", "107");
    CierraConexion();
    const QString dia = FechaCompacta(QDate::currentDate());
    const struct {
        QString base, copia;
        const char* facturas;
    } casos[] = {{QString(), "Fiscalino" + dia + ".mdb", "3"}, {igic, "igic" + dia + ".mdb", "1"}};
    for (const auto& c : casos) {
        FijaRutaBaseDatos(c.base);
        OrdenDePrueba o;
        EXPECT_EQ(OrdenCopia(o.c), 0);
        EXPECT_EQ(o.salida, QStringList{CarpetaCopia() + c.copia});
        CierraConexion();
    }
    for (const auto& c : casos)
        EXPECT_EQ(Sqlite(CarpetaCopia() + c.copia, "select count(*) from FACTURAS"), c.facturas);
}

TEST_F(Ordenes, RestaurarPideConfirmacionSalvoConSi) {
    const struct {
        std::optional<QString> respuesta;
        bool conSi;
        int codigo;
        const char* error;  // after the question, when there is one
    } casos[] = {
        {QString("s"), false, 0, nullptr},
        {QString(" Sí "), false, 0, nullptr},
        {QString("n"), false, 1, "No se ha restaurado nada."},
        {QString(""), false, 1, "No se ha restaurado nada."},
        {std::nullopt, false, 1,
         "Hace falta confirmar la restauración y no hay un terminal donde preguntar: añada --si para confirmarla."},
        {std::nullopt, true, 0, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE((c.respuesta.value_or("(sin terminal)") + (c.conSi ? " --si" : "")).toStdString());
        OrdenDePrueba o(c.conSi ? QStringList{copia, "--si"} : QStringList{copia});
        o.respuesta = c.respuesta;
        EXPECT_EQ(OrdenRestaurar(o.c), c.codigo);
        CierraConexion();
        QStringList errores;
        if (!c.conSi)
            errores << Pregunta();
        if (c.error)
            errores << QString::fromUtf8(c.error);
        EXPECT_EQ(o.errores, errores);
        if (c.codigo == 0) {
            ASSERT_EQ(o.salida.size(), 2);
            EXPECT_EQ(o.salida[0], QStringLiteral("Restaurada la copia \"Fiscalino071226.mdb\" (2 facturas, la última "
                                                  "del 07/12/2026) en ") +
                                       e.RutaBD());
            EXPECT_TRUE(o.salida[1].startsWith(QStringLiteral("La base de datos anterior se guardó en ") + CarpetaCopia() +
                                               QStringLiteral("Fiscalino-antes-de-restaurar-")));
            EXPECT_EQ(Facturas(), QStringLiteral("2"));
        } else {
            EXPECT_EQ(o.salida, QStringList());
            EXPECT_EQ(ContenidoArchivo(e.RutaBD()), tres);
        }
        Repone();
    }
}

TEST_F(Ordenes, RestaurarPideLaClaveDeLaBaseEnUso) {
    ASSERT_TRUE(ConectarBD());
    Conexion->Ejecutar(QStringLiteral("update PARAMETROS set PALABRA_CLAVE = ") +
                       ValorSQL(CodificarClave(true, QStringLiteral("secreto"))));
    CierraConexion();
    tres = ContenidoArchivo(e.RutaBD());
    OrdenDePrueba mal({copia, "--si"});
    mal.clave = QStringLiteral("Secreto");
    EXPECT_EQ(OrdenRestaurar(mal.c), 1);
    EXPECT_EQ(mal.errores, QStringList{"Contraseña no válida."});
    EXPECT_EQ(ContenidoArchivo(e.RutaBD()), tres);

    OrdenDePrueba bien({copia, "--si"});
    bien.clave = QStringLiteral("secreto");
    EXPECT_EQ(OrdenRestaurar(bien.c), 0);
    CierraConexion();
    EXPECT_EQ(Facturas(), QStringLiteral("2"));
}

// The program as scripts see it: exit statuses, and a full disk.
TEST_F(Ordenes, ElProgramaRestauraODiceQueNo) {
    const QString casa = CarpetaCopia();
    const QStringList base = {"--base-datos", e.RutaBD()};
    const struct {
        QStringList argumentos;
        rlim_t limite;
        int codigo;
        const char* error;  // its first line
    } casos[] = {
        {{"--restaurar", "--si"}, RLIM_INFINITY, 2, "Indique el archivo de la copia que desea restaurar"},
        {{"--copia", "a", "b"}, RLIM_INFINITY, 2, "Número de argumentos incorrecto para --copia."},
        {{"--restaurar", e.RutaBD() + "-no", "--si"}, RLIM_INFINITY, 1, "No se encontró el archivo"},
        // The safety copy cannot be written: nothing is replaced.
        {{"--restaurar", copia, "--si"}, 8192, 1,
         "No se pudo guardar una copia de la base de datos actual antes de restaurar: No se pudo escribir la copia en"},
        // The copy and the books cannot be written whole: nothing is left of them.
        {{"--copia"}, 8192, 1, "No se pudo escribir la copia en "},
        {{"--libros", "2026", "4", casa + "libros.xlsx"}, 4096, 1, "No se pudo escribir el archivo "},
        {{"--libros", "2026", "4", casa + "libros.csv"}, 200, 1, "No se pudo escribir el archivo "},
    };
    const QStringList antes = QDir(casa).entryList(QDir::Files | QDir::Hidden);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        const Salida s = Programa(base + c.argumentos, casa, c.limite);
        EXPECT_EQ(s.codigo, c.codigo) << s.error.toStdString();
        EXPECT_TRUE(s.error.contains(QString::fromUtf8(c.error))) << s.error.toStdString();
        EXPECT_EQ(s.salida, QString());
        EXPECT_EQ(ContenidoArchivo(e.RutaBD()), tres);
        EXPECT_EQ(QDir(casa).entryList(QDir::Files | QDir::Hidden), antes);
    }
    const Salida s = Programa(base + QStringList{"--restaurar", copia, "--si"}, casa);
    EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
    EXPECT_TRUE(s.salida.startsWith(QStringLiteral("Restaurada la copia"))) << s.salida.toStdString();
    EXPECT_EQ(Facturas(), QStringLiteral("2"));
}
