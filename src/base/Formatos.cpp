#include "base/Formatos.h"

#include <QRegularExpression>
#include <QStringList>
#include <charconv>
#include <cmath>

const QString SumaVacia = QStringLiteral("0.00");

namespace {

// "%.15g" of the C library, but never following the process locale: the
// program's texts carry a decimal point here whatever LC_NUMERIC says.
QString General15(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

// Rounds to `decimales` places, halves away from zero, working on the
// shortest decimal text of the number so that 1.005 rounds up as written.
QString DigitosRedondeados(double v, int decimales, bool& negativo) {
    negativo = false;
    if (!std::isfinite(v))
        v = 0;
    // Expand to plain decimal digits.
    QString s = General15(std::fabs(v));
    QString entera, fraccion;
    int exp = 0;
    int e = s.indexOf('e');
    if (e >= 0) {
        exp = s.mid(e + 1).toInt();
        s = s.left(e);
    }
    int punto = s.indexOf('.');
    QString digitos = punto >= 0 ? s.left(punto) + s.mid(punto + 1) : s;
    int posComa = (punto >= 0 ? punto : s.size()) + exp;
    while (posComa <= 0) {
        digitos.prepend('0');
        ++posComa;
    }
    while (posComa > digitos.size())
        digitos.append('0');
    entera = digitos.left(posComa);
    fraccion = digitos.mid(posComa);
    while (fraccion.size() < decimales + 1)
        fraccion.append('0');
    bool subir = fraccion.at(decimales) >= QLatin1Char('5');
    QString num = entera + fraccion.left(decimales);
    if (subir) {
        int i = num.size() - 1;
        while (i >= 0) {
            if (num[i] == '9') {
                num[i] = '0';
                --i;
            } else {
                num[i] = QChar(num[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            num.prepend('1');
    }
    // Strip leading zeros of the whole part, keeping one.
    int enteros = num.size() - decimales;
    int quitar = 0;
    while (quitar < enteros - 1 && num[quitar] == '0')
        ++quitar;
    num = num.mid(quitar);
    bool cero = true;
    for (QChar c : num)
        if (c != '0') cero = false;
    negativo = v < 0 && !cero;
    return num;
}

QString Agrupa(const QString& enteros) {
    QString r;
    int n = enteros.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r.append('.');
        r.append(enteros[i]);
    }
    return r;
}

QString ConDecimales(double v, int decimales, bool agrupar) {
    bool negativo;
    QString num = DigitosRedondeados(v, decimales, negativo);
    QString enteros = num.left(num.size() - decimales);
    QString r = agrupar ? Agrupa(enteros) : enteros;
    if (decimales > 0)
        r += ',' + num.right(decimales);
    return negativo ? '-' + r : r;
}

}  // namespace

QString FormatoImporte(double v) { return ConDecimales(v, 2, true); }

qint64 Centimos(double v) {
    // An amount a clear quarter of a cent away from a half rounds to the
    // nearest cent whatever its text: below 10^10 the text of 15 digits is
    // within a two-hundredth of a cent of the double. Only the rest are written.
    const double cien = v * 100;
    if (std::fabs(cien) < 1e12) {
        const double entero = std::nearbyint(cien);
        if (std::fabs(cien - entero) < 0.25)
            return static_cast<qint64>(entero);
    }
    bool negativo;
    const QString num = DigitosRedondeados(v, 2, negativo);
    // Beyond 18 digits a cent count no longer fits: such an amount is no invoice's.
    bool ok = false;
    const qint64 c = num.size() <= 18 ? num.toLongLong(&ok) : 0;
    if (!ok)
        return 0;
    return negativo ? -c : c;
}

QString FormatoCentimos(qint64 centimos) {
    // The magnitude as unsigned, so that the most negative value has one too.
    const quint64 abs = centimos < 0 ? 0 - static_cast<quint64>(centimos) : static_cast<quint64>(centimos);
    const QString r = Agrupa(QString::number(abs / 100)) + QLatin1Char(',') +
                      QStringLiteral("%1").arg(abs % 100, 2, 10, QLatin1Char('0'));
    return centimos < 0 ? QLatin1Char('-') + r : r;
}

QString FormatoDosDecimales(double v) { return ConDecimales(v, 2, false); }

double RedondeaDosDecimales(double v) {
    bool negativo;
    const QString num = DigitosRedondeados(v, 2, negativo);
    const QByteArray c = (num.left(num.size() - 2) + QLatin1Char('.') + num.right(2)).toLatin1();
    double r = 0;
    std::from_chars(c.constData(), c.constData() + c.size(), r);
    return negativo ? -r : r;
}

QString FormatoEnteroAgrupado(double v) { return ConDecimales(v, 0, true); }

QString FormatoEntero(double v) {
    QString r = ConDecimales(v, 0, false);
    return (r == QLatin1String("0")) ? QString() : r;
}

QString TextoNumero(double v) {
    if (!std::isfinite(v))
        return QStringLiteral("0");
    if (v == 0)
        return QStringLiteral("0");
    QString s = General15(v);
    if (s.contains('e')) {
        // Write it out in plain digits, as the general form does for amounts.
        bool negativo;
        int e = s.indexOf('e');
        int exp = s.mid(e + 1).toInt();
        int decimales = exp < 0 ? qMin(15 - exp, 30) : 0;
        QString num = DigitosRedondeados(v, decimales, negativo);
        QString enteros = num.left(num.size() - decimales);
        QString frac = num.right(decimales);
        while (frac.endsWith('0'))
            frac.chop(1);
        s = enteros + (frac.isEmpty() ? QString() : '.' + frac);
        if (negativo)
            s.prepend('-');
    }
    s.replace('.', ',');
    return s;
}

std::optional<double> LeeNumero(const QString& texto) {
    QString t = texto.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    static const QRegularExpression re(QStringLiteral("^([+-]?)([0-9.]*)(,([0-9]*))?$"));
    auto m = re.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    QString enteros = m.captured(2);
    enteros.remove('.');
    QString frac = m.captured(4);
    if (enteros.isEmpty() && frac.isEmpty())
        return std::nullopt;
    QString c = (enteros.isEmpty() ? QStringLiteral("0") : enteros) + '.' + (frac.isEmpty() ? QStringLiteral("0") : frac);
    bool ok = false;
    double v = c.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return m.captured(1) == QLatin1String("-") ? -v : v;
}

std::optional<double> LeeNumeroConPunto(QByteArrayView texto) {
    QByteArrayView t = texto.trimmed();
    if (t.startsWith('+'))
        t = t.sliced(1);
    if (t.isEmpty())
        return std::nullopt;
    // The digits, point and exponent only: no "inf" or "nan".
    for (const char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E'))
            return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

int ExpandeAnio(int anio, int digitos) {
    if (digitos <= 2)
        return anio < 30 ? 2000 + anio : 1900 + anio;
    return anio;
}

std::optional<QDate> LeeFecha(const QString& texto) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})\\s*[/.-]\\s*(\\d{1,2})\\s*[/.-]\\s*(\\d{1,4})\\s*$"));
    auto m = re.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    int d = m.captured(1).toInt();
    int mes = m.captured(2).toInt();
    int a = ExpandeAnio(m.captured(3).toInt(), m.captured(3).size());
    if (a < 100)
        return std::nullopt;
    QDate f(a, mes, d);
    if (!f.isValid())
        return std::nullopt;
    return f;
}

QString EscribeFecha(const QDate& d) {
    return QString::asprintf("%02d/%02d/%04d", d.day(), d.month(), d.year());
}

QString FechaCompacta(const QDate& d) {
    return QString::asprintf("%02d%02d%02d", d.day(), d.month(), d.year() % 100);
}

QString NombreDia(const QDate& d) {
    static const char* const dias[] = {"Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado", "Domingo"};
    return QString::fromUtf8(dias[d.dayOfWeek() - 1]);
}

QString NombreMes(int mes) {
    static const char* const meses[] = {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio",
                                        "Julio", "Agosto", "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    return QString::fromUtf8(meses[mes - 1]);
}

QString FechaLarga(const QDate& d) {
    return NombreDia(d) + QStringLiteral(", ") + QString::number(d.day()) + QStringLiteral(" de ") +
           NombreMes(d.month()) + QStringLiteral(" de ") + QString::number(d.year());
}
