#include "data/sqlite/SentenciaSQLite.h"

#include <QByteArray>
#include <sqlite3.h>

ErrorBD ErrorSQLite(sqlite3* db, int rc) {
    const QString motor = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    QString texto;
    int numero = CodigoError::BaseDatos;
    switch (rc & 0xff) {
    case SQLITE_NOTADB: texto = QStringLiteral("El archivo no es una base de datos válida"); break;
    case SQLITE_CORRUPT: texto = QStringLiteral("La base de datos está dañada"); break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: texto = QStringLiteral("La base de datos está bloqueada por otro usuario"); break;
    case SQLITE_READONLY: texto = QStringLiteral("La base de datos es de sólo lectura"); break;
    case SQLITE_FULL: texto = QStringLiteral("El disco está lleno"); break;
    case SQLITE_CONSTRAINT: texto = QStringLiteral("Se ha incumplido una restricción de la base de datos"); break;
    case SQLITE_CANTOPEN:
        texto = QStringLiteral("No se puede abrir el archivo de la base de datos");
        numero = CodigoError::ArchivoNoEncontrado;
        break;
    case SQLITE_PERM: texto = QStringLiteral("No tiene permiso para usar la base de datos"); break;
    case SQLITE_IOERR: texto = QStringLiteral("Error de lectura o escritura en la base de datos"); break;
    default: texto = QStringLiteral("Error en la base de datos"); break;
    }
    return ErrorBD(numero, texto + QStringLiteral(" (") + motor + QStringLiteral(")"));
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
