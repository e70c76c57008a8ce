#include "data/ConexionBD.h"

#include "data/AtributosConexion.h"
#include "data/comun/Bitacora.h"
#include "data/comun/Formatos.h"
#include "data/BaseDatos.h"
#include "data/TextosMotor.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

const QString kNoCoinciden = QStringLiteral("No coinciden los tipos: ");

// ---- Functions registered on every connection -------------------------------

QString TextoDe(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// Day number of an ISO text "yyyy-mm-dd" (the stored form), read straight
// from the bytes: this runs for every row an index or a range touches.
std::optional<QDate> FechaIso(const unsigned char* t, int n) {
    if (n != 10 || t[4] != '-' || t[7] != '-')
        return std::nullopt;
    int v[3] = {0, 0, 0};
    const int desde[3] = {0, 5, 8}, hasta[3] = {4, 7, 10};
    for (int k = 0; k < 3; ++k)
        for (int i = desde[k]; i < hasta[k]; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return std::nullopt;
            v[k] = v[k] * 10 + (t[i] - '0');
        }
    QDate f(v[0], v[1], v[2]);
    if (!f.isValid())
        return std::nullopt;
    return f;
}

// A date from a stored or written value: ISO text (as stored) or day-first text.
std::optional<QDate> FechaDeValor(sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    const unsigned char* t = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    if (auto iso = FechaIso(t, n))
        return iso;
    return LeeFecha(QString::fromUtf8(reinterpret_cast<const char*>(t), n));
}

void ErrorFecha(sqlite3_context* ctx, sqlite3_value* v) {
    QString m = kNoCoinciden + QStringLiteral("'") + TextoDe(v) + QStringLiteral("' no es una fecha válida.");
    sqlite3_result_error(ctx, m.toUtf8().constData(), -1);
}

// The date argument of a date function; Null gives a Null result and a text
// that is not a date fails the statement, both already answered when it
// returns nothing.
std::optional<QDate> ArgumentoFecha(sqlite3_context* ctx, sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return std::nullopt;
    }
    auto f = FechaDeValor(v);
    if (!f)
        ErrorFecha(ctx, v);
    return f;
}

// DateValue(text): the day number of a day-first date, for comparisons.
void FnDateValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (auto f = ArgumentoFecha(ctx, argv[0]))
        sqlite3_result_int64(ctx, f->toJulianDay());
}

// The stored form of a date column: ISO text, so that it sorts in calendar order.
void FnFechaRegional(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (auto f = ArgumentoFecha(ctx, argv[0]))
        sqlite3_result_text(ctx, f->toString(Qt::ISODate).toUtf8().constData(), -1, SQLITE_TRANSIENT);
}

// The stored form of a number column: a real number from Spanish text.
void FnNumeroRegional(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
    default: break;
    }
    auto n = LeeNumero(TextoDe(argv[0]));
    if (!n) {
        QString m = kNoCoinciden + QStringLiteral("'") + TextoDe(argv[0]) + QStringLiteral("' no es un número.");
        sqlite3_result_error(ctx, m.toUtf8().constData(), -1);
        return;
    }
    sqlite3_result_double(ctx, *n);
}

}  // namespace

void RegistraFuncionesBD(sqlite3* db) {
    // Innocuous as well, so that the index and the triggers that name them
    // work also where the schema is not trusted.
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, "DateValue", 1, f, nullptr, FnDateValue, nullptr, nullptr);
    sqlite3_create_function(db, "FechaRegional", 1, f, nullptr, FnFechaRegional, nullptr, nullptr);
    sqlite3_create_function(db, "NumeroRegional", 1, f, nullptr, FnNumeroRegional, nullptr, nullptr);
}

namespace {

// Triggers that turn the regional texts written into FACTURAS into typed
// values; a text that does not convert fails the whole statement. A row that
// already holds the stored forms (ISO date, real numbers) is left alone, so
// the trigger's own update does not run the conversion a second time.
#define FISCALINO_CONVIERTE_FILA                                              \
    " when not (coalesce(FechaRegional(new.FECHA_FACTURA) = new.FECHA_FACTURA, 1)" \
    "       and typeof(new.IMPORTE_NETO) in ('real', 'null')"                  \
    "       and typeof(new.IVA) in ('real', 'null')"                           \
    "       and typeof(new.IMPORTE_IVA) in ('real', 'null')"                   \
    "       and typeof(new.IMPORTE_TOTAL) in ('real', 'null'))"                \
    " begin"                                                                   \
    "  update FACTURAS"                                                        \
    "     set FECHA_FACTURA = FechaRegional(new.FECHA_FACTURA),"               \
    "         IMPORTE_NETO = NumeroRegional(new.IMPORTE_NETO),"                \
    "         IVA = NumeroRegional(new.IVA),"                                  \
    "         IMPORTE_IVA = NumeroRegional(new.IMPORTE_IVA),"                  \
    "         IMPORTE_TOTAL = NumeroRegional(new.IMPORTE_TOTAL)"               \
    "   where ID = new.ID;"                                                    \
    " end;\n"

const char* const kConversiones =
    "create trigger if not exists FACTURAS_TIPOS_INSERT after insert on FACTURAS" FISCALINO_CONVIERTE_FILA
    "create trigger if not exists FACTURAS_TIPOS_UPDATE after update on FACTURAS" FISCALINO_CONVIERTE_FILA
    // The ranges of the browser and the listing go through DateValue: these
    // indexes serve them, and carry what the sums and the day list read.
    R"SQL(
create index if not exists FACTURAS_TIPO_FECHA
    on FACTURAS (TIPO, DateValue(FECHA_FACTURA), FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL);
create index if not exists FACTURAS_FECHA on FACTURAS (DateValue(FECHA_FACTURA), FECHA_FACTURA);
)SQL";

// ---- Errors -----------------------------------------------------------------

ErrorBD ErrorMotor(sqlite3* db, int rc) {
    const QString motor = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    // The program's own texts (a conversion that fails, a trigger's RAISE)
    // reach the user as they are; the engine's own go to the log.
    if (motor.startsWith(kNoCoinciden))
        return ErrorBD(CodigoError::TipoIncorrecto, motor);
    if (db && sqlite3_extended_errcode(db) == SQLITE_CONSTRAINT_TRIGGER)
        return ErrorBD(CodigoError::BaseDatos, motor);
    const char* archivo = db ? sqlite3_db_filename(db, "main") : nullptr;
    AnotaBitacora(QStringLiteral("Base de datos %1, código %2: %3")
                      .arg(archivo ? QString::fromUtf8(archivo) : QString())
                      .arg(db ? sqlite3_extended_errcode(db) : rc)
                      .arg(motor));
    const int numero = (rc & 0xff) == SQLITE_CANTOPEN ? CodigoError::ArchivoNoEncontrado : CodigoError::BaseDatos;
    return ErrorBD(numero, TextoErrorMotor(rc, motor));
}

// How long a statement waits for another user's lock, until told otherwise.
constexpr int kEsperaInicial = 3000;

// A handle of the engine on `ruta`, ready for the program's statements.
sqlite3* AbreManejador(const QString& ruta, int flags, int espera) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(ruta.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        ErrorBD e = ErrorMotor(db, rc);
        sqlite3_close(db);
        throw e;
    }
    sqlite3_busy_timeout(db, espera);
    sqlite3_extended_result_codes(db, 0);
    RegistraFuncionesBD(db);
    return db;
}

// Removes a database file and its journal on the way out, unless told to keep them.
class BorraSiFalla {
public:
    explicit BorraSiFalla(QString ruta) : ruta_(std::move(ruta)) {}
    ~BorraSiFalla() {
        if (ruta_.isEmpty())
            return;
        QFile::remove(ruta_);
        QFile::remove(ruta_ + QStringLiteral("-journal"));
    }
    void Conserva() { ruta_.clear(); }

private:
    QString ruta_;
};

// ---- Reading rows -------------------------------------------------------------

enum class Clase { Auto, Fecha };

Clase ClaseColumna(sqlite3_stmt* st, int c) {
    const char* d = sqlite3_column_decltype(st, c);
    if (d && QByteArray(d).toUpper().contains("DATE"))
        return Clase::Fecha;
    return Clase::Auto;
}

Valor LeeCelda(sqlite3_stmt* st, int c, Clase clase, bool sinTipoDeclarado) {
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_NULL: return Valor::Nulo();
    case SQLITE_INTEGER: return Valor::DeEntero(sqlite3_column_int64(st, c));
    case SQLITE_FLOAT: return Valor::DeDecimal(sqlite3_column_double(st, c));
    default: break;
    }
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
    int n = sqlite3_column_bytes(st, c);
    if (clase == Clase::Fecha || sinTipoDeclarado) {
        if (auto f = FechaIso(reinterpret_cast<const unsigned char*>(t), n))
            return Valor::DeFecha(*f);
    }
    return Valor::DeTexto(QString::fromUtf8(t, n));
}

class Sentencia {
public:
    Sentencia(sqlite3* db, const QString& sql) : db_(db) {
        if (!db)
            throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
        const QByteArray u = sql.toUtf8();
        const char* resto = nullptr;
        int rc = sqlite3_prepare_v2(db, u.constData(), u.size(), &st_, &resto);
        if (rc != SQLITE_OK)
            throw ErrorMotor(db, rc);
        if (!st_)
            throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La sentencia está vacía."));
        // One statement at a time: nothing may follow but blanks and a ";".
        for (const char* p = resto; p && *p; ++p)
            if (*p != ' ' && *p != ';' && *p != '\n' && *p != '\r' && *p != '\t')
                throw ErrorBD(CodigoError::BaseDatos,
                              QStringLiteral("Error en la base de datos: sólo se admite una sentencia cada vez."));
    }
    ~Sentencia() { sqlite3_finalize(st_); }
    int Paso() {
        int rc = sqlite3_step(st_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw ErrorMotor(db_, rc);
        return rc;
    }
    sqlite3_stmt* st() const { return st_; }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

}  // namespace

// ---- Registros ----------------------------------------------------------------

Registros::Registros(QStringList columnas, std::vector<std::vector<Valor>> filas)
    : columnas_(std::move(columnas)), numFilas_(static_cast<int>(filas.size())) {
    celdas_.reserve(filas.size() * static_cast<size_t>(columnas_.size()));
    for (auto& fila : filas) {
        fila.resize(static_cast<size_t>(columnas_.size()));
        for (auto& v : fila)
            celdas_.push_back(std::move(v));
    }
}

Registros::Registros(Celdas, QStringList columnas, std::vector<Valor> celdas)
    : columnas_(std::move(columnas)), celdas_(std::move(celdas)) {
    numFilas_ = columnas_.isEmpty() ? 0 : static_cast<int>(celdas_.size() / static_cast<size_t>(columnas_.size()));
}

int Registros::IndiceColumna(const QString& nombre) const {
    for (int i = 0; i < columnas_.size(); ++i)
        if (columnas_[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Valor& Registros::Campo(const QString& nombre) const {
    int i = IndiceColumna(nombre);
    if (i < 0)
        throw ErrorBD(3265, QStringLiteral("No se encontró el elemento en la colección: ") + nombre);
    return Campo(i);
}

const Valor& Registros::Campo(int columna) const {
    if (numFilas_ == 0)
        throw ErrorBD(3021, QStringLiteral("No hay ningún registro actual."));
    return Celda(0, columna);
}

const Valor& Registros::Celda(int fila, int columna) const {
    if (fila < 0 || fila >= NumFilas() || columna < 0 || columna >= NumColumnas())
        throw ErrorBD(3265, QStringLiteral("No se encontró el elemento en la colección."));
    return celdas_[static_cast<size_t>(fila) * static_cast<size_t>(columnas_.size()) + static_cast<size_t>(columna)];
}

void Registros::Cerrar() {
    celdas_.clear();
    celdas_.shrink_to_fit();
    numFilas_ = 0;
}

// ---- ConexionBD ---------------------------------------------------------------

ConexionBD::ConexionBD(sqlite3* db, QString ruta) : db_(db), ruta_(std::move(ruta)), espera_(kEsperaInicial) {}

ConexionBD::~ConexionBD() { Cerrar(); }

QString ConexionBD::RutaDeCadena(const QString& cadena) {
    return ValorAtributoConexion(cadena, QStringLiteral("DBQ"));
}

std::unique_ptr<ConexionBD> ConexionBD::Abrir(const QString& cadenaConexion, bool crearSiFalta) {
    const QString ruta = RutaDeCadena(cadenaConexion);
    if (ruta.isEmpty())
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("La cadena de conexión no indica el archivo de la base de datos."));
    // An empty file holds nothing to lose: it gets the tables like a new one.
    const QFileInfo info(ruta);
    const bool habia = info.exists();
    const bool existe = habia && !(info.isFile() && info.size() == 0);
    if (!habia && !crearSiFalta)
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("No se encontró el archivo de la base de datos: ") + ruta);
    // A file this call made goes again when it cannot be completed (a full
    // disk), so that the next start does not find an empty database. It is
    // declared first, so that it runs after the handle has been closed.
    BorraSiFalla borra(habia ? QString() : ruta);
    sqlite3* db = AbreManejador(ruta, SQLITE_OPEN_READWRITE | (existe ? 0 : SQLITE_OPEN_CREATE), kEsperaInicial);
    std::unique_ptr<ConexionBD> con(new ConexionBD(db, ruta));
    // Reading the schema tells a foreign or damaged file apart before anything is written.
    auto tablas = con->AbrirRegistros(QStringLiteral("select name from sqlite_master where type = 'table'"));
    if (existe) {
        // Damage deeper in the file shows up here, before anything is written.
        auto prueba = con->AbrirRegistros(QStringLiteral("pragma quick_check(1)"));
        const QString veredicto = prueba->Fin() ? QString() : prueba->Celda(0, 0).Texto().simplified();
        if (veredicto != QLatin1String("ok")) {
            AnotaBitacora(QStringLiteral("Comprobación de ") + ruta + QStringLiteral(": ") + veredicto);
            throw ErrorBD(CodigoError::BaseDatos, TextoErrorMotor(SQLITE_CORRUPT, veredicto));
        }
    }
    if (!existe) {
        con->Ejecutar(QStringLiteral("begin"));
        try {
            for (const QString& s : QString::fromUtf8(EsquemaBD).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                if (!s.trimmed().isEmpty())
                    con->Ejecutar(s);
            // A new database without its conversions would store texts unchecked.
            const int rc = sqlite3_exec(db, kConversiones, nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                throw ErrorMotor(db, rc);
            con->Ejecutar(QStringLiteral("commit"));
        } catch (...) {
            sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
            throw;
        }
    }
    bool conFacturas = false;
    for (int i = 0; i < tablas->NumFilas(); ++i)
        if (tablas->Celda(i, 0).Texto().compare(QLatin1String("FACTURAS"), Qt::CaseInsensitive) == 0)
            conFacturas = true;
    if (existe && conFacturas)
        sqlite3_exec(db, kConversiones, nullptr, nullptr, nullptr);  // a read-only file simply keeps its schema
    borra.Conserva();
    return con;
}

void ConexionBD::ReabreSiAdmiteEscritura() {
    // The engine opens a write-protected file read-only and keeps it so for
    // the handle's life: once the file can be written again, a new handle
    // takes over, so that saving works without restarting the program.
    if (!db_ || sqlite3_db_readonly(db_, "main") != 1 || !QFileInfo(ruta_).isWritable())
        return;
    sqlite3* nuevo = nullptr;
    try {
        nuevo = AbreManejador(ruta_, SQLITE_OPEN_READWRITE, espera_);
    } catch (const ErrorBD&) {
        return;  // the statement meets the old handle's read-only failure
    }
    if (sqlite3_db_readonly(nuevo, "main") == 1) {
        sqlite3_close_v2(nuevo);
        return;
    }
    sqlite3_exec(nuevo, kConversiones, nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nuevo;
}

int ConexionBD::Ejecutar(const QString& sql) {
    ReabreSiAdmiteEscritura();
    Sentencia s(db_, sql);
    // The engine's count of the last change stays as it was after a statement
    // that changes nothing; the running total tells whether this one did.
    const qint64 antes = sqlite3_total_changes64(db_);
    while (s.Paso() == SQLITE_ROW) {
    }
    return sqlite3_total_changes64(db_) == antes ? 0 : static_cast<int>(sqlite3_changes64(db_));
}

std::unique_ptr<Registros> ConexionBD::AbrirRegistros(const QString& sql) {
    Sentencia s(db_, sql);
    sqlite3_stmt* st = s.st();
    const int n = sqlite3_column_count(st);
    QStringList columnas;
    std::vector<Clase> clases;
    std::vector<bool> sinTipo;
    for (int c = 0; c < n; ++c) {
        columnas << QString::fromUtf8(sqlite3_column_name(st, c));
        clases.push_back(ClaseColumna(st, c));
        sinTipo.push_back(sqlite3_column_decltype(st, c) == nullptr);
    }
    std::vector<Valor> celdas;
    while (s.Paso() == SQLITE_ROW)
        for (int c = 0; c < n; ++c)
            celdas.push_back(LeeCelda(st, c, clases[static_cast<size_t>(c)], sinTipo[static_cast<size_t>(c)]));
    return std::unique_ptr<Registros>(new Registros(Registros::Celdas{}, std::move(columnas), std::move(celdas)));
}

void ConexionBD::EstableceEspera(int milisegundos) {
    espera_ = milisegundos;
    if (db_)
        sqlite3_busy_timeout(db_, milisegundos);
}

void ConexionBD::Cerrar() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}
