#include "datos/sqlite/MotorSQLite.h"

#include "base/Bitacora.h"
#include "base/OrdenEspanol.h"
#include "datos/motor/Esquema.h"
#include "datos/sqlite/EstructuraSQLite.h"
#include "datos/sqlite/SentenciaSQLite.h"
#include "datos/sqlite/TextosMotor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cstring>
#include <sqlite3.h>

// ---- Dialect --------------------------------------------------------------------

QString DialectoSQLite::LiteralFecha(const QDate& fecha) const {
    return QLatin1Char('\'') + fecha.toString(Qt::ISODate) + QLatin1Char('\'');
}

QString DialectoSQLite::OrdenEspanol() const { return QStringLiteral("collate ESPANOL"); }

namespace {

const DialectoSQLite kDialecto;

// Spanish dictionary order, whatever the machine's locale. It is registered
// on the program's own connections only and named by the translated
// statements, never by the stored schema, so other tools need nothing.
int CompararEspanol(void*, int n1, const void* t1, int n2, const void* t2) {
    return OrdenEspanol::Compara(static_cast<const char*>(t1), n1, static_cast<const char*>(t2), n2);
}

void RegistraOrdenEspanol(sqlite3* db) {
    sqlite3_create_collation_v2(db, "ESPANOL", SQLITE_UTF8, nullptr, CompararEspanol, nullptr);
}

// ISO date text "yyyy-mm-dd", read straight from the bytes: it runs for every
// date cell of a result set.
bool DiaIso(const unsigned char* t, int n, qint64& dia) {
    if (n != 10 || t[4] != '-' || t[7] != '-')
        return false;
    int v[3] = {0, 0, 0};
    const int desde[3] = {0, 5, 8}, hasta[3] = {4, 7, 10};
    for (int k = 0; k < 3; ++k)
        for (int i = desde[k]; i < hasta[k]; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            v[k] = v[k] * 10 + (t[i] - '0');
        }
    const QDate f(v[0], v[1], v[2]);
    if (!f.isValid())
        return false;
    dia = f.toJulianDay();
    return true;
}

// A date column of the program's tables, as described: the file keeps its
// dates as text, whatever type an earlier layout declared.
bool EsColumnaFecha(sqlite3_stmt* st, int c) {
    const char* tabla = sqlite3_column_table_name(st, c);
    const char* columna = sqlite3_column_origin_name(st, c);
    return tabla && columna &&
           ClaseDeColumna(QString::fromUtf8(tabla), QString::fromUtf8(columna)) == ClaseColumna::Fecha;
}

// A whole-file check on a connection of its own, read only, waiting for
// another writer's lock as long as the connection's statements do. "" when
// sound, the Spanish description when it found faults; nothing when it could
// not finish (the file locked, the check interrupted): that is no verdict.
std::optional<QString> ComprobarArchivo(const QString& ruta, sqlite3** manejador, std::mutex& m, int espera) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    {
        std::lock_guard<std::mutex> l(m);
        *manejador = db;
    }
    QString veredicto;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, espera);
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, "pragma quick_check(1)", -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(st);
            if (rc == SQLITE_ROW)
                veredicto = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))).simplified();
        }
        sqlite3_finalize(st);
    }
    {
        std::lock_guard<std::mutex> l(m);
        *manejador = nullptr;
    }
    sqlite3_close_v2(db);
    const int codigo = rc & 0xff;
    if (rc == SQLITE_ROW && veredicto == QLatin1String("ok"))
        return QString();
    if (rc != SQLITE_ROW && codigo != SQLITE_CORRUPT && codigo != SQLITE_NOTADB) {
        // Another writer's lock is no news (it is tried again every few seconds).
        if (codigo != SQLITE_INTERRUPT && codigo != SQLITE_BUSY && codigo != SQLITE_LOCKED)
            AnotaBitacora(QStringLiteral("Comprobación de ") + ruta + QStringLiteral(" aplazada: ") +
                          QString::fromUtf8(sqlite3_errstr(rc)));
        return std::nullopt;
    }
    // The engine's own lines go to the log, not to the message.
    AnotaBitacora(QStringLiteral("Comprobación de ") + ruta + QStringLiteral(": ") +
                  (veredicto.isEmpty() ? QString::fromUtf8(sqlite3_errstr(rc)) : veredicto));
    return TextoErrorMotor(SQLITE_CORRUPT, veredicto);
}

}  // namespace

// ---- MotorSQLite -----------------------------------------------------------------

MotorSQLite::MotorSQLite(sqlite3* db, QString ruta) : db_(db), ruta_(std::move(ruta)) {}

MotorSQLite::~MotorSQLite() { Cerrar(); }

const Dialecto& MotorSQLite::dialecto() const { return kDialecto; }

namespace {

// How long a statement waits for another user's lock, until told otherwise.
constexpr int kEsperaInicial = 3000;
// A check that met another writer's lock is tried again after this long.
constexpr int kReintentoComprobacionMs = 5000;

// A handle of the engine on `ruta`, ready for the program's statements. One
// connection is used by one thread at a time (the check has its own): the
// engine need not lock around every call.
sqlite3* AbreManejador(const QString& ruta, int flags, int espera) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        ErrorBD e = ErrorSQLite(db, rc);
        sqlite3_close(db);
        throw e;
    }
    sqlite3_busy_timeout(db, espera);
    sqlite3_extended_result_codes(db, 0);
    RegistraOrdenEspanol(db);
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

}  // namespace

std::unique_ptr<MotorSQLite> MotorSQLite::Abrir(const QString& ruta, Modo modo) {
    const bool crearSiFalta = modo == Modo::CrearSiFalta;
    const bool soloLectura = modo == Modo::SoloLectura;
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
    const int flags = soloLectura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (existe ? 0 : SQLITE_OPEN_CREATE);
    std::unique_ptr<MotorSQLite> motor(new MotorSQLite(AbreManejador(ruta, flags, kEsperaInicial), ruta));
    motor->soloLectura_ = soloLectura;
    if (soloLectura && !existe)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("El archivo de la base de datos está vacío: ") + ruta);
    if (existe)
        PreparaArchivo(*motor, motor->db_, ruta, !soloLectura);  // header, schema and layout; the rest is checked apart
    else
        CreaEsquema(*motor, motor->db_);
    motor->nueva_ = !existe;
    borra.Conserva();
    return motor;
}

void MotorSQLite::ReabreSiAdmiteEscritura() {
    // The engine opens a write-protected file read-only and keeps it so for
    // the handle's life: once the file can be written again, a new handle
    // takes over, so that saving works without restarting the program.
    if (!db_ || soloLectura_ || sqlite3_db_readonly(db_, "main") != 1 || !QFileInfo(ruta_).isWritable())
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
    sqlite3_close_v2(db_);
    db_ = nuevo;
}

int MotorSQLite::Ejecutar(const QString& sql, const std::vector<Valor>& valores) {
    ReabreSiAdmiteEscritura();
    SentenciaSQLite s(db_, sql);
    s.Enlaza(valores);
    // The engine's count of the last change stays as it was after a statement
    // that changes nothing; the running total tells whether this one did.
    const qint64 antes = sqlite3_total_changes64(db_);
    while (s.Paso() == SQLITE_ROW) {
    }
    return sqlite3_total_changes64(db_) == antes ? 0 : static_cast<int>(sqlite3_changes64(db_));
}

std::unique_ptr<Registros> MotorSQLite::Consultar(const QString& sql) {
    SentenciaSQLite s(db_, sql);
    sqlite3_stmt* st = s.st();
    const int n = sqlite3_column_count(st);
    QStringList columnas;
    std::vector<char> fecha(static_cast<size_t>(n)), sinTipo(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) {
        columnas << QString::fromUtf8(sqlite3_column_name(st, c));
        fecha[static_cast<size_t>(c)] = EsColumnaFecha(st, c);
        // An expression's value (a max of dates) is read as a date when it is one.
        sinTipo[static_cast<size_t>(c)] = sqlite3_column_decltype(st, c) == nullptr;
    }
    // Rows come in date order mostly: the day read last in each column is kept.
    std::vector<std::array<unsigned char, 10>> ultimoIso(static_cast<size_t>(n));
    std::vector<qint64> ultimoDia(static_cast<size_t>(n), -1);
    Registros::Constructor r(std::move(columnas));
    while (s.Paso() == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            const size_t k = static_cast<size_t>(c);
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: r.Nulo(); continue;
            case SQLITE_INTEGER: r.Entero(sqlite3_column_int64(st, c)); continue;
            case SQLITE_FLOAT: r.Decimal(sqlite3_column_double(st, c)); continue;
            default: break;
            }
            const auto* t = sqlite3_column_text(st, c);
            const int bytes = sqlite3_column_bytes(st, c);
            if (fecha[k] || sinTipo[k]) {
                if (bytes == 10 && ultimoDia[k] >= 0 && std::memcmp(t, ultimoIso[k].data(), 10) == 0) {
                    r.Fecha(ultimoDia[k]);
                    continue;
                }
                qint64 dia = 0;
                if (DiaIso(t, bytes, dia)) {
                    std::memcpy(ultimoIso[k].data(), t, 10);
                    ultimoDia[k] = dia;
                    r.Fecha(dia);
                    continue;
                }
            }
            r.Texto(reinterpret_cast<const char*>(t), bytes);
        }
    }
    return r.Termina();
}

void MotorSQLite::Empieza(ClaseTransaccion clase) {
    if (clase == ClaseTransaccion::Escritura) {
        ReabreSiAdmiteEscritura();
        EjecutaSQLite(db_, "begin immediate");
    } else {
        // The first read takes the shared lock and keeps it to the end: no
        // writer changes the file in between.
        EjecutaSQLite(db_, "begin");
    }
}

// On the handle that began it: never one opened again meanwhile.
void MotorSQLite::Confirma() { EjecutaSQLite(db_, "commit"); }

void MotorSQLite::Deshaz() noexcept {
    // A failed statement may have ended the transaction already.
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
}

void MotorSQLite::EstableceEspera(int milisegundos) {
    espera_ = milisegundos;
    if (db_)
        sqlite3_busy_timeout(db_, milisegundos);
}

void MotorSQLite::IniciaComprobacion(std::function<void(const QString&)> alTerminar, int retardoMs) {
    if (comprobacion_.joinable() || comprobada_ || !db_)
        return;
    if (alTerminar)
        alTerminar_ = std::move(alTerminar);
    auto promesa = std::make_shared<std::promise<std::optional<QString>>>();
    veredicto_ = promesa->get_future().share();
    comprobacion_ = std::thread([this, promesa, retardoMs, espera = espera_, aviso = alTerminar_] {
        for (int retardo = retardoMs;; retardo = kReintentoComprobacionMs) {
            {
                std::unique_lock<std::mutex> l(mutexComprobacion_);
                despierta_.wait_for(l, std::chrono::milliseconds(retardo), [this] { return sinEsperar_; });
                if (cerrando_) {
                    promesa->set_value(std::nullopt);
                    return;
                }
            }
            const std::optional<QString> v = ComprobarArchivo(ruta_, &dbComprobacion_, mutexComprobacion_, espera);
            if (v) {
                promesa->set_value(v);
                if (aviso)
                    aviso(*v);
                return;
            }
            // Another process was writing: a write that waits is let through
            // (it meets the lock by itself); otherwise the check goes on later.
            std::lock_guard<std::mutex> l(mutexComprobacion_);
            if (sinEsperar_ || cerrando_) {
                promesa->set_value(std::nullopt);
                return;
            }
        }
    });
}

void MotorSQLite::EsperaComprobacion() {
    if (!db_ || comprobada_)
        return;
    IniciaComprobacion(nullptr, 0);
    {
        std::lock_guard<std::mutex> l(mutexComprobacion_);
        sinEsperar_ = true;
    }
    despierta_.notify_all();
    const std::optional<QString> v = veredicto_.get();
    if (!v) {
        // No verdict yet: the check starts again, apart, for the next write.
        comprobacion_.join();
        {
            std::lock_guard<std::mutex> l(mutexComprobacion_);
            sinEsperar_ = false;
        }
        IniciaComprobacion(nullptr, kReintentoComprobacionMs);
        return;
    }
    if (!v->isEmpty())
        throw ErrorBD(CodigoError::BaseDatos, *v);
    comprobada_ = true;
}

void MotorSQLite::DetieneComprobacion() {
    {
        std::lock_guard<std::mutex> l(mutexComprobacion_);
        sinEsperar_ = cerrando_ = true;
        if (dbComprobacion_)
            sqlite3_interrupt(dbComprobacion_);
    }
    despierta_.notify_all();
    if (comprobacion_.joinable())
        comprobacion_.join();
}

void MotorSQLite::Cerrar() {
    DetieneComprobacion();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void MotorSQLite::CopiaConsistente(const QString& destino) {
    if (!db_)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
    CopiaSQLite(db_, destino);
}

bool MotorSQLite::TieneTabla(const char* tabla) {
    return Consultar(QStringLiteral("select count(*) from sqlite_master where type = 'table' and upper(name) = '%1'")
                         .arg(QLatin1String(tabla)))
               ->Campo(0)
               .Numero() > 0;
}
