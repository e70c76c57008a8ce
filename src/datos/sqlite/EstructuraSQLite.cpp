#include "datos/sqlite/EstructuraSQLite.h"

#include "datos/sqlite/ArchivoBD.h"
#include "datos/sqlite/CopiaEntera.h"
#include "datos/motor/Esquema.h"
#include "base/Archivos.h"
#include "datos/sqlite/SentenciaSQLite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace {

const char* const kTablas = R"SQL(
create table FACTURAS (
  ID integer primary key autoincrement,
  COD_FACTURA varchar(50),
  FECHA_FACTURA date,
  IMPORTE_NETO double,
  IVA double,
  IMPORTE_IVA double,
  IMPORTE_TOTAL double,
  DESCRIPCION varchar(255),
  TIPO char(1),
  NIF_TERCERO varchar(20),
  NOMBRE_TERCERO varchar(40),
  FECHA_OPERACION date,
  PAIS_TERCERO varchar(2),
  TIPO_ID_TERCERO varchar(2)
);
create table PARAMETROS (
  PALABRA_CLAVE varchar(50),
  IVA smallint,
  OPCION_IVA varchar(8),
  FRASE_FINAL text,
  ACCESO_FACTURAS char(1),
  ACCESO_INFORMES char(1)
);
create table DATOS_EMPRESA (
  NOMBRE varchar(40),
  DESCRIPCION varchar(100),
  CIF varchar(15),
  DIRECCION varchar(60),
  LOCALIDAD varchar(30),
  COD_POSTAL varchar(5),
  PROVINCIA varchar(30),
  TLFN varchar(15),
  FAX varchar(15),
  EMAIL varchar(40),
  WEB varchar(40),
  COD_ACTIVIDAD varchar(1),
  TIPO_ACTIVIDAD varchar(2),
  EPIGRAFE_IAE varchar(4)
)
)SQL";

// What each layout added to the one before. The third: the counterparty of
// each invoice and the company's activity, as the VAT books carry them. The
// fourth: the counterparty's country and the kind of a foreign identifier.
// Old rows keep Null.
const struct {
    int version;
    const char* tabla;
    const char* columna;
} kColumnasAnadidas[] = {
    {3, "FACTURAS", "NIF_TERCERO varchar(20)"},      {3, "FACTURAS", "NOMBRE_TERCERO varchar(40)"},
    {3, "FACTURAS", "FECHA_OPERACION date"},         {3, "DATOS_EMPRESA", "COD_ACTIVIDAD varchar(1)"},
    {3, "DATOS_EMPRESA", "TIPO_ACTIVIDAD varchar(2)"}, {3, "DATOS_EMPRESA", "EPIGRAFE_IAE varchar(4)"},
    {4, "FACTURAS", "PAIS_TERCERO varchar(2)"},      {4, "FACTURAS", "TIPO_ID_TERCERO varchar(2)"},
};

// The return also takes the invoices operated between its dates: the few
// that carry an operation date.
const char* const kIndiceOperacion =
    "create index if not exists FACTURAS_OPERACION on FACTURAS (FECHA_OPERACION) where FECHA_OPERACION is not null";

// The quarter lists and sums read one type between two dates, the listing
// every day between two dates: both in index order, the sums from the index alone.
const char* const kIndices[] = {
    "create index FACTURAS_TIPO_FECHA on FACTURAS (TIPO, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL)",
    "create index FACTURAS_FECHA on FACTURAS (FECHA_FACTURA)",
    kIndiceOperacion,
};

// The columns of FACTURAS in the first layout, which the second kept.
const char* const kColumnasFacturas = "ID, COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL, "
                                      "DESCRIPCION, TIPO";

void Sella(sqlite3* db) {
    EjecutaSQLite(db, QStringLiteral("pragma user_version = %1").arg(VersionEstructura).toUtf8().constData());
}

void Deshace(sqlite3* db) { sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr); }

QStringList ColumnasDe(sqlite3* db, const char* tabla, QStringList* tipos = nullptr) {
    SentenciaSQLite s(db, QStringLiteral("pragma table_info(%1)").arg(QLatin1String(tabla)));
    QStringList r;
    while (s.Paso() == SQLITE_ROW) {
        r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.st(), 1))).toUpper();
        if (tipos)
            *tipos << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.st(), 2))).toUpper();
    }
    return r;
}

bool ExisteEnEsquema(sqlite3* db, const char* tipo, const char* nombre) {
    return !ValorSQLite(db, QStringLiteral("select name from sqlite_master where type = '%1' and name = '%2'")
                                .arg(QLatin1String(tipo), QLatin1String(nombre))
                                .toUtf8()
                                .constData())
                .isEmpty();
}

// The first layout: regional texts turned into typed values by triggers,
// amounts and dates with BLOB affinity, indexes on a registered function.
// FACTURAS is written again as the current layout has it.
void RehaceFacturasDe1(sqlite3* db) {
    const QString secuencia = ValorSQLite(db, "select seq from sqlite_sequence where name = 'FACTURAS'");
    const QString filas = ValorSQLite(db, "select count(*) from FACTURAS");
    for (const char* s : {"drop trigger if exists FACTURAS_TIPOS_INSERT", "drop trigger if exists FACTURAS_TIPOS_UPDATE",
                          "drop index if exists FACTURAS_TIPO_FECHA", "drop index if exists FACTURAS_FECHA"})
        EjecutaSQLite(db, s);
    QString nueva = QString::fromUtf8(kTablas);
    nueva = nueva.left(nueva.indexOf(QLatin1String("create table PARAMETROS")));
    nueva.replace(QLatin1String("create table FACTURAS"), QLatin1String("create table FACTURAS_NUEVA"));
    EjecutaSQLite(db, nueva.trimmed().chopped(1).toUtf8().constData());
    EjecutaSQLite(db, QStringLiteral("insert into FACTURAS_NUEVA (%1) select %1 from FACTURAS")
                          .arg(QLatin1String(kColumnasFacturas))
                          .toUtf8()
                          .constData());
    // Only stored forms move: an ISO date, numbers. Anything else stops the upgrade.
    const QString raros = ValorSQLite(
        db, "select count(*) from FACTURAS_NUEVA"
            " where (FECHA_FACTURA is not null and (typeof(FECHA_FACTURA) <> 'text' or FECHA_FACTURA not glob"
            "        '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]'))"
            "    or typeof(IMPORTE_NETO) not in ('real', 'null') or typeof(IVA) not in ('real', 'null')"
            "    or typeof(IMPORTE_IVA) not in ('real', 'null') or typeof(IMPORTE_TOTAL) not in ('real', 'null')");
    if (raros != QLatin1String("0") || ValorSQLite(db, "select count(*) from FACTURAS_NUEVA") != filas)
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("La base de datos tiene valores que no se pueden convertir a la nueva versión."));
    EjecutaSQLite(db, "drop table FACTURAS");
    EjecutaSQLite(db, "alter table FACTURAS_NUEVA rename to FACTURAS");
    if (!secuencia.isEmpty())
        EjecutaSQLite(db, QStringLiteral("update sqlite_sequence set seq = max(seq, %1) where name = 'FACTURAS'")
                              .arg(secuencia.toLongLong())
                              .toUtf8()
                              .constData());
    for (const char* s : kIndices)
        EjecutaSQLite(db, s);
}

// The columns of the layouts after `version`. A column the table already has
// (FACTURAS written again from the first layout) is left as it is.
void AnadeColumnas(sqlite3* db, int version) {
    for (const auto& c : kColumnasAnadidas) {
        if (c.version <= version)
            continue;
        const QString definicion = QString::fromLatin1(c.columna);
        if (ColumnasDe(db, c.tabla).contains(definicion.section(QLatin1Char(' '), 0, 0)))
            continue;
        EjecutaSQLite(db, QStringLiteral("alter table %1 add %2")
                              .arg(QLatin1String(c.tabla), definicion)
                              .toUtf8()
                              .constData());
    }
}

// From layout `version` to the current one in one transaction, after a dated
// safety copy: the file is either as it was or wholly upgraded.
// The names of the safety copies before an upgrade of `ruta`, up to their date.
QString PrefijoCopiaPrevia(const QString& ruta) {
    return QFileInfo(ruta).completeBaseName() + QStringLiteral("-antes-de-actualizar-");
}


void Actualiza(sqlite3* db, const QString& ruta, int version) {
    CopiaSQLite(db, NombreCopiaPrevia(ruta, QDate::currentDate()));
    // An upgrade that keeps failing (or is cut short) writes one each time: a few are enough.
    PodaCopiasDeSeguridad(QFileInfo(ruta).absolutePath(), PrefijoCopiaPrevia(ruta));
    EjecutaSQLite(db, "begin immediate");
    try {
        if (version == 1)
            RehaceFacturasDe1(db);
        AnadeColumnas(db, version);
        EjecutaSQLite(db, kIndiceOperacion);
        Sella(db);
        EjecutaSQLite(db, "commit");
    } catch (...) {
        Deshace(db);
        throw;
    }
    // The old table's pages go back to the file system.
    if (version == 1)
        sqlite3_exec(db, "vacuum", nullptr, nullptr, nullptr);
}

}  // namespace

QStringList EsquemaSQLite() {
    QStringList r;
    for (const QString& s : QString::fromUtf8(kTablas).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!s.trimmed().isEmpty())
            r << s.trimmed();
    for (const char* s : kIndices)
        r << QString::fromUtf8(s);
    return r;
}

void CreaEsquema(sqlite3* db) {
    EjecutaSQLite(db, "begin");
    try {
        for (const QString& s : EsquemaSQLite())
            EjecutaSQLite(db, s.toUtf8().constData());
        Sella(db);
        EjecutaSQLite(db, "commit");
    } catch (...) {
        Deshace(db);
        throw;
    }
}

int VersionArchivo(sqlite3* db) {
    const int v = ValorSQLite(db, "pragma user_version").toInt();
    if (v != 0)
        return v;
    QStringList tipos;
    const QStringList columnas = ColumnasDe(db, "FACTURAS", &tipos);
    if (columnas.join(QLatin1String(", ")) != QLatin1String(kColumnasFacturas))
        return 0;
    if (ColumnasDe(db, "PARAMETROS").isEmpty() || ColumnasDe(db, "DATOS_EMPRESA").isEmpty())
        return 0;
    const bool conversiones = ExisteEnEsquema(db, "trigger", "FACTURAS_TIPOS_INSERT") ||
                              tipos.at(columnas.indexOf(QLatin1String("IMPORTE_NETO"))).contains(QLatin1String("BLOB"));
    return conversiones ? 1 : 0;
}

void PreparaArchivo(sqlite3* db, const QString& ruta, bool actualizar) {
    // Reading the schema reads the header: a foreign file fails here.
    ValorSQLite(db, "select count(*) from sqlite_master");
    const int version = VersionArchivo(db);
    if (version > VersionEstructura)
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("La base de datos es de una versión más reciente del programa."));
    if (version >= 1 && version < VersionEstructura && actualizar)
        Actualiza(db, ruta, version);
}

QString NombreCopiaPrevia(const QString& ruta, const QDate& dia) {
    const QFileInfo f(ruta);
    return QDir::toNativeSeparators(NombreNuevaCopia(f.absolutePath() + QLatin1Char('/') + PrefijoCopiaPrevia(ruta) +
                                                     dia.toString(QStringLiteral("yyyyMMdd"))));
}
