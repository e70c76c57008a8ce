#include "data/sqlite/SentenciaSQLite.h"

#include "data/comun/Bitacora.h"
#include "data/sqlite/TextosMotor.h"

#include <QByteArray>
#include <sqlite3.h>

ErrorBD ErrorSQLite(sqlite3* db, int rc) {
    // The user reads the Spanish wording; the engine's own English goes to the log.
    const QString motor = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    // A trigger's RAISE is a text of whoever wrote the trigger: it reaches the user as it is.
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

SentenciaSQLite::SentenciaSQLite(sqlite3* db, const QString& sql) : db_(db) {
    if (!db)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
    const QByteArray u = sql.toUtf8();
    const char* resto = nullptr;
    const int rc = sqlite3_prepare_v2(db, u.constData(), static_cast<int>(u.size()), &st_, &resto);
    if (rc != SQLITE_OK)
        throw ErrorSQLite(db, rc);
    if (!st_)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La sentencia está vacía."));
    // One statement at a time: nothing may follow but blanks and a ";".
    for (const char* p = resto; p && *p; ++p)
        if (*p != ' ' && *p != ';' && *p != '\n' && *p != '\r' && *p != '\t') {
            sqlite3_finalize(st_);
            st_ = nullptr;
            throw ErrorBD(CodigoError::BaseDatos,
                          QStringLiteral("Error en la base de datos: sólo se admite una sentencia cada vez."));
        }
}

SentenciaSQLite::~SentenciaSQLite() { sqlite3_finalize(st_); }

int SentenciaSQLite::Paso() {
    const int rc = sqlite3_step(st_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw ErrorSQLite(db_, rc);
    return rc;
}

void EjecutaSQLite(sqlite3* db, const char* sql) {
    SentenciaSQLite s(db, QString::fromUtf8(sql));
    while (s.Paso() == SQLITE_ROW) {
    }
}

QString ValorSQLite(sqlite3* db, const char* sql) {
    SentenciaSQLite s(db, QString::fromUtf8(sql));
    if (s.Paso() != SQLITE_ROW)
        return QString();
    const auto* t = sqlite3_column_text(s.st(), 0);
    return t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
}
