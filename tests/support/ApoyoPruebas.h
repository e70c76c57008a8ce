#pragma once
// Shared ground for the tests: a temporary program folder with its own
// settings, and a fresh database in it.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
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

// What the standard sqlite3 tool answers to `sql` on `archivo` (output and errors).
QString Sqlite(const QString& archivo, const QString& sql);

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
