#include "dominio/facturas/TiposVigentes.h"

#include "base/Formatos.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vigencia {
    qint64 tipo;
    QDate desde, hasta;  // invalid: no limit
};

const std::vector<Vigencia>& Tabla(Impuesto impuesto) {
    static const std::vector<Vigencia> iva{
        {0, {}, {}},
        {200, {2024, 10, 1}, {2024, 12, 31}},
        {400, {}, {}},
        {500, {2023, 1, 1}, {2024, 9, 30}},
        {750, {2024, 10, 1}, {2024, 12, 31}},
        {1000, {}, {}},
        {2100, {}, {}},
    };
    static const std::vector<Vigencia> igic{
        {0, {}, {}}, {300, {}, {}}, {500, {}, {}}, {700, {}, {}}, {950, {}, {}}, {1500, {}, {}}, {2000, {}, {}},
    };
    return impuesto == Impuesto::IGIC ? igic : iva;
}

bool EnVigor(const Vigencia& v, const QDate& fecha) {
    return (!v.desde.isValid() || fecha >= v.desde) && (!v.hasta.isValid() || fecha <= v.hasta);
}

}  // namespace

Impuesto ImpuestoDePalabra(const QString& palabra) {
    return palabra.trimmed().compare(QLatin1String("IGIC"), Qt::CaseInsensitive) == 0 ? Impuesto::IGIC
                                                                                     : Impuesto::IVA;
}

std::vector<qint64> TiposVigentes(Impuesto impuesto, const QDate& fecha) {
    std::vector<qint64> r;
    for (const Vigencia& v : Tabla(impuesto))
        if (EnVigor(v, fecha))
            r.push_back(v.tipo);
    return r;
}

bool EsTipoVigente(Impuesto impuesto, qint64 tipo, const QDate& fecha) {
    const auto& t = Tabla(impuesto);
    return std::any_of(t.begin(), t.end(), [&](const Vigencia& v) { return v.tipo == tipo && EnVigor(v, fecha); });
}

std::optional<qint64> TipoDePorcentaje(double porcentaje) {
    const double centesimas = porcentaje * 100;
    const qint64 r = std::llround(centesimas);
    if (std::fabs(centesimas - static_cast<double>(r)) > 1e-6)
        return std::nullopt;
    return r;
}

QString TextoTipo(qint64 tipo) { return TextoNumero(static_cast<double>(tipo) / 100); }

qint64 CuotaDeTipo(qint64 base, qint64 tipo) {
    const __int128 producto = static_cast<__int128>(base) * tipo;
    return static_cast<qint64>((producto + (producto >= 0 ? 5000 : -5000)) / 10000);
}

bool CuotaDescuadra(qint64 base, qint64 tipo, qint64 cuota) {
    // |cuota·10000 - base·tipo| > 10000, without rounding either side.
    const __int128 d = static_cast<__int128>(cuota) * 10000 - static_cast<__int128>(base) * tipo;
    return d > 10000 || d < -10000;
}

QDate FechaDeclaracion(bool cobro, const QDate& fecha, const QDate& fechaOperacion, bool negativa) {
    if (!fechaOperacion.isValid())
        return fecha;
    if (cobro)
        return negativa ? fecha : fechaOperacion;
    return std::max(fecha, fechaOperacion);
}

int TipoPorDefecto(const QString& palabraImpuesto) {
    return ImpuestoDePalabra(palabraImpuesto) == Impuesto::IGIC ? 7 : 21;
}
