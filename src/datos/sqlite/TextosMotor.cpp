#include "datos/sqlite/TextosMotor.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// The engine's plain errors (SQLITE_ERROR) that name a table or a column.
struct Patron {
    const char* expresion;
    const char* texto;  // %1, %2: the names the engine gives
};
const Patron kPatrones[] = {
    {"^no such table: (\\S+)$", "No se encontró la tabla %1 en la base de datos."},
    {"^no such column: (\\S+)$", "No se encontró la columna %1 en la base de datos."},
    {"^table (\\S+) has no column named (\\S+)$", "La tabla %1 no tiene la columna %2."},
    {"^table (\\S+) already exists$", "La tabla %1 ya existe en la base de datos."},
    {"^duplicate column name: (\\S+)$", "La columna %1 ya existe en la base de datos."},
};

QString TextoDeError(const QString& mensaje) {
    for (const Patron& p : kPatrones) {
        const QRegularExpression re(QString::fromLatin1(p.expresion));
        const auto m = re.match(mensaje);
        if (!m.hasMatch())
            continue;
        QString t = QString::fromUtf8(p.texto).arg(m.captured(1));
        return m.lastCapturedIndex() > 1 ? t.arg(m.captured(2)) : t;
    }
    if (mensaje.contains(QLatin1String("syntax error")) || mensaje.contains(QLatin1String("unrecognized token")) ||
        mensaje.contains(QLatin1String("incomplete input")))
        return QStringLiteral("La base de datos no entiende la sentencia.");
    return QStringLiteral("Error en la base de datos.");
}

}  // namespace

QString TextoErrorMotor(int codigo, const QString& mensaje) {
    switch (codigo & 0xff) {
    case SQLITE_READONLY:
        return QStringLiteral("La base de datos es de sólo lectura: no se pueden guardar cambios. Compruebe que el "
                              "archivo y su carpeta admiten escritura.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a "
                              "intentarlo.");
    case SQLITE_NOTADB: return QStringLiteral("El archivo no es una base de datos válida.");
    case SQLITE_CORRUPT: return QStringLiteral("La base de datos está dañada.");
    case SQLITE_FULL: return QStringLiteral("El disco está lleno: no se pudo guardar en la base de datos.");
    case SQLITE_CANTOPEN: return QStringLiteral("No se puede abrir el archivo de la base de datos.");
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("No tiene permiso para usar la base de datos.");
    case SQLITE_IOERR: return QStringLiteral("Error de lectura o escritura en el disco de la base de datos.");
    case SQLITE_CONSTRAINT: return QStringLiteral("Se ha incumplido una restricción de la base de datos.");
    case SQLITE_TOOBIG: return QStringLiteral("El dato es demasiado grande para la base de datos.");
    case SQLITE_NOMEM: return QStringLiteral("No hay memoria suficiente para la base de datos.");
    case SQLITE_MISMATCH: return QStringLiteral("No coinciden los tipos.");
    case SQLITE_SCHEMA: return QStringLiteral("La estructura de la base de datos ha cambiado. Vuelva a intentarlo.");
    case SQLITE_ERROR: return TextoDeError(mensaje);
    default: return QStringLiteral("Error en la base de datos.");
    }
}
