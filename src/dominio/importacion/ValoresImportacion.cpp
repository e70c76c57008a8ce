#include "dominio/importacion/ValoresImportacion.h"

#include "base/Formatos.h"
#include "dominio/importacion/MapaImportacion.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// Blanks (also the non-breaking ones spreadsheets group thousands with) and the euro sign gone.
QString Limpio(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto)
        if (!c.isSpace() && c != QChar(0x20AC))
            r += c;
    return r;
}

}  // namespace

QChar DecimalEvidente(const QString& texto) {
    const QString t = Limpio(texto);
    const qsizetype coma = t.lastIndexOf(QLatin1Char(',')), punto = t.lastIndexOf(QLatin1Char('.'));
    if (coma >= 0 && punto >= 0)
        return coma > punto ? QLatin1Char(',') : QLatin1Char('.');
    const qsizetype pos = qMax(coma, punto);
    if (pos < 0)
        return QChar();
    const QChar sep = t[pos];
    // Twice is a grouping; once with other than three digits after it, the decimals.
    if (t.count(sep) > 1)
        return sep == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    return t.size() - pos - 1 == 3 ? QChar() : sep;
}

std::optional<double> LeeImporteTexto(const QString& texto, QChar decimal) {
    QString t = Limpio(texto);
    if (t.isEmpty())
        return std::nullopt;
    if (const QChar evidente = DecimalEvidente(t); !evidente.isNull())
        decimal = evidente;
    const bool coma = decimal != QLatin1Char('.');
    const QChar grupo = coma ? QLatin1Char('.') : QLatin1Char(',');
    static const QRegularExpression conComa(QStringLiteral("^[+-]?(\\d{1,3}(\\.\\d{3})+|\\d*)(,\\d+)?$"));
    static const QRegularExpression conPunto(QStringLiteral("^[+-]?(\\d{1,3}(,\\d{3})+|\\d*)(\\.\\d+)?$"));
    const bool cifras = std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.isDigit(); });
    if (!cifras || !(coma ? conComa : conPunto).match(t).hasMatch())
        return std::nullopt;
    t.remove(grupo);
    t.replace(decimal, QLatin1Char(','));
    return LeeNumero(t);
}

std::optional<QDate> LeeFechaTexto(const QString& texto) {
    // "dd/mm/yyyy", as the books write it, without the patterns' cost.
    if (texto.size() == 10 && texto[2] == QLatin1Char('/') && texto[5] == QLatin1Char('/')) {
        bool d = false, m = false, a = false;
        const QDate f(QStringView(texto).mid(6).toInt(&a), QStringView(texto).mid(3, 2).toInt(&m),
                      QStringView(texto).left(2).toInt(&d));
        if (d && m && a && f.isValid() && texto[0].isDigit() && texto[3].isDigit() && texto[6].isDigit())
            return f;
    }
    static const QRegularExpression iso(
        QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})([T ]\\d{1,2}:\\d{2}(:\\d{2}(\\.\\d+)?)?)?\\s*$"));
    if (const auto m = iso.match(texto); m.hasMatch()) {
        const QDate f(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return f.isValid() ? std::optional<QDate>(f) : std::nullopt;
    }
    return LeeFecha(texto);
}

std::optional<bool> LeeTipoTexto(const QString& texto) {
    QString t = NormalizaCabecera(texto);
    if (t.endsWith(QLatin1Char('s')) && t.size() > 1)
        t.chop(1);
    static const QStringList cobros{"c", "cobro", "emitida", "expedida", "venta", "ingreso"};
    static const QStringList pagos{"p", "pago", "recibida", "compra", "gasto"};
    if (cobros.contains(t))
        return true;
    if (pagos.contains(t))
        return false;
    return std::nullopt;
}
