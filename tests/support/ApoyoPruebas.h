#pragma once
// Shared ground for the tests: a temporary program folder with its own
// settings, and a fresh database in it.
#include "ordenes/comun/Orden.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>

// Readable QString values in assertion failures.
void PrintTo(const QString& texto, std::ostream* os);

class EntornoPruebas {
public:
    // Points RutaAplicacion, the settings store and the backup folder (its
    // "copias") at a new temporary folder and resets the parameters in
    // memory. Does not connect.
    EntornoPruebas();
    ~EntornoPruebas();
    QString Carpeta() const { return dir_.path(); }
    QString RutaBD() const;
    // ConectarBD on the folder (creates the empty database). Fails the test on error.
    void Conecta();
    // What the program wrote in its log so far.
    QString Bitacora() const;
    // Inserts the parameter row (no password, 21 %, IVA) so that start-up is not a first run.
    void InsertaParametros(const QString& opcionIva = QStringLiteral("IVA"), int iva = 21);
    // Inserts an invoice through the program's own statement.
    void InsertaFactura(const QString& tipo, const QString& codigo, const QString& fecha, const QString& iva,
                        const QString& total, const QString& neto = QString(), const QString& pct = QString());

private:
    QTemporaryDir dir_;
};

// Runs `prueba` in a child process and returns its exit code, -1 when it did
// not end by itself. Limits set there (file size, user) stay in the child.
int EnProcesoHijo(const std::function<int()>& prueba);
// Runs `prueba` in a child process with an ordinary user's rights (root passes
// over file permissions), the folder handed to that user first. Returns the
// child's exit code, -1 when it did not end by itself.
int ComoUsuarioCorriente(const QString& carpeta, const std::function<int()>& prueba);

// True when the tests run against a PostgreSQL server (the variable
// FISCALINO_PRUEBAS_POSTGRESQL holds the address of its maintenance database).
bool PruebasEnServidor();
// A new, empty database on that server; its address.
QString BaseNuevaEnServidor();
// For a test of what only a database file has (its bytes, the standard tool,
// its layout upgrade, file locks).
#define SOLO_CON_ARCHIVO()                                                   \
    do {                                                                     \
        if (PruebasEnServidor())                                             \
            GTEST_SKIP() << "sólo con la base de datos en un archivo";       \
    } while (0)

// A trigger on `tabla` before each `suceso` ("insert", "update", "delete")
// of the shared connection's database: it refuses the statement with
// `mensaje`, or with no message silently skips the row. In each engine's own
// words, so that a test may make the database refuse on either.
void CreaDisparador(const QString& nombre, const QString& tabla, const QString& suceso,
                    const QString& mensaje = QString());
void BorraDisparador(const QString& nombre, const QString& tabla);

// What the standard sqlite3 tool answers to `sql` on `archivo` (output and errors).
QString Sqlite(const QString& archivo, const QString& sql);

// A command for scripts run in the test's own process: the lines it writes,
// and what the terminal answers (nothing: there is no terminal).
struct OrdenDePrueba {
    QStringList salida, errores;
    std::optional<QString> clave;      // the access password typed
    std::optional<QString> respuesta;  // the answer to its question
    ContextoOrden c;
    explicit OrdenDePrueba(const QStringList& argumentos = {});
    OrdenDePrueba(const OrdenDePrueba&) = delete;
    OrdenDePrueba& operator=(const OrdenDePrueba&) = delete;
};

// The bytes of a file ("" when it cannot be read).
QByteArray ContenidoArchivo(const QString& ruta);

// Files a user might pick to restore that are not a sound database of the
// program, written to `destino` from `base` (a database of the program).
enum class ArchivoMalo {
    Truncado,     // the first half of `base`
    Azar,         // random bytes
    Ajeno,        // a database of another program
    MasReciente,  // `base` stamped with a layout newer than this program's
    Vacio,        // nothing at all
    Danado        // `base` with a page in the middle overwritten
};
void HazArchivoMalo(ArchivoMalo tipo, const QString& base, const QString& destino);

// Another instance of the program: a process that holds the in-use mark on
// the database (a shared lock) until it is destroyed; or, copying, the
// exclusive use a backup copy takes.
struct OtraInstancia {
    QProcess p;
    explicit OtraInstancia(const QString& ruta, bool copiando = false);
    ~OtraInstancia();
    // True once the lock is held.
    bool Lista();
};
