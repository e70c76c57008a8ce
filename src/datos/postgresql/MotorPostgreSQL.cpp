#include "datos/postgresql/MotorPostgreSQL.h"

#include "base/Archivos.h"
#include "base/Bitacora.h"
#include "datos/motor/TransaccionBD.h"
#include "datos/motor/CopiaTablas.h"
#include "datos/motor/Esquema.h"

#include <QFile>
#include <QRegularExpression>
#include <charconv>
#include "datos/postgresql/ClientePq.h"

// ---- Dialect --------------------------------------------------------------------

QString DialectoPostgreSQL::LiteralFecha(const QDate& fecha) const {
    return QStringLiteral("DATE '") + fecha.toString(Qt::ISODate) + QLatin1Char('\'');
}

// The server keeps amounts as exact decimals: the shortest text of the double
// is the decimal the program means.
QString DialectoPostgreSQL::LiteralNumero(double numero) const {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, numero);
    return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

QString DialectoPostgreSQL::OrdenEspanol() const { return QStringLiteral("collate \"es-ES-x-icu\""); }

QString DialectoPostgreSQL::Parametro(int n) const { return QLatin1Char('$') + QString::number(n); }

namespace {

const DialectoPostgreSQL kDialecto;

// The keys of the server-side locks: the layout upgrade's, and the in-use
// mark that backups and restores must find free.
constexpr qint64 kBloqueoEstructura = 20071206;
constexpr qint64 kMarcaUso = 20071207;

// ---- Failures ---------------------------------------------------------------------

const char* const kSinConexion =
    "Se ha perdido la conexión con el servidor de la base de datos. Vuelva a intentarlo.";
const char* const kCopiaEnCurso =
    "No se puede usar la base de datos porque otro puesto está haciendo una copia de seguridad o una restauración de "
    "ella. Espere a que termine y vuelva a intentarlo.";

QString TextoEstado(const QString& estado, const QString& mensaje) {
    static const struct {
        const char* prefijo;
        const char* texto;
    } kEstados[] = {
        {"28", "El usuario o la contraseña del servidor de la base de datos no son correctos."},
        {"3D000", "La base de datos no existe en el servidor."},
        {"42501", "No tiene permiso para usar la base de datos."},
        {"23", "Se ha incumplido una restricción de la base de datos."},
        {"22001", "Un texto es más largo de lo que admite la base de datos."},
        {"22", "No coinciden los tipos."},
        {"40", "La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a intentarlo."},
        {"55P03", "La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a intentarlo."},
        {"57014", "La base de datos está bloqueada por otro usuario. Espere un momento y vuelva a intentarlo."},
        {"25006", "La base de datos es de sólo lectura: no se pueden guardar cambios."},
        {"53100", "El disco del servidor está lleno: no se pudo guardar en la base de datos."},
        {"53", "El servidor de la base de datos no tiene recursos suficientes."},
        {"42601", "La base de datos no entiende la sentencia."},
        {"08", kSinConexion},
        {"57P", kSinConexion},
    };
    // The texts that name a table or a column.
    static const struct {
        const char* estado;
        const char* texto;
    } kConNombre[] = {
        {"42P01", "No se encontró la tabla %1 en la base de datos."},
        {"42703", "No se encontró la columna %1 en la base de datos."},
        {"42P07", "La tabla %1 ya existe en la base de datos."},
        {"42701", "La columna %1 ya existe en la base de datos."},
    };
    for (const auto& e : kConNombre)
        if (estado == QLatin1String(e.estado)) {
            static const QRegularExpression nombre(QStringLiteral("\"([^\"]+)\""));
            const auto m = nombre.match(mensaje);
            return QString::fromUtf8(e.texto).arg(m.hasMatch() ? m.captured(1).toUpper() : QString());
        }
    for (const auto& e : kEstados)
        if (estado.startsWith(QLatin1String(e.prefijo)))
            return QString::fromUtf8(e.texto);
    return QStringLiteral("Error en la base de datos.");
}

// The user reads the Spanish wording; the server's own text goes to the log.
ErrorBD ErrorServidor(pg_conn* con, const PGresult* r) {
    const QString mensaje = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(con)).trimmed();
    const char* e = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    QString estado = e ? QString::fromLatin1(e) : QString();
    if (estado.isEmpty() && (!con || PQstatus(con) != CONNECTION_OK))
        estado = QStringLiteral("08000");
    AnotaBitacora(QStringLiteral("Servidor de base de datos, estado %1: %2").arg(estado, mensaje));
    // A RAISE of a trigger or function is its author's text.
    if (estado == QLatin1String("P0001")) {
        const char* primario = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
        return ErrorBD(CodigoError::BaseDatos, QString::fromUtf8(primario ? primario : ""));
    }
    const int numero = estado.startsWith(QLatin1String("22")) && estado != QLatin1String("22001")
                           ? CodigoError::TipoIncorrecto
                           : CodigoError::BaseDatos;
    return ErrorBD(numero, TextoEstado(estado, mensaje));
}

ErrorBD FalloConexion(pg_conn* con) {
    const QString mensaje = QString::fromUtf8(PQerrorMessage(con)).trimmed();
    AnotaBitacora(QStringLiteral("Servidor de base de datos: ") + mensaje);
    if (mensaje.contains(QLatin1String("password authentication failed")) ||
        mensaje.contains(QLatin1String("no password supplied")) ||
        (mensaje.contains(QLatin1String("role")) && mensaje.contains(QLatin1String("does not exist"))))
        return ErrorBD(CodigoError::BaseDatos, TextoEstado(QStringLiteral("28P01"), mensaje));
    if (mensaje.contains(QLatin1String("does not exist")) && mensaje.contains(QLatin1String("database")))
        return ErrorBD(CodigoError::BaseDatos, TextoEstado(QStringLiteral("3D000"), mensaje));
    return ErrorBD(CodigoError::BaseDatos, QStringLiteral("No se puede conectar con el servidor de la base de datos."));
}

struct Resultado {
    PGresult* r = nullptr;
    explicit Resultado(PGresult* p) : r(p) {}
    ~Resultado() { PQclear(r); }
    Resultado(const Resultado&) = delete;
    Resultado& operator=(const Resultado&) = delete;
};

// ---- Reading values ---------------------------------------------------------------

enum class ClasePg { Entero, Decimal, Fecha, Texto };

ClasePg ClaseDeTipo(Oid tipo) {
    switch (tipo) {
    case 16:  // bool
    case 20:  // int8
    case 21:  // int2
    case 23:  // int4
    case 26: return ClasePg::Entero;
    case 700:
    case 701:
    case 1700: return ClasePg::Decimal;
    case 1082: return ClasePg::Fecha;
    default: return ClasePg::Texto;
    }
}

void AnadeCelda(Registros::Constructor& r, ClasePg clase, const char* t, int n) {
    switch (clase) {
    case ClasePg::Entero: {
        qint64 v = 0;
        if (n == 1 && (t[0] == 't' || t[0] == 'f')) {
            r.Entero(t[0] == 't' ? 1 : 0);
            return;
        }
        if (std::from_chars(t, t + n, v).ec == std::errc()) {
            r.Entero(v);
            return;
        }
        break;
    }
    case ClasePg::Decimal: {
        double v = 0;
        if (std::from_chars(t, t + n, v).ec == std::errc()) {
            r.Decimal(v);
            return;
        }
        break;
    }
    case ClasePg::Fecha: {
        const QDate f = QDate::fromString(QString::fromLatin1(t, n), Qt::ISODate);
        if (f.isValid()) {
            r.Fecha(f.toJulianDay());
            return;
        }
        break;
    }
    case ClasePg::Texto: break;
    }
    r.Texto(t, n);
}

// ---- The program's tables on the server ----------------------------------------------

QString TipoColumna(const ColumnaEsquema& c) {
    switch (c.clase) {
    case ClaseColumna::Texto:
        return c.longitud > 0 ? QStringLiteral("varchar(%1)").arg(c.longitud) : QStringLiteral("text");
    case ClaseColumna::Entero: return QStringLiteral("integer");
    // Exact decimals of any length: a value is never rounded on its way in.
    case ClaseColumna::Numero: return QStringLiteral("numeric");
    case ClaseColumna::Fecha: return QStringLiteral("date");
    }
    return QStringLiteral("text");
}

QString CreaIndice(const IndiceEsquema& i, bool siFalta) {
    const auto lista = [](const std::vector<const char*>& columnas) {
        QStringList r;
        for (const char* c : columnas)
            r << QLatin1String(c);
        return r.join(QStringLiteral(", "));
    };
    QString r = QStringLiteral("create index ") + (siFalta ? QStringLiteral("if not exists ") : QString()) +
                QLatin1String(i.nombre) + QStringLiteral(" on ") + QLatin1String(i.tabla) + QStringLiteral(" (") +
                lista(i.clave) + QLatin1Char(')');
    if (!i.incluidas.empty())
        r += QStringLiteral(" include (") + lista(i.incluidas) + QLatin1Char(')');
    if (i.condicion)
        r += QStringLiteral(" where ") + QLatin1String(i.condicion);
    return r;
}

QString CreaTabla(const TablaEsquema& t, bool siFalta = false) {
    QStringList columnas;
    if (t.conId)
        columnas << QStringLiteral("ID integer generated by default as identity primary key");
    for (const ColumnaEsquema& c : t.columnas)
        columnas << QLatin1String(c.nombre) + QLatin1Char(' ') + TipoColumna(c) +
                        (qstrcmp(c.nombre, t.clave) == 0 ? QStringLiteral(" not null primary key") : QString());
    return QStringLiteral("create table ") + (siFalta ? QStringLiteral("if not exists ") : QString()) +
           QLatin1String(t.nombre) + QStringLiteral(" (") + columnas.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString SellaVersion() {
    return QStringLiteral("insert into FISCALINO_VERSION (VERSION) values (%1)").arg(VersionEstructura);
}

QStringList EsquemaServidor() {
    QStringList r;
    for (const TablaEsquema& t : TablasPrograma())
        r << CreaTabla(t);
    for (const IndiceEsquema& i : IndicesPrograma())
        r << CreaIndice(i, false);
    r << QStringLiteral("create table FISCALINO_VERSION (VERSION integer not null)") << SellaVersion();
    return r;
}

// The steps of an upgrade on the server.
class ObraServidor : public ObraEstructura {
public:
    explicit ObraServidor(MotorBD& motor) : m_(motor) {}
    // The first layout was a file's only.
    void QuitaConversiones() override {}
    void AnadeColumna(const char* tabla, const char* columna) override {
        const auto hay = m_.Consultar(QStringLiteral("select 1 from information_schema.columns where table_schema = "
                                                     "current_schema() and upper(table_name) = '%1' and "
                                                     "upper(column_name) = '%2'")
                                          .arg(QLatin1String(tabla), QLatin1String(columna)));
        if (!hay->Fin())
            return;
        if (const TablaEsquema* t = TablaPrograma(tabla))
            for (const ColumnaEsquema& c : t->columnas)
                if (qstrcmp(c.nombre, columna) == 0)
                    m_.Ejecutar(QStringLiteral("alter table %1 add column %2 %3")
                                    .arg(QLatin1String(tabla), QLatin1String(columna), TipoColumna(c)),
                                {});
    }
    // The server's columns have had their described types since its first
    // layout: its dates are its own date type, compared as dates, never as
    // numbers or texts.
    void AjustaTipos(const char*) override {}
    void AnadeTabla(const char* tabla) override {
        if (const TablaEsquema* t = TablaPrograma(tabla))
            m_.Ejecutar(CreaTabla(*t, true), {});
    }
    void EjecutaComun(const QString& sql) override { m_.Ejecutar(sql, {}); }

private:
    MotorBD& m_;
};

}  // namespace

// ---- MotorPostgreSQL ------------------------------------------------------------------

bool MotorPostgreSQL::EsDireccion(const QString& cadena) {
    return cadena.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           cadena.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

MotorPostgreSQL::MotorPostgreSQL(pg_conn* con) : con_(con) {}

MotorPostgreSQL::~MotorPostgreSQL() { Cerrar(); }

const Dialecto& MotorPostgreSQL::dialecto() const { return kDialecto; }

std::unique_ptr<MotorPostgreSQL> MotorPostgreSQL::Abrir(const QString& direccion, bool soloLectura,
                                                       AbreArchivo abreArchivoNuevo) {
    pg_conn* con = PQconnectdb(direccion.toUtf8().constData());
    if (!con || PQstatus(con) != CONNECTION_OK) {
        ErrorBD e = FalloConexion(con);
        PQfinish(con);
        throw e;
    }
    // The server's notices are for the log, never for standard error.
    PQsetNoticeProcessor(
        con, [](void*, const char* aviso) { AnotaBitacora(QStringLiteral("Servidor de base de datos: ") + QString::fromUtf8(aviso).trimmed()); },
        nullptr);
    std::unique_ptr<MotorPostgreSQL> m(new MotorPostgreSQL(con));
    m->soloLectura_ = soloLectura;
    m->abreArchivoNuevo_ = std::move(abreArchivoNuevo);
    m->Ejecutar(QStringLiteral("set client_min_messages = warning"), {});
    m->EstableceEspera(3000);
    // Which tables the database holds tells an empty one, ours, and another program's.
    auto tablas = m->Consultar(QStringLiteral(
        "select upper(table_name) from information_schema.tables where table_schema = current_schema()"));
    QStringList nombres;
    for (int i = 0; i < tablas->NumFilas(); ++i)
        nombres << tablas->Celda(i, 0).Texto();
    if (nombres.isEmpty()) {
        if (soloLectura)
            throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La base de datos del servidor está vacía."));
        TransaccionBD transaccion(*m);
        for (const QString& s : EsquemaServidor())
            m->Ejecutar(s, {});
        transaccion.Confirma();
        m->nueva_ = true;
    } else {
        // The tables a later layout added come with its upgrade.
        for (const TablaEsquema& t : TablasPrograma())
            if (t.desde == 1 && !nombres.contains(QLatin1String(t.nombre)))
                throw ErrorBD(CodigoError::BaseDatos,
                              QStringLiteral("La base de datos del servidor no es de este programa."));
        const int version = nombres.contains(QLatin1String("FISCALINO_VERSION"))
                                ? m->Consultar(QStringLiteral("select max(VERSION) from FISCALINO_VERSION"))->Campo(0).Texto().toInt()
                                : 0;
        if (version > VersionEstructura)
            throw ErrorBD(CodigoError::BaseDatos,
                          QStringLiteral("La base de datos es de una versión más reciente del programa."));
        if (version < VersionEstructura && !soloLectura)
            m->Actualiza();
    }
    if (soloLectura)
        m->Ejecutar(QStringLiteral("set default_transaction_read_only = on"), {});
    return m;
}

namespace {

// The version stamped on the server's tables; 0 for the first layout the
// server kept, which had no stamp.
int VersionServidor(MotorBD& m) {
    const auto hay = m.Consultar(QStringLiteral("select 1 from information_schema.tables where table_schema = "
                                                "current_schema() and upper(table_name) = 'FISCALINO_VERSION'"));
    return hay->Fin() ? 0 : m.Consultar(QStringLiteral("select max(VERSION) from FISCALINO_VERSION"))->Campo(0).Texto().toInt();
}

}  // namespace

// In one transaction, under the upgrade's lock: a workstation that waited
// for another one's upgrade finds it done.
void MotorPostgreSQL::Actualiza() {
    TransaccionBD transaccion(*this);
    Ejecutar(QStringLiteral("select pg_advisory_xact_lock(%1)").arg(kBloqueoEstructura), {});
    int version = VersionServidor(*this);
    if (version >= VersionEstructura)
        return;
    if (version == 0) {
        Ejecutar(QStringLiteral("create table if not exists FISCALINO_VERSION (VERSION integer not null)"), {});
        version = 2;
    }
    ObraServidor obra(*this);
    ActualizaEstructura(obra, version);
    for (const IndiceEsquema& i : IndicesPrograma())
        Ejecutar(CreaIndice(i, true), {});
    Ejecutar(QStringLiteral("delete from FISCALINO_VERSION"), {});
    Ejecutar(SellaVersion(), {});
    transaccion.Confirma();
}

void MotorPostgreSQL::Empieza(ClaseTransaccion clase) {
    Ejecutar(clase == ClaseTransaccion::Escritura
                 ? QStringLiteral("begin")
                 : QStringLiteral("begin transaction isolation level repeatable read read only"),
             {});
}

void MotorPostgreSQL::Deshaz() noexcept {
    if (con_ && PQstatus(con_) == CONNECTION_OK)
        PQclear(PQexec(con_, "rollback"));
}

bool MotorPostgreSQL::TieneTabla(const char* tabla) {
    return !Consultar(QStringLiteral("select 1 from information_schema.tables where table_schema = current_schema()"
                                     " and upper(table_name) = '%1'")
                          .arg(QLatin1String(tabla)))
                ->Fin();
}

QString MotorPostgreSQL::Sesion() {
    return Consultar(QStringLiteral("select pg_backend_pid()"))->Campo(0).Texto();
}

void MotorPostgreSQL::SincronizaIdentidades() {
    for (const TablaEsquema& t : TablasPrograma())
        if (t.conId)
            Ejecutar(QStringLiteral("select setval(pg_get_serial_sequence('%1', 'id'), "
                                    "coalesce((select max(ID) from %1), 0) + 1, false)")
                         .arg(QString::fromLatin1(t.nombre).toLower()),
                     {});
}

// Advisory locks of the session: the shared one for being connected, the
// exclusive one (its own shared one does not stand in its way) for a backup.
bool MotorPostgreSQL::TomaMarcaUso() {
    marcaUso_ = Consultar(QStringLiteral("select pg_try_advisory_lock_shared(%1)").arg(kMarcaUso))->Campo(0).Numero() != 0;
    return marcaUso_;
}

bool MotorPostgreSQL::TomaUsoExclusivo() {
    return Consultar(QStringLiteral("select pg_try_advisory_lock(%1)").arg(kMarcaUso))->Campo(0).Numero() != 0;
}

void MotorPostgreSQL::SueltaUsoExclusivo() {
    Consultar(QStringLiteral("select pg_advisory_unlock(%1)").arg(kMarcaUso));
}

void MotorPostgreSQL::Reconecta() {
    if (!con_)
        return;
    if (PQstatus(con_) != CONNECTION_OK) {
        PQreset(con_);
        if (PQstatus(con_) != CONNECTION_OK)
            throw ErrorBD(CodigoError::BaseDatos, QString::fromUtf8(kSinConexion));
        if (soloLectura_)
            PQclear(PQexec(con_, "set default_transaction_read_only = on"));
        PQclear(PQexec(con_, QStringLiteral("set lock_timeout = %1").arg(espera_).toUtf8().constData()));
        // The server let the old session's marks go with it.
        sinMarca_ = marcaUso_;
    }
    // The in-use mark comes back before any statement: without it another
    // workstation's restore could replace the data under this one.
    if (sinMarca_) {
        Resultado r(PQexec(con_, QStringLiteral("select pg_try_advisory_lock_shared(%1)").arg(kMarcaUso).toUtf8().constData()));
        if (PQresultStatus(r.r) != PGRES_TUPLES_OK)
            throw ErrorServidor(con_, r.r);
        if (QByteArray(PQgetvalue(r.r, 0, 0)) != "t")
            throw ErrorBD(CodigoError::BaseDatos, QString::fromUtf8(kCopiaEnCurso));
        sinMarca_ = false;
    }
}

int MotorPostgreSQL::Ejecutar(const QString& sql, const std::vector<Valor>& valores) {
    if (!con_)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
    Reconecta();
    const QByteArray texto = sql.toUtf8();
    std::vector<QByteArray> datos;
    std::vector<const char*> punteros;
    datos.reserve(valores.size());
    for (const Valor& v : valores) {
        switch (v.tipo()) {
        case Valor::Tipo::Nulo: datos.emplace_back(); break;
        case Valor::Tipo::Entero: datos.push_back(QByteArray::number(v.entero())); break;
        case Valor::Tipo::Decimal: datos.push_back(kDialecto.LiteralNumero(v.decimal()).toLatin1()); break;
        case Valor::Tipo::Fecha: datos.push_back(v.fecha().toString(Qt::ISODate).toLatin1()); break;
        case Valor::Tipo::Texto: datos.push_back(v.texto().toUtf8()); break;
        }
        punteros.push_back(v.EsNulo() ? nullptr : datos.back().constData());
    }
    Resultado r(valores.empty() ? PQexec(con_, texto.constData())
                                : PQexecParams(con_, texto.constData(), static_cast<int>(valores.size()), nullptr,
                                               punteros.data(), nullptr, nullptr, 0));
    const ExecStatusType estado = PQresultStatus(r.r);
    if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK)
        throw ErrorServidor(con_, r.r);
    const char* filas = PQcmdTuples(r.r);
    return filas && *filas ? QByteArray(filas).toInt() : 0;
}

std::unique_ptr<Registros> MotorPostgreSQL::Consultar(const QString& sql) {
    if (!con_)
        throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La conexión con la base de datos está cerrada."));
    Reconecta();
    Resultado r(PQexec(con_, sql.toUtf8().constData()));
    if (PQresultStatus(r.r) != PGRES_TUPLES_OK)
        throw ErrorServidor(con_, r.r);
    const int n = PQnfields(r.r);
    const int filas = PQntuples(r.r);
    QStringList columnas;
    std::vector<ClasePg> clases;
    for (int c = 0; c < n; ++c) {
        // The server folds names to lower case; the program's are upper case.
        columnas << QString::fromUtf8(PQfname(r.r, c)).toUpper();
        clases.push_back(ClaseDeTipo(PQftype(r.r, c)));
    }
    Registros::Constructor rs(std::move(columnas), static_cast<size_t>(filas));
    for (int f = 0; f < filas; ++f)
        for (int c = 0; c < n; ++c) {
            if (PQgetisnull(r.r, f, c))
                rs.Nulo();
            else
                AnadeCelda(rs, clases[static_cast<size_t>(c)], PQgetvalue(r.r, f, c), PQgetlength(r.r, f, c));
        }
    return rs.Termina();
}

void MotorPostgreSQL::Cerrar() {
    if (con_) {
        PQfinish(con_);
        con_ = nullptr;
    }
}

void MotorPostgreSQL::EstableceEspera(int milisegundos) {
    espera_ = milisegundos;
    if (con_ && PQstatus(con_) == CONNECTION_OK)
        PQclear(PQexec(con_, QStringLiteral("set lock_timeout = %1").arg(milisegundos).toUtf8().constData()));
}

void MotorPostgreSQL::IniciaComprobacion(std::function<void(const QString&)> alTerminar, int) {
    if (alTerminar)
        alTerminar(QString());
}

// The copy of a server database is a file database of the same layout,
// taken in one snapshot, written whole under a temporary name and renamed.
void MotorPostgreSQL::CopiaConsistente(const QString& destino) {
    const QString temporal = destino + QStringLiteral(".tmp");
    QFile::remove(temporal);
    try {
        {
            auto archivo = abreArchivoNuevo_(temporal);
            TransaccionBD instantanea(*this, ClaseTransaccion::Instantanea);
            TransaccionBD escritura(*archivo);
            CopiaTablas(*this, *archivo);
            escritura.Confirma();
            archivo->Cerrar();
        }
        QString detalle;
        if (!ReemplazaArchivo(temporal, destino, &detalle))
            throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("No se pudo escribir la copia de la base de datos."));
    } catch (...) {
        QFile::remove(temporal);
        throw;
    }
}
