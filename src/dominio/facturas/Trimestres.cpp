#include "dominio/facturas/Trimestres.h"

#include "base/Formatos.h"
#include "datos/motor/Comillas.h"
#include "datos/ConexionBD.h"

const QStringList NombresTrimestre{QStringLiteral("1º Trimestre"), QStringLiteral("2º Trimestre"),
                                   QStringLiteral("3º Trimestre"), QStringLiteral("4º Trimestre")};

std::optional<RangoFechas> FechasTrimestre(int indice, const QString& anio) {
    static const char* const desde[] = {"01/01/", "01/04/", "01/07/", "01/10/"};
    static const char* const hasta[] = {"31/03/", "30/06/", "30/09/", "31/12/"};
    if (indice < 0 || indice > 3)
        return std::nullopt;
    return RangoFechas{QLatin1String(desde[indice]) + anio, QLatin1String(hasta[indice]) + anio};
}

int TrimestreDeFecha(const QDate& fecha) {
    int m = fecha.month();
    return m / 3 - (m % 3 == 0 ? 1 : 0);
}

PeriodoPropuesto UltimoTrimestreTerminado(const QDate& hoy) {
    const int t = TrimestreDeFecha(hoy);
    if (t == 0)
        return {QString::number(hoy.year() - 1), 3};
    return {QString::number(hoy.year()), t - 1};
}

QString CompletaAnio(const QString& anio) {
    if (anio.isEmpty())
        return anio;
    auto f = LeeFecha(QStringLiteral("01/01/") + anio);
    if (!f)
        return anio;
    return QString::number(f->year());
}

std::optional<QString> NormalizaFecha(const QString& texto) {
    if (texto.isEmpty())
        return texto;
    auto f = LeeFecha(texto);
    if (!f)
        return std::nullopt;
    return EscribeFecha(*f);
}

namespace {
// The values go in as the boxes hold them; a stray apostrophe is doubled so it
// can only fail as a bad date, never end its literal early.
QString CondicionFechas(const QString& tipo, const QString& desde, const QString& hasta) {
    return QStringLiteral("  from ") + QStringLiteral("FACTURAS") + QStringLiteral(" where TIPO = '") + DoblarComillas(tipo) +
           QStringLiteral("'") + QStringLiteral("   and DateValue(FECHA_FACTURA) Between DateValue('") + DoblarComillas(desde) +
           QStringLiteral("') and DateValue('") + DoblarComillas(hasta) + QStringLiteral("')");
}
}  // namespace

QString SqlListaFacturas(const QString& tipo, const QString& desde, const QString& hasta) {
    return QStringLiteral("select *") + CondicionFechas(tipo, desde, hasta) +
           QStringLiteral(" order by FECHA_FACTURA, COD_FACTURA");
}

QString SqlSumasFacturas(const QString& tipo, const QString& desde, const QString& hasta) {
    return QStringLiteral("select Sum(IMPORTE_IVA), Sum(IMPORTE_TOTAL)") + CondicionFechas(tipo, desde, hasta);
}

int PrimerIndiceSuma(const QString& tipo) { return tipo == QLatin1String("C") ? 2 : 0; }

std::unique_ptr<Registros> CargaLista(ConexionBD& con, const QString& tipo, const QString& desde,
                                      const QString& hasta) {
    return con.AbrirRegistros(SqlListaFacturas(tipo, desde, hasta));
}

void CalculaTotales(ConexionBD& con, const QString& tipo, const QString& desde, const QString& hasta,
                    QStringList& sumas) {
    while (sumas.size() < 4)
        sumas.append(QString());
    int f = PrimerIndiceSuma(tipo);
    auto rs = con.AbrirRegistros(SqlSumasFacturas(tipo, desde, hasta));
    if (!rs->Fin()) {
        for (int k = 0; k < 2; ++k) {
            const Valor& v = rs->Campo(k);
            sumas[f + k] = v.EsNulo() ? SumaVacia : FormatoImporte(v.Numero());
        }
    }
}

QStringList CalculaDiferencias(const QStringList& sumas) {
    auto n = [&](int i) { return i < sumas.size() ? LeeNumero(sumas[i]).value_or(0) : 0.0; };
    return {FormatoImporte(n(2) - n(0)), FormatoImporte(n(3) - n(1))};
}
