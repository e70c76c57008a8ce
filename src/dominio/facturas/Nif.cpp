#include "dominio/facturas/Nif.h"

namespace {

const char kLetrasDni[] = "TRWAGMYFPDXBNJZSQVHLCKE";
const char kLetrasCif[] = "JABCDEFGHI";

bool SonCifras(const QString& t, int desde, int cuantas) {
    for (int i = desde; i < desde + cuantas; ++i)
        if (i >= t.size() || t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    return true;
}

QChar LetraDni(long numero) { return QLatin1Char(kLetrasDni[numero % 23]); }

// The CIF's control digit from its seven digits.
int DigitoCif(const QString& t) {
    int suma = 0;
    for (int i = 1; i <= 7; ++i) {
        const int d = t[i].digitValue();
        if (i % 2 == 0) {
            suma += d;
        } else {
            const int doble = 2 * d;
            suma += doble / 10 + doble % 10;
        }
    }
    return (10 - suma % 10) % 10;
}

}  // namespace

QString NormalizaNif(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto.toUpper())
        if (c.isLetterOrNumber())
            r += c;
    return r;
}

ComprobacionNif CompruebaNif(const QString& nif) {
    ComprobacionNif r;
    if (nif.isEmpty())
        return r;
    const QChar control = nif.size() == 9 ? nif[8] : QChar();
    const QChar primera = nif[0];
    if (nif.size() == 9 && SonCifras(nif, 0, 8) && control.isLetter()) {
        r.clase = ClaseNif::Dni;
        r.esperado = LetraDni(nif.left(8).toLong());
    } else if (nif.size() == 9 && QStringLiteral("XYZ").contains(primera) && SonCifras(nif, 1, 7) && control.isLetter()) {
        r.clase = ClaseNif::Nie;
        const long prefijo = primera.unicode() - 'X';
        r.esperado = LetraDni(prefijo * 10000000 + nif.mid(1, 7).toLong());
    } else if (nif.size() == 9 && QStringLiteral("ABCDEFGHJNPQRSUVWKLM").contains(primera) && SonCifras(nif, 1, 7) &&
               (control.isDigit() || (control >= QLatin1Char('A') && control <= QLatin1Char('J')))) {
        r.clase = ClaseNif::Cif;
        const int digito = DigitoCif(nif);
        const QChar cifra = QLatin1Char(static_cast<char>('0' + digito));
        const QChar letra = QLatin1Char(kLetrasCif[digito]);
        if (QStringLiteral("PQRSNWKLM").contains(primera))
            r.esperado = letra;
        else if (QStringLiteral("ABEH").contains(primera))
            r.esperado = cifra;
        else
            r.esperado = QString(cifra) + QStringLiteral(" o ") + letra;
        r.valido = control == cifra ? !QStringLiteral("PQRSNWKLM").contains(primera)
                                    : control == letra && !QStringLiteral("ABEH").contains(primera);
        return r;
    } else {
        r.clase = ClaseNif::Otro;
        r.valido = false;
        return r;
    }
    r.valido = control == r.esperado[0];
    return r;
}

namespace {

// "la letra", "el dígito" or, where the CIF admits both, "el carácter".
QString CaracterDeControl(const ComprobacionNif& c) {
    if (c.esperado.size() > 1)
        return QStringLiteral("el carácter");
    return c.esperado[0].isDigit() ? QStringLiteral("el dígito") : QStringLiteral("la letra");
}

}  // namespace

QString MotivoNif(const QString& nif, const QString& quien) {
    const ComprobacionNif c = CompruebaNif(nif);
    if (c.valido)
        return QString();
    const QString elNif = QStringLiteral("NIF del ") + quien + QStringLiteral(" (") + nif + QLatin1Char(')');
    if (c.clase == ClaseNif::Otro)
        return QStringLiteral("el ") + elNif + QStringLiteral(" no tiene la forma de un DNI, NIE o CIF");
    return CaracterDeControl(c) + QStringLiteral(" de control del ") + elNif + QStringLiteral(" debería ser ") +
           c.esperado;
}

QString AvisoNif(const QString& nif) {
    const ComprobacionNif c = CompruebaNif(nif);
    if (c.valido)
        return QString();
    if (c.clase == ClaseNif::Otro)
        return QStringLiteral("El NIF ") + nif +
               QStringLiteral(" no tiene la forma de un DNI, NIE o CIF español. Si es un identificador extranjero, "
                              "puede grabar la factura igualmente.");
    return QStringLiteral("El NIF ") + nif + QStringLiteral(" no es correcto: ") + CaracterDeControl(c) +
           QStringLiteral(" de control debería ser ") + c.esperado +
           QStringLiteral(". Puede grabar la factura igualmente si está seguro de él.");
}
