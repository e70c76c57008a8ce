#include "ApoyoPruebas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <csignal>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray Contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribe(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

}  // namespace

TEST(BaseDatos, RutaAplicacionTerminaEnElSeparador) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    const QString sep = QDir::separator();
    EXPECT_TRUE(RutaAplicacion.endsWith(sep));
    EstableceRutaAplicacion(e.Carpeta() + "/");
    EXPECT_FALSE(RutaAplicacion.endsWith(sep + sep));
    EXPECT_EQ(RutaBaseDatos(), RutaAplicacion + "Fiscalino.mdb");
    EstableceRutaAplicacion("/");
    EXPECT_EQ(RutaAplicacion, sep);
}

TEST(BaseDatos, CadenaConexionYCopia) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    EXPECT_EQ(CadenaConexion(), "Driver={SQLite3 ODBC Driver};DBQ=" + RutaAplicacion + "Fiscalino.mdb;UID=Administrador;PWD=");
    EXPECT_EQ(ConexionBD::RutaDeCadena(CadenaConexion()), RutaAplicacion + "Fiscalino.mdb");
    EXPECT_EQ(NombreCopiaSeguridad(QDate(2026, 12, 6), RutaBaseDatos()), "Fiscalino061226.mdb");
    EXPECT_EQ(NombreCopiaSeguridad(QDate(2008, 3, 3), RutaBaseDatos()), "Fiscalino030308.mdb");
    // Another program name looks for a database of its own name.
    NombrePrograma = "Otro";
    EXPECT_EQ(RutaBaseDatos(), RutaAplicacion + "Otro.mdb");
}

// Copies of different databases never share a name; the usual one keeps the
// program's, and one that only the letter case tells from it gets its folder's.
TEST(BaseDatos, CadaBaseNombraSusCopias) {
    EntornoPruebas e;
    const QString otra = e.Carpeta() + "/clientes/";
    const struct {
        QString ruta;
        const char* nombre;
    } casos[] = {
        {RutaBaseDatosHabitual(), "Fiscalino061226.mdb"},
        {e.Carpeta() + "/igic.mdb", "igic061226.mdb"},
        {e.Carpeta() + "/Cliente Ñandú.v2.mdb", "Cliente Ñandú.v2061226.mdb"},
        {otra + "Fiscalino.mdb", "Fiscalino-clientes061226.mdb"},
        {otra + "FISCALINO.mdb", "FISCALINO-clientes061226.mdb"},
        {"postgresql://ana@servidor:5432/contabilidad", "contabilidad061226.mdb"},
        {"postgresql://ana@servidor/fiscalino", "fiscalino-servidor061226.mdb"},
        {"postgresql://ana@/conta%2Fb?host=/run/postgresql", "conta_b061226.mdb"},
        {"postgresql://ana@servidor", "ana061226.mdb"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(NombreCopiaSeguridad(QDate(2026, 12, 6), c.ruta), QString::fromUtf8(c.nombre))
            << c.ruta.toStdString();
}

TEST(BaseDatos, LaCadenaDeConexionLlevaCualquierRuta) {
    SOLO_CON_ARCHIVO();
    const struct {
        QString ruta, dbq;  // the DBQ attribute as the string carries it
    } casos[] = {
        {"/datos/Fiscalino.mdb", "DBQ=/datos/Fiscalino.mdb"},
        {"/datos/Empresa; 2026/Fiscalino.mdb", "DBQ={/datos/Empresa; 2026/Fiscalino.mdb}"},
        {"/datos/a=b/Fiscalino.mdb", "DBQ={/datos/a=b/Fiscalino.mdb}"},
        {"/datos/{x}}; y}/F.mdb", "DBQ={/datos/{x}}}}; y}}/F.mdb}"},
        {"/datos/O'Brien \"Hnos\" y Cía/F.mdb", "DBQ=/datos/O'Brien \"Hnos\" y Cía/F.mdb"},
        {" /datos/blanco al final ", "DBQ={ /datos/blanco al final }"},
    };
    for (const auto& c : casos) {
        EntornoPruebas e;
        const QString cadena = "Driver={SQLite3 ODBC Driver};" + c.dbq + ";UID=Administrador;PWD=";
        EXPECT_EQ(ConexionBD::RutaDeCadena(cadena), c.ruta) << cadena.toStdString();
        EstableceRutaAplicacion(QFileInfo(c.ruta).path());
        NombrePrograma = QFileInfo(c.ruta).completeBaseName();
        if (RutaBaseDatos() == c.ruta)
            EXPECT_EQ(CadenaConexion(), cadena);
    }
    EXPECT_EQ(ConexionBD::RutaDeCadena("Driver={SQLite3 ODBC Driver};UID=Administrador;PWD="), "");
    EXPECT_EQ(ConexionBD::RutaDeCadena(" dbq = {/a;b}x ;PWD="), "/a;b");
}

TEST(BaseDatos, CarpetaDelProgramaConPuntoYComa) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    const QString carpeta = e.Carpeta() + "/Empresa; 2026";
    QDir().mkpath(carpeta);
    EstableceRutaAplicacion(carpeta);
    e.Conecta();
    e.InsertaFactura("P", "F-1", "06/12/2026", "21", "121");
    CierraConexion();
    e.Conecta();
    EXPECT_EQ(Conexion->Ruta(), RutaAplicacion + "Fiscalino.mdb");
    EXPECT_EQ(Conexion->AbrirRegistros("select COD_FACTURA from FACTURAS")->Campo(0).Texto(), "F-1");
    // Nothing made beside the folder whose name the old string cut short.
    EXPECT_EQ(QDir(e.Carpeta()).entryList(QDir::Files), QStringList());
}

TEST(BaseDatos, BaseNuevaConTresTablasVacias) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    RegistroMensajes r;
    ASSERT_FALSE(QFile::exists(e.RutaBD()));
    ASSERT_TRUE(ConectarBD());
    EXPECT_EQ(r.cuenta(), 0);
    EXPECT_TRUE(QFile::exists(e.RutaBD()));
    for (const char* t : {"FACTURAS", "PARAMETROS", "DATOS_EMPRESA"})
        EXPECT_TRUE(Conexion->AbrirRegistros(QStringLiteral("select * from ") + t)->Fin()) << t;
    auto cols = Conexion->AbrirRegistros("select * from DATOS_EMPRESA")->Columnas();
    EXPECT_EQ(cols, QStringList({"NOMBRE", "DESCRIPCION", "CIF", "DIRECCION", "LOCALIDAD", "COD_POSTAL", "PROVINCIA",
                                 "TLFN", "FAX", "EMAIL", "WEB", "COD_ACTIVIDAD", "TIPO_ACTIVIDAD", "EPIGRAFE_IAE"}));
    // Closed and opened again (the backup copy does it), the data stays.
    e.InsertaFactura("P", "F-7", "06/12/2007", "21,00", "121");
    CierraConexion();
    EXPECT_FALSE(Conexion);
    ASSERT_TRUE(ConectarBD());
    EXPECT_EQ(Conexion->AbrirRegistros("select * from FACTURAS")->NumFilas(), 1);
}

TEST(BaseDatos, ArchivoVacioRecibeLasTablas) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    Escribe(e.RutaBD(), QByteArray());
    ASSERT_TRUE(ConectarBD());
    EXPECT_TRUE(Conexion->AbrirRegistros("select * from PARAMETROS")->Fin());
}

TEST(BaseDatos, ArchivoDanadoOAjenoNoSeSobrescribe) {
    SOLO_CON_ARCHIVO();
    // A real database with enough rows to span many pages, to truncate.
    QByteArray real;
    {
        EntornoPruebas e;
        e.Conecta();
        Conexion->Ejecutar("begin");
        for (int i = 0; i < 1000; ++i)
            e.InsertaFactura("P", QString("F-%1").arg(i), "06/12/2007", "21,00", "121", "100", "21");
        Conexion->Ejecutar("commit");
        CierraConexion();
        real = Contenido(e.RutaBD());
        ASSERT_GT(real.size(), 16 * 4096);
    }
    QByteArray azar(20000, '\0');
    QRandomGenerator generador(20071206);
    for (char& c : azar)
        c = static_cast<char>(generador.bounded(256));
    const struct {
        const char* caso;
        QByteArray datos;
        bool alAbrir;  // the header or the schema shows it; otherwise the whole-file check
    } casos[] = {
        {"bytes al azar", azar, true},
        {"texto", QByteArray("Esto es un documento de texto.\nNo es una base de datos.\n").repeated(50), true},
        {"copia truncada", real.left(real.size() / 2), true},
        {"cabecera dañada", QByteArray("SQLite format 3").append(real.mid(15, 4096 - 15)), true},
        {"página interior dañada", QByteArray(real).replace(real.size() / 2, 4096, azar.left(4096)), false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        EntornoPruebas e;
        Escribe(e.RutaBD(), c.datos);
        RegistroMensajes r;
        if (!c.alAbrir) {
            // Start-up does not read the whole file; the first write waits for
            // the check, which refuses it, and the file stays as it was.
            ASSERT_TRUE(ConectarBD());
            try {
                Conexion->Ejecutar("delete from FACTURAS");
                ADD_FAILURE() << "escribió en una base dañada";
            } catch (const ErrorBD& err) {
                EXPECT_EQ(err.descripcion(), "La base de datos está dañada.");
            }
            CierraConexion();
            EXPECT_EQ(Contenido(e.RutaBD()), c.datos);
            continue;
        }
        EXPECT_FALSE(ConectarBD());
        EXPECT_FALSE(Conexion);
        ASSERT_EQ(r.cuenta(), 1);
        const QString t = r.ultimo().texto;
        EXPECT_TRUE(t.startsWith("Error intentando conectar con la BD. El error fue: ")) << t.toStdString();
        // A Spanish description alone; the engine's own text goes to the log.
        EXPECT_TRUE(t == "Error intentando conectar con la BD. El error fue: El archivo no es una base de datos válida." ||
                    t == "Error intentando conectar con la BD. El error fue: La base de datos está dañada.")
            << t.toStdString();
        EXPECT_TRUE(e.Bitacora().contains(QRegularExpression("file is not a database|malformed|out of order|"
                                                             "never used|invalid page|btreeInitPage")))
            << e.Bitacora().toStdString();
        EXPECT_EQ(r.ultimo().icono, Icono::Critico);
        EXPECT_EQ(r.ultimo().botones, Botones::Aceptar);
        EXPECT_EQ(r.ultimo().titulo, "Fiscalino");
        EXPECT_EQ(Contenido(e.RutaBD()), c.datos);
        EXPECT_EQ(QDir(e.Carpeta()).entryList({"*.mdb*"}, QDir::Files), QStringList({"Fiscalino.mdb"}));
    }
}

// Another process in the middle of writing holds the file: the check waits as
// the connection's statements wait, and then it is no verdict but a lock.
TEST(BaseDatos, UnBloqueoNoEsUnaBaseDanada) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros();
    CierraConexion();
    ASSERT_TRUE(ConectarBD());
    Conexion->EstableceEspera(200);
    QProcess otro;
    otro.start("sqlite3", {e.RutaBD()});
    otro.write("begin exclusive;\n.print escribiendo\n");
    ASSERT_TRUE(otro.waitForReadyRead(5000));
    ASSERT_EQ(otro.readAll().trimmed(), "escribiendo");
    std::mutex m;
    QStringList veredictos;
    Conexion->IniciaComprobacion([&](const QString& v) {
        std::lock_guard<std::mutex> l(m);
        veredictos << v;
    });
    for (int intento = 0; intento < 2; ++intento) {
        try {
            Conexion->Ejecutar("update PARAMETROS set IVA = 4");
            ADD_FAILURE() << "escribió con la base bloqueada";
        } catch (const ErrorBD& err) {
            EXPECT_EQ(err.descripcion(),
                      "La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a intentarlo.");
        }
    }
    otro.write("rollback;\n.quit\n");
    ASSERT_TRUE(otro.waitForFinished(5000));
    // The check runs again for the next write and finds the file sound.
    EXPECT_EQ(Conexion->Ejecutar("update PARAMETROS set IVA = 4"), 1);
    std::lock_guard<std::mutex> l(m);
    EXPECT_EQ(veredictos, QStringList{QString()});
}

TEST(BaseDatos, DiscoLlenoAlCrearLaBaseNoDejaArchivo) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    const int r = EnProcesoHijo([] {
        // No byte may be written: the disk is full from the start.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit nada{0, 0};
        if (setrlimit(RLIMIT_FSIZE, &nada) != 0)
            return 20;
        RegistroMensajes m;
        if (ConectarBD())
            return 10;
        return m.cuenta() == 1 && m.ultimo().texto.startsWith("Error intentando conectar con la BD. El error fue: ")
                   ? 0
                   : 11;
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(QDir(e.Carpeta()).entryList({"Fiscalino.mdb*"}, QDir::Files), QStringList());
    // Once there is room, the first start makes the database as usual.
    e.Conecta();
    EXPECT_TRUE(Conexion->AbrirRegistros("select * from FACTURAS")->Fin());
}

TEST(BaseDatos, CarpetaQueNoSeAbre) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    QDir().mkpath(e.RutaBD());  // a folder where the file should be
    RegistroMensajes r;
    EXPECT_FALSE(ConectarBD());
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto,
              "Error intentando conectar con la BD. El error fue: No se puede abrir el archivo de la base de datos.");
}

TEST(BaseDatos, ElegirCarpetaDeLaBase) {
    const QString junto = "/prog/Fiscalino.mdb", usuario = "/home/u/.local/share/Fiscalino/Fiscalino.mdb";
    const struct {
        bool existeJunto, escribible, existeUsuario;
        QString enUsuario, esperado;
        bool instalado;
    } casos[] = {
        {true, true, false, usuario, junto, false},   {true, false, true, usuario, junto, false},
        {false, true, false, usuario, junto, false},  {false, false, false, usuario, usuario, false},
        {false, true, true, usuario, usuario, false}, {false, false, false, "", junto, false},
        // Installed: the per-user file, even beside a writable folder or an old file.
        {false, true, false, usuario, usuario, true}, {true, true, false, usuario, usuario, true},
        {true, true, true, usuario, usuario, true},   {false, false, true, usuario, usuario, true},
        {true, false, false, "", junto, true},
    };
    for (const auto& c : casos)
        EXPECT_EQ(EligeRutaBaseDatos(junto, c.existeJunto, c.escribible, c.enUsuario, c.existeUsuario, c.instalado),
                  c.esperado)
            << c.existeJunto << c.escribible << c.existeUsuario << c.instalado;
}

TEST(BaseDatos, CarpetaDelProgramaSinPermisoDeEscritura) {
    SOLO_CON_ARCHIVO();
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes in any folder; the decision is covered by ElegirCarpetaDeLaBase";
    EntornoPruebas e;
    const QString programa = e.Carpeta() + "/programa";
    QDir().mkpath(programa);
    EstableceRutaAplicacion(programa);
    QFile::setPermissions(programa, QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(ConectarBD());
    EXPECT_EQ(Conexion->Ruta(), CarpetaDatosUsuario() + "Fiscalino.mdb");
    EXPECT_TRUE(Conexion->AbrirRegistros("select * from FACTURAS")->Fin());
    CierraConexion();
    EXPECT_FALSE(QFile::exists(RutaAplicacion + "Fiscalino.mdb"));
    QFile::setPermissions(programa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(BaseDatos, UnArchivoQueVuelveASerEscribibleGuardaSinReiniciar) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    e.Conecta();
    CierraConexion();
    QFile::setPermissions(e.RutaBD(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString inserta = "insert into FACTURAS (COD_FACTURA, TIPO) values ('F-1', 'P')";
    const int r = ComoUsuarioCorriente(e.Carpeta(), [&] {
        if (!ConectarBD())
            return 10;
        try {
            Conexion->Ejecutar(inserta);
            return 11;
        } catch (const ErrorBD& err) {
            if (!err.descripcion().startsWith("La base de datos es de sólo lectura"))
                return 12;
        }
        QFile::setPermissions(e.RutaBD(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        try {
            Conexion->Ejecutar(inserta);
        } catch (const ErrorBD&) {
            return 13;
        }
        CierraConexion();
        return 0;
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Sqlite(e.RutaBD(), "select COD_FACTURA from FACTURAS"), "F-1");
}

TEST(BaseDatos, LaHerramientaSqlite3LeeElArchivo) {
    SOLO_CON_ARCHIVO();
    const QString sqlite3 = QStandardPaths::findExecutable("sqlite3");
    if (sqlite3.isEmpty())
        GTEST_SKIP() << "sqlite3 is not installed";
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros("IGIC", 7);
    e.InsertaFactura("P", "F-7", "06/12/2007", "1.234,56", "121", "100", "21");
    CierraConexion();
    QProcess p;
    p.start(sqlite3, {e.RutaBD(), "select COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IVA, TIPO from FACTURAS;"
                                  "select OPCION_IVA, IVA from PARAMETROS;"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), "F-7|2007-12-06|1234.56|21.0|P\nIGIC|7\n");
}

namespace {

// An installed tree in `raiz`: the program folder bin/ and, when asked, the
// desktop entry `entrada` in share/applications/. Returns the program folder.
QString ArbolInstalado(const QString& raiz, const QString& bin, const QString& entrada) {
    QDir().mkpath(raiz + "/" + bin);
    QDir().mkpath(raiz + "/share/applications");
    if (!entrada.isEmpty())
        Escribe(raiz + "/share/applications/" + entrada, "[Desktop Entry]\n");
    return raiz + "/" + bin;
}

}  // namespace

TEST(BaseDatos, ReconoceElProgramaInstalado) {
    QTemporaryDir t;
    const QString sep = QDir::separator();
    const struct {
        const char *caso, *bin, *entrada;
        bool instalado;
    } casos[] = {
        {"instalado", "bin", "es.fiscalino.Fiscalino.desktop", true},
        {"sin entrada de escritorio", "bin", "", false},
        {"entrada de otro programa", "bin", "es.otro.Otro.desktop", false},
        {"carpeta de compilación", "build", "es.fiscalino.Fiscalino.desktop", false},
        {"bin dentro de otra carpeta", "opt/bin", "es.fiscalino.Fiscalino.desktop", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const QString raiz = t.path() + "/" + c.caso;
        const QString programa = ArbolInstalado(raiz, c.bin, c.entrada);
        EXPECT_EQ(ProgramaInstalado(programa), c.instalado);
        // As start-up hands it over: native separators with one at the end.
        EXPECT_EQ(ProgramaInstalado(QDir::toNativeSeparators(programa) + sep), c.instalado);
    }
}

TEST(BaseDatos, ProgramaInstaladoCreaYUsaLaBaseDelUsuario) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    RegistroMensajes r;
    // Root may write in the program folder: the installed tree decides all the same.
    EstableceRutaAplicacion(ArbolInstalado(e.Carpeta() + "/raiz", "bin", "es.fiscalino.Fiscalino.desktop"));
    const QString enUsuario = CarpetaDatosUsuario() + "Fiscalino.mdb";
    ASSERT_TRUE(ConectarBD());
    EXPECT_EQ(Conexion->Ruta(), enUsuario);
    e.InsertaFactura("P", "F-7", "06/12/2007", "21,00", "121");
    CierraConexion();
    EXPECT_FALSE(QFile::exists(RutaAplicacion + "Fiscalino.mdb"));
    // A file left beside an installed program is not taken over.
    Escribe(RutaAplicacion + "Fiscalino.mdb", QByteArray());
    ASSERT_TRUE(ConectarBD());
    EXPECT_EQ(Conexion->Ruta(), enUsuario);
    EXPECT_EQ(Conexion->AbrirRegistros("select * from FACTURAS")->NumFilas(), 1);
    EXPECT_EQ(r.cuenta(), 0);
}
