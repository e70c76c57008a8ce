#include "datos/sqlite/SentenciaSQLite.h"

#include "base/Bitacora.h"
#include "datos/sqlite/TextosMotor.h"

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

void SentenciaSQLite::Enlaza(const std::vector<Valor>& valores) {
    if (static_cast<int>(valores.size()) != sqlite3_bind_parameter_count(st_))
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La sentencia no tiene los valores que espera."));
    for (int i = 0; i < static_cast<int>(valores.size()); ++i) {
        const Valor& v = valores[static_cast<size_t>(i)];
        int rc = SQLITE_OK;
        switch (v.tipo()) {
        case Valor::Tipo::Nulo: rc = sqlite3_bind_null(st_, i + 1); break;
        case Valor::Tipo::Entero: rc = sqlite3_bind_int64(st_, i + 1, v.entero()); break;
        case Valor::Tipo::Decimal: rc = sqlite3_bind_double(st_, i + 1, v.decimal()); break;
        case Valor::Tipo::Fecha: {
            const QByteArray iso = v.fecha().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text(st_, i + 1, iso.constData(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
            break;
        }
        case Valor::Tipo::Texto: {
            const QByteArray t = v.texto().toUtf8();
            rc = sqlite3_bind_text(st_, i + 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            throw ErrorSQLite(db_, rc);
    }
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
