// The engine's side of the database files that are not the open one: their
// check, what they hold, and the consistent copy through the engine's backup.
#include "datos/sqlite/ArchivoBD.h"
#include "datos/sqlite/CopiaEntera.h"
#include "datos/motor/Esquema.h"
#include "base/Bitacora.h"
#include "datos/sqlite/EstructuraSQLite.h"
#include "datos/sqlite/SentenciaSQLite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

namespace {

// How long the backup waits for a writer of another instance to commit.
constexpr int kEsperaCopiaMs = 3000;

// The report of the engine's check on an open handle: "" when sound.
QString InformeDe(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, "pragma integrity_check", -1, &st, nullptr);
    if (rc != SQLITE_OK && QString::fromUtf8(sqlite3_errmsg(db)).contains(QLatin1String("unknown function"))) {
        // The earliest layout's indexes on a function of its own.
        rc = sqlite3_prepare_v2(db, "pragma quick_check", -1, &st, nullptr);
    }
    QStringList filas;
    while (rc == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        filas << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    const QString resultado = filas.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(db)) : filas.join(QLatin1Char('\n'));
    sqlite3_finalize(st);
    return resultado == QLatin1String("ok") ? QString() : resultado;
}

sqlite3* AbreLectura(const QString& ruta, int* rc) {
    sqlite3* db = nullptr;
    *rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    return db;
}

bool EsFalloDeEscritura(int rc) {
    switch (rc & 0xff) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM: return true;
    default: return false;
    }
}

// The engine's backup of `origen` into the empty file `temporal`, in one step
// under one read lock: a snapshot of one moment, whatever other instances write.
void RespaldoSQLite(sqlite3* origen, const QString& temporal) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temporal).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        // A temporary file needs no journal of its own (none is left behind)
        // and no sync of the engine's: the copy syncs it once, whole.
        sqlite3_exec(db, "pragma journal_mode = off; pragma synchronous = off", nullptr, nullptr, nullptr);
        sqlite3_backup* b = sqlite3_backup_init(db, "main", origen, "main");
        if (!b) {
            rc = sqlite3_errcode(db);
        } else {
            const QDeadlineTimer limite(kEsperaCopiaMs);
            do {
                rc = sqlite3_backup_step(b, -1);
                if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && !limite.hasExpired())
                    sqlite3_sleep(20);
                else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    break;
            } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
            const int fin = sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE)
                rc = fin;
        }
    }
    if (rc == SQLITE_OK || rc == SQLITE_DONE) {
        sqlite3_close_v2(db);
        return;
    }
    const QString motor = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    ErrorBD fallo = EsFalloDeEscritura(rc)
                        ? ErrorEscrituraCopia(QDir::toNativeSeparators(QFileInfo(temporal).absolutePath()), motor)
                        : ErrorSQLite(db, rc);
    sqlite3_close_v2(db);
    throw fallo;
}

}  // namespace

void CopiaSQLite(sqlite3* origen, const QString& destino) {
    const char* archivo = sqlite3_db_filename(origen, "main");
    EscribeCopiaEntera(destino, [origen](const QString& temporal) { RespaldoSQLite(origen, temporal); }, true,
                       archivo ? QString::fromUtf8(archivo) : QString());
}

void CopiaConsistenteArchivo(const QString& origen, const QString& destino, bool comprobar) {
    if (!QFileInfo(origen).isFile())
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("No se encontró el archivo de la base de datos: ") + origen);
    int rc = SQLITE_OK;
    sqlite3* db = AbreLectura(origen, &rc);
    if (rc != SQLITE_OK) {
        ErrorBD e = ErrorSQLite(db, rc);
        sqlite3_close_v2(db);
        throw e;
    }
    try {
        if (comprobar)
            CopiaSQLite(db, destino);
        else
            EscribeCopiaEntera(destino, [db](const QString& temporal) { RespaldoSQLite(db, temporal); }, false, origen);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
}

QString InformeIntegridad(const QString& ruta) {
    int rc = SQLITE_OK;
    sqlite3* db = AbreLectura(ruta, &rc);
    const QString resultado = rc == SQLITE_OK ? InformeDe(db) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(db);
    return resultado;
}

ExamenArchivoBD ExaminaArchivoBD(const QString& ruta, bool integridad) {
    ExamenArchivoBD r;
    const QFileInfo info(ruta);
    if (!info.isFile()) {
        r.estado = EstadoArchivoBD::NoEncontrada;
        return r;
    }
    if (!info.isReadable()) {
        r.estado = EstadoArchivoBD::Ilegible;
        return r;
    }
    int rc = SQLITE_OK;
    sqlite3* db = AbreLectura(ruta, &rc);
    try {
        if (rc != SQLITE_OK)
            throw ErrorSQLite(db, rc);
        // Reading the schema reads the header: a foreign file fails here.
        const QString tablas = ValorSQLite(db, "select count(*) from sqlite_master where type = 'table' and name in "
                                               "('FACTURAS', 'PARAMETROS', 'DATOS_EMPRESA')");
        r.version = tablas == QLatin1String("3") ? VersionArchivo(db) : 0;
        if (r.version <= 0) {
            r.estado = EstadoArchivoBD::Ajena;
        } else if (r.version > VersionEstructura) {
            r.estado = EstadoArchivoBD::MasReciente;
        } else {
            SentenciaSQLite s(db, QStringLiteral("select count(*), max(FECHA_FACTURA) from FACTURAS"));
            if (s.Paso() == SQLITE_ROW) {
                r.facturas = sqlite3_column_int64(s.st(), 0);
                r.ultimaFactura = QDate::fromString(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.st(), 1))), Qt::ISODate);
            }
            r.estado = EstadoArchivoBD::Valida;
            if (integridad) {
                const QString informe = InformeDe(db);
                if (!informe.isEmpty()) {
                    AnotaBitacora(QStringLiteral("Comprobación de ") + ruta + QStringLiteral(":\n") + informe);
                    r.estado = EstadoArchivoBD::Danada;
                }
            }
        }
    } catch (const ErrorBD&) {
        // The engine's words went to the log with the failure.
        const int codigo = (db ? sqlite3_errcode(db) : rc) & 0xff;
        r.estado = codigo == SQLITE_NOTADB ? EstadoArchivoBD::Ajena
                   : codigo == SQLITE_CANTOPEN || codigo == SQLITE_PERM ? EstadoArchivoBD::Ilegible
                                                                         : EstadoArchivoBD::Danada;
    }
    sqlite3_close_v2(db);
    return r;
}
