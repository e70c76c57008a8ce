#include "dominio/declaraciones/Modelo347.h"

#include "base/Formatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/ErrorBD.h"
#include "datos/motor/Registros.h"
#include "dominio/facturas/Nif.h"
#include "dominio/facturas/TiposVigentes.h"
#include "dominio/facturas/Trimestres.h"

#include <QHash>

#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>

namespace {

QString Pais(const QString& pais) {
    const QString p = pais.trimmed().toUpper();
    return p == QLatin1String("ES") ? QString() : p;
}

QString Clave(bool cobro) { return cobro ? QStringLiteral("B") : QStringLiteral("A"); }

QString Lado(QChar clave) { return clave == QLatin1Char('B') ? QStringLiteral("Cobros") : QStringLiteral("Pagos"); }

// Sales without an identified recipient are the agency's final-consumer
// sales; a purchase without NIF is simply left out.
QString SinDestinatario(bool cobro) {
    return cobro ? QStringLiteral(" (VENTAS A CONSUMIDOR FINAL)") : QString();
}

QString Describe(const Fila347& f) {
    return QStringLiteral("clave %1 (%2): %3%4, %5")
        .arg(f.clave)
        .arg(Lado(f.clave), f.nif.isEmpty() ? QString() : f.nif + QLatin1Char(' '), f.nombre, FormatoCentimos(f.total));
}

QString Facturas(int n) { return n == 1 ? QStringLiteral("1 factura") : QString::number(n) + QStringLiteral(" facturas"); }

}  // namespace

bool EsPaisUE(const QString& pais) {
    static const QStringList ue = QStringLiteral("AT BE BG CY CZ DE DK EE EL ES FI FR GR HR HU IE IT LT LU LV MT NL PL "
                                                 "PT RO SE SI SK XI")
                                      .split(QLatin1Char(' '));
    return ue.contains(pais.trimmed().toUpper());
}

QString ProvinciaDeCodigoPostal(const QString& codigoPostal) {
    static const QRegularExpression re(QStringLiteral("^(0[1-9]|[1-4][0-9]|5[0-2])[0-9]{3}$"));
    const QString cp = codigoPostal.trimmed();
    return re.match(cp).hasMatch() ? cp.left(2) : QString();
}

qint64 Modelo347::Total() const {
    qint64 t = 0;
    for (const Fila347& f : filas)
        t += f.total;
    return t;
}

QString Modelo347::Titulo() const { return QStringLiteral("Modelo 347 del año %1").arg(anio); }

QStringList Modelo347::LineasOrden() const {
    QStringList l{QStringLiteral("# ") + Titulo()};
    for (const QString& a : avisos)
        l << QStringLiteral("# ") + a;
    for (const Fila347& f : filas) {
        QStringList campos{QString(f.clave), f.nif, f.nombre, f.provincia, f.pais, FormatoCentimos(f.total)};
        for (qint64 t : f.trimestres)
            campos << FormatoCentimos(t);
        l << campos.join(QLatin1Char('\t'));
    }
    return l;
}

Modelo347 CalculaModelo347(int anio, const std::vector<FacturaTercero>& facturas,
                           const std::map<QString, DatosTercero>& terceros) {
    Modelo347 m;
    m.anio = anio;
    struct Suma {
        Fila347 fila;
        QDate ultima;  // the latest invoice names the counterparty
        QString pais;
        QString nombreLeido;  // that name as stored, before simplified()
    };
    // By key and NIF; those without a NIF by key and name.
    std::map<std::pair<QString, QString>, Suma> conNif, sinNif;
    int sinNombre[2] = {0, 0};
    qint64 sinNombreTotal[2] = {0, 0};
    // A year holds many invoices of few counterparties: each NIF as stored
    // is normalised, and its row found, once per key.
    QHash<QString, Suma*> filaDeNif[2];
    for (const FacturaTercero& f : facturas) {
        const QDate d = FechaDeclaracion(f.cobro, f.fecha, f.fechaOperacion, f.total < 0);
        if (!d.isValid() || d.year() != anio)
            continue;
        Suma* s = filaDeNif[f.cobro].value(f.nif);
        QString nombre;
        if (!s) {
            const QString nif = NormalizaNif(f.nif);
            nombre = f.nombre.simplified();
            if (nif.isEmpty() && nombre.isEmpty()) {
                ++sinNombre[f.cobro];
                sinNombreTotal[f.cobro] += f.total;
                continue;
            }
            s = &(nif.isEmpty() ? sinNif : conNif)[{Clave(f.cobro), nif.isEmpty() ? nombre.toUpper() : nif}];
            s->fila.clave = Clave(f.cobro).at(0);
            s->fila.nif = nif;
            if (!nif.isEmpty())
                filaDeNif[f.cobro].insert(f.nif, s);
        } else if (s->nombreLeido != f.nombre) {
            nombre = f.nombre.simplified();
        } else {
            nombre = s->fila.nombre;  // the same name as the last invoice's
        }
        s->fila.total += f.total;
        s->fila.trimestres[static_cast<size_t>((d.month() - 1) / 3)] += f.total;
        ++s->fila.facturas;
        if (s->fila.nombre.isEmpty() || !s->ultima.isValid() || f.fecha >= s->ultima) {
            if (!nombre.isEmpty()) {
                s->fila.nombre = nombre;
                s->nombreLeido = f.nombre;
            }
            s->pais = Pais(f.pais);
            s->ultima = f.fecha;
        }
    }
    for (int cobro : {1, 0})
        if (sinNombre[cobro] > 0)
            m.avisos << QStringLiteral("Facturas de %1 sin NIF ni nombre, que no se declaran%2: %3, %4.")
                            .arg(cobro ? QStringLiteral("Cobros") : QStringLiteral("Pagos"), SinDestinatario(cobro),
                                 Facturas(sinNombre[cobro]), FormatoCentimos(sinNombreTotal[cobro]));
    for (const auto& [clave, s] : sinNif) {
        if (std::llabs(s.fila.total) > Umbral347)
            m.avisos << QStringLiteral("Tercero sin NIF por encima de 3.005,06 €, no se declara: ") + Describe(s.fila) + '.';
        else
            m.avisos << QStringLiteral("Facturas de %1 sin NIF, que no se declaran%2: %3, %4, %5.")
                            .arg(Lado(s.fila.clave), SinDestinatario(s.fila.clave == QLatin1Char('B')), s.fila.nombre,
                                 Facturas(s.fila.facturas), FormatoCentimos(s.fila.total));
    }
    for (auto& [clave, s] : conNif) {
        if (std::llabs(s.fila.total) <= Umbral347)
            continue;
        Fila347 f = s.fila;
        QString codigoPostal;
        const auto t = terceros.find(f.nif);
        if (t != terceros.end()) {
            if (!t->second.nombre.trimmed().isEmpty())
                f.nombre = t->second.nombre.simplified();
            if (!t->second.pais.trimmed().isEmpty())
                s.pais = Pais(t->second.pais);
            codigoPostal = t->second.codigoPostal;
        }
        f.pais = s.pais;
        if (f.Extranjero() && EsPaisUE(f.pais)) {
            m.intracomunitarios.push_back(f);
            m.avisos << QStringLiteral("Tercero de otro país de la UE (%1), va en la declaración de operaciones "
                                       "intracomunitarias y no en esta: ")
                                .arg(f.pais) +
                            Describe(f) + '.';
            continue;
        }
        if (f.Extranjero()) {
            f.provincia = QStringLiteral("99");
            m.avisos << QStringLiteral("Tercero extranjero (%1), se declara con provincia 99 (las exportaciones e "
                                       "importaciones no se declaran): ")
                                .arg(f.pais) +
                            Describe(f) + '.';
        } else {
            f.provincia = ProvinciaDeCodigoPostal(codigoPostal);
            if (f.provincia.isEmpty())
                m.avisos << QStringLiteral("Tercero sin código postal de España, falta su provincia: ") + Describe(f) + '.';
        }
        if (f.nombre.isEmpty())
            m.avisos << QStringLiteral("Tercero sin nombre: ") + Describe(f) + '.';
        m.filas.push_back(f);
    }
    return m;
}

std::vector<FacturaTercero> LeeFacturasTerceros(ConexionBD& con, int anio) {
    const QString entre = QStringLiteral(" Between DateValue('%1') and DateValue('%2')")
                              .arg(EscribeFecha(QDate(anio, 1, 1)), EscribeFecha(QDate(anio, 12, 31)));
    // A database of an earlier layout, opened only to read, lacks the
    // counterparty's columns: Null stands for them.
    const auto vacia = con.AbrirRegistros(QStringLiteral("select * from FACTURAS where 1 = 0"));
    auto columna = [&vacia](const char* nombre) {
        const QString c = QLatin1String(nombre);
        return vacia->IndiceColumna(c) >= 0 ? c : QStringLiteral("Null As ") + c;
    };
    const bool conOperacion = vacia->IndiceColumna(QStringLiteral("FECHA_OPERACION")) >= 0;
    // Issued in the year, or operated in it: the date of declaration is one of the two.
    auto rs = con.AbrirRegistros(
        QStringLiteral("select case TIPO when 'C' then 1 when 'P' then 0 end As COBRO, FECHA_FACTURA, %1, IMPORTE_TOTAL,"
                       " %2, %3, %4 from FACTURAS where DateValue(FECHA_FACTURA)")
            .arg(columna("FECHA_OPERACION"), columna("NIF_TERCERO"), columna("NOMBRE_TERCERO"), columna("PAIS_TERCERO")) +
        entre + (conOperacion ? QStringLiteral(" or DateValue(FECHA_OPERACION)") + entre : QString()));
    std::vector<FacturaTercero> r;
    r.reserve(static_cast<size_t>(rs->NumFilas()));
    for (int i = 0; i < rs->NumFilas(); ++i) {
        const Valor tipo = rs->Celda(i, 0);
        if (tipo.EsNulo())
            continue;
        FacturaTercero f;
        f.cobro = tipo.Numero() != 0;
        f.fecha = rs->Celda(i, 1).Fecha();
        const Valor operacion = rs->Celda(i, 2);
        if (operacion.tipo() == Valor::Tipo::Fecha)
            f.fechaOperacion = operacion.fecha();
        const Valor total = rs->Celda(i, 3);
        f.total = total.EsNulo() ? 0 : Centimos(total.Numero());
        f.nif = rs->Celda(i, 4).Texto();
        f.nombre = rs->Celda(i, 5).Texto();
        f.pais = rs->Celda(i, 6).Texto();
        r.push_back(std::move(f));
    }
    return r;
}

std::map<QString, DatosTercero> LeeTerceros(ConexionBD& con) {
    std::map<QString, DatosTercero> r;
    std::unique_ptr<Registros> rs;
    try {
        rs = con.AbrirRegistros(QStringLiteral("select NIF, NOMBRE, PAIS, COD_POSTAL from TERCEROS"));
    } catch (const ErrorBD&) {
        // A database of an earlier layout, opened only to read: the invoices name them.
        return r;
    }
    for (int i = 0; i < rs->NumFilas(); ++i)
        r[NormalizaNif(rs->Celda(i, 0).Texto())] =
            DatosTercero{rs->Celda(i, 1).Texto(), rs->Celda(i, 2).Texto(), rs->Celda(i, 3).Texto()};
    return r;
}

Modelo347 LeeModelo347(ConexionBD& con, int anio) {
    const auto terceros = LeeTerceros(con);
    return CalculaModelo347(anio, LeeFacturasTerceros(con, anio), terceros);
}

int LeeAnioOrden(const QString& texto, QString* error) {
    static const QRegularExpression re(QStringLiteral("^[0-9]{1,4}$"));
    const QString completo = re.match(texto.trimmed()).hasMatch() ? CompletaAnio(texto.trimmed()) : QString();
    if (completo.isEmpty() || !LeeFecha(QStringLiteral("01/01/") + completo)) {
        if (error)
            *error = QStringLiteral("El año no es válido: ") + texto;
        return 0;
    }
    return completo.toInt();
}
