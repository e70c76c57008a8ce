#include "datos/sqlite/EstructuraSQLite.h"

#include "base/Archivos.h"
#include "datos/motor/TransaccionBD.h"
#include "datos/motor/Esquema.h"
#include "datos/sqlite/ArchivoBD.h"
#include "datos/sqlite/CopiaEntera.h"
#include "datos/sqlite/SentenciaSQLite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace {

// Text affinity for dates: the ISO text is kept and compared as written,
// never tried as a number first.
QString TipoSQLite(const ColumnaEsquema& c) {
    switch (c.clase) {
    case ClaseColumna::Texto:
        return c.longitud > 0 ? QStringLiteral("varchar(%1)").arg(c.longitud) : QStringLiteral("text");
    case ClaseColumna::Entero: return QStringLiteral("integer");
    case ClaseColumna::Numero: return QStringLiteral("double");
    case ClaseColumna::Fecha: return QStringLiteral("text");
    }
    return QStringLiteral("text");
}

// The table as described, under `nombre`, with `otras` (name and declared
// type each) after the described columns.
QString CreaTabla(const TablaEsquema& t, const QString& nombre, const QStringList& otras = {}) {
    QStringList columnas;
    if (t.conId)
        columnas << QStringLiteral("ID integer primary key autoincrement");
    for (const ColumnaEsquema& c : t.columnas)
        columnas << QLatin1String(c.nombre) + QLatin1Char(' ') + TipoSQLite(c) +
                        (qstrcmp(c.nombre, t.clave) == 0 ? QStringLiteral(" not null primary key") : QString());
    columnas << otras;
    return QStringLiteral("create table ") + nombre + QStringLiteral(" (\n  ") + columnas.join(QStringLiteral(",\n  ")) +
           QStringLiteral("\n)");
}

// The engine has no included columns: they follow the key.
QString CreaIndice(const IndiceEsquema& i, bool siFalta) {
    QStringList columnas;
    for (const char* c : i.clave)
        columnas << QLatin1String(c);
    for (const char* c : i.incluidas)
        columnas << QLatin1String(c);
    QString r = QStringLiteral("create index ") + (siFalta ? QStringLiteral("if not exists ") : QString()) +
                QLatin1String(i.nombre) + QStringLiteral(" on ") + QLatin1String(i.tabla) + QStringLiteral(" (") +
                columnas.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (i.condicion)
        r += QStringLiteral(" where ") + QLatin1String(i.condicion);
    return r;
}

// The columns of FACTURAS in the first layout, which the second kept.
const char* const kColumnasFacturas = "ID, COD_FACTURA, FECHA_FACTURA, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL, "
                                      "DESCRIPCION, TIPO";

void Ejecuta(sqlite3* db, const QString& sql) { EjecutaSQLite(db, sql.toUtf8().constData()); }

void Sella(sqlite3* db) { Ejecuta(db, QStringLiteral("pragma user_version = %1").arg(VersionEstructura)); }

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

const TablaEsquema& Descrita(const char* tabla) {
    const TablaEsquema* t = TablaPrograma(tabla);
    if (!t)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("No se encontró la tabla %1 en la base de datos.")
                                                  .arg(QLatin1String(tabla)));
    return *t;
}

class ObraSQLite : public ObraEstructura {
public:
    explicit ObraSQLite(sqlite3* db) : db_(db) {}
    // A table was written again: its old pages are free.
    bool Rehecha() const { return rehecha_; }

    // The first layout: regional texts turned into typed values by triggers,
    // amounts and dates with BLOB affinity, indexes on a registered function.
    void QuitaConversiones() override {
        for (const char* s : {"drop trigger if exists FACTURAS_TIPOS_INSERT", "drop trigger if exists FACTURAS_TIPOS_UPDATE",
                              "drop index if exists FACTURAS_TIPO_FECHA", "drop index if exists FACTURAS_FECHA"})
            EjecutaSQLite(db_, s);
        Rehace("FACTURAS", QString::fromLatin1(kColumnasFacturas), {}, [this] {
            // Only stored forms move: an ISO date, numbers. Anything else stops the upgrade.
            const QString raros = ValorSQLite(
                db_, "select count(*) from FACTURAS_NUEVA"
                     " where (FECHA_FACTURA is not null and (typeof(FECHA_FACTURA) <> 'text' or FECHA_FACTURA not glob"
                     "        '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]'))"
                     "    or typeof(IMPORTE_NETO) not in ('real', 'null') or typeof(IVA) not in ('real', 'null')"
                     "    or typeof(IMPORTE_IVA) not in ('real', 'null') or typeof(IMPORTE_TOTAL) not in ('real', 'null')");
            return raros == QLatin1String("0");
        });
    }

    void AnadeColumna(const char* tabla, const char* columna) override {
        if (ColumnasDe(db_, tabla).contains(QLatin1String(columna)))
            return;
        for (const ColumnaEsquema& c : Descrita(tabla).columnas)
            if (qstrcmp(c.nombre, columna) == 0)
                Ejecuta(db_, QStringLiteral("alter table %1 add %2 %3")
                                 .arg(QLatin1String(tabla), QLatin1String(columna), TipoSQLite(c)));
    }

    // A column's declared type changes only with the table written again.
    // Columns the description does not know stay, after the described ones.
    void AjustaTipos(const char* tabla) override {
        const TablaEsquema& t = Descrita(tabla);
        QStringList tipos;
        const QStringList columnas = ColumnasDe(db_, tabla, &tipos);
        QStringList descritas, tiposDescritos;
        if (t.conId) {
            descritas << QStringLiteral("ID");
            tiposDescritos << QStringLiteral("INTEGER");
        }
        for (const ColumnaEsquema& c : t.columnas) {
            descritas << QLatin1String(c.nombre);
            tiposDescritos << TipoSQLite(c).toUpper();
        }
        if (columnas.mid(0, descritas.size()) == descritas && tipos.mid(0, descritas.size()) == tiposDescritos)
            return;
        QStringList comunes, otras;
        for (int i = 0; i < columnas.size(); ++i) {
            if (descritas.contains(columnas[i]))
                comunes << columnas[i];
            else
                otras << columnas[i] + QLatin1Char(' ') + tipos[i];
        }
        Rehace(tabla, comunes.join(QStringLiteral(", ")), otras, [] { return true; });
    }

    void AnadeTabla(const char* tabla) override {
        if (!ExisteEnEsquema(db_, "table", tabla))
            Ejecuta(db_, CreaTabla(Descrita(tabla), QLatin1String(tabla)));
    }

    void EjecutaComun(const QString& sql) override { Ejecuta(db_, sql); }

private:
    // Writes the table again as described under a new name, copies
    // `columnas` into it, and takes the old one's place and its id sequence.
    // The indexes come back with the rest of the described ones.
    template <typename Comprobacion>
    void Rehace(const char* tabla, const QString& columnas, const QStringList& otras, Comprobacion sonValidos) {
        const QString nombre = QLatin1String(tabla);
        const QString nueva = nombre + QStringLiteral("_NUEVA");
        const QString secuencia =
            ValorSQLite(db_, QStringLiteral("select seq from sqlite_sequence where name = '%1'").arg(nombre).toUtf8().constData());
        const QString filas = ValorSQLite(db_, QStringLiteral("select count(*) from %1").arg(nombre).toUtf8().constData());
        Ejecuta(db_, CreaTabla(Descrita(tabla), nueva, otras));
        Ejecuta(db_, QStringLiteral("insert into %1 (%2) select %2 from %3").arg(nueva, columnas, nombre));
        if (!sonValidos() ||
            ValorSQLite(db_, QStringLiteral("select count(*) from %1").arg(nueva).toUtf8().constData()) != filas)
            throw ErrorBD(CodigoError::BaseDatos,
                          QStringLiteral("La base de datos tiene valores que no se pueden convertir a la nueva versión."));
        Ejecuta(db_, QStringLiteral("drop table ") + nombre);
        Ejecuta(db_, QStringLiteral("alter table %1 rename to %2").arg(nueva, nombre));
        if (!secuencia.isEmpty())
            Ejecuta(db_, QStringLiteral("update sqlite_sequence set seq = max(seq, %1) where name = '%2'")
                             .arg(secuencia.toLongLong())
                             .arg(nombre));
        rehecha_ = true;
    }

    sqlite3* db_;
    bool rehecha_ = false;
};

// The names of the safety copies before an upgrade of `ruta`, up to their date.
QString PrefijoCopiaPrevia(const QString& ruta) {
    return QFileInfo(ruta).completeBaseName() + QStringLiteral("-antes-de-actualizar-");
}


// From layout `version` to the current one in one transaction, after a dated
// safety copy: the file is either as it was or wholly upgraded.
void Actualiza(MotorBD& motor, sqlite3* db, const QString& ruta, int version) {
    CopiaSQLite(db, NombreCopiaPrevia(ruta, QDate::currentDate()));
    // An upgrade that keeps failing (or is cut short) writes one each time: a few are enough.
    PodaCopiasDeSeguridad(QFileInfo(ruta).absolutePath(), PrefijoCopiaPrevia(ruta));
    ObraSQLite obra(db);
    {
        TransaccionBD transaccion(motor);
        ActualizaEstructura(obra, version);
        for (const IndiceEsquema& i : IndicesPrograma())
            Ejecuta(db, CreaIndice(i, true));
        Sella(db);
        transaccion.Confirma();
    }
    // The old table's pages go back to the file system.
    if (obra.Rehecha())
        sqlite3_exec(db, "vacuum", nullptr, nullptr, nullptr);
}

}  // namespace

QStringList EsquemaSQLite() {
    QStringList r;
    for (const TablaEsquema& t : TablasPrograma())
        r << CreaTabla(t, QLatin1String(t.nombre));
    for (const IndiceEsquema& i : IndicesPrograma())
        r << CreaIndice(i, false);
    return r;
}

void CreaEsquema(MotorBD& motor, sqlite3* db) {
    TransaccionBD transaccion(motor);
    for (const QString& s : EsquemaSQLite())
        Ejecuta(db, s);
    Sella(db);
    transaccion.Confirma();
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

void PreparaArchivo(MotorBD& motor, sqlite3* db, const QString& ruta, bool actualizar) {
    // Reading the schema reads the header: a foreign file fails here.
    ValorSQLite(db, "select count(*) from sqlite_master");
    const int version = VersionArchivo(db);
    if (version > VersionEstructura)
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("La base de datos es de una versión más reciente del programa."));
    if (version >= 1 && version < VersionEstructura && actualizar)
        Actualiza(motor, db, ruta, version);
}

QString NombreCopiaPrevia(const QString& ruta, const QDate& dia) {
    const QFileInfo f(ruta);
    return QDir::toNativeSeparators(NombreNuevaCopia(f.absolutePath() + QLatin1Char('/') + PrefijoCopiaPrevia(ruta) +
                                                     dia.toString(QStringLiteral("yyyyMMdd"))));
}
