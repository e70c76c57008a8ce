#include "dominio/declaraciones/Fichero347.h"

#include "base/Archivos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/Registros.h"
#include "dominio/facturas/Nif.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Only what the design admits: letters, digits, blanks; the rest a blank.
QChar Admitido(QChar c) {
    const QChar u = c.toUpper();
    if (u == QChar(0xD1) || u == QChar(0xC7))
        return u;
    const QString base = QString(u).normalized(QString::NormalizationForm_D);
    const QChar b = base.isEmpty() ? u : base.at(0);
    if ((b >= QLatin1Char('A') && b <= QLatin1Char('Z')) || (b >= QLatin1Char('0') && b <= QLatin1Char('9')))
        return b;
    return QLatin1Char(' ');
}

QByteArray Relleno(const QByteArray& b, int longitud, char c, bool derecha) {
    if (b.size() >= longitud)
        return derecha ? b.right(longitud) : b.left(longitud);
    const QByteArray r(longitud - b.size(), c);
    return derecha ? r + b : b + r;
}

QByteArray Numero(qint64 n, int longitud) { return Relleno(QByteArray::number(n), longitud, '0', true); }

// Right-aligned, zero-filled, its control character last.
QByteArray NifFichero(const QString& nif) {
    const QString n = NormalizaNif(nif);
    return n.isEmpty() ? QByteArray(9, ' ') : Relleno(n.toLatin1(), 9, '0', true);
}

// The part both records begin with.
QByteArray Cabecera(char tipo, const Modelo347& m, const Declarante347& d) {
    return QByteArray(1, tipo) + "347" + Numero(m.anio, 4) + NifFichero(d.nif);
}

QByteArray Termina(QByteArray r) {
    r = Relleno(r, 500, ' ', false);
    return r + "\r\n";
}

}  // namespace

Declarante347 LeeDeclarante(ConexionBD& con) {
    Declarante347 d;
    auto rs = con.AbrirRegistros(QStringLiteral("select NOMBRE, CIF from DATOS_EMPRESA"));
    if (!rs->Fin()) {
        d.nombre = rs->Campo(0).Texto().trimmed();
        d.nif = NormalizaNif(rs->Campo(1).Texto());
    }
    return d;
}

QString FaltaParaFichero(const Declarante347& d) {
    QStringList faltan;
    if (NormalizaNif(d.nif).isEmpty())
        faltan << QStringLiteral("el NIF de la empresa");
    if (d.nombre.trimmed().isEmpty())
        faltan << QStringLiteral("el nombre de la empresa");
    if (!TelefonoContactoValido(d.telefono))
        faltan << QStringLiteral("un teléfono de contacto de 9 cifras");
    if (d.contacto.trimmed().isEmpty())
        faltan << QStringLiteral("la persona de contacto");
    if (faltan.isEmpty())
        return QString();
    const QString ultimo = faltan.takeLast();
    return QStringLiteral("Para el archivo del Modelo 347 falta ") +
           (faltan.isEmpty() ? ultimo : faltan.join(QStringLiteral(", ")) + QStringLiteral(" y ") + ultimo) + '.';
}

bool TelefonoContactoValido(const QString& telefono) {
    QString t = telefono;
    t.remove(QLatin1Char(' '));
    return t.size() == 9 && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

QByteArray TextoFichero(const QString& texto, int longitud) {
    QString r;
    for (QChar c : texto.simplified())
        r += Admitido(c);
    return Relleno(r.toLatin1(), longitud, ' ', false);
}

QByteArray ImporteFichero(qint64 centimos) {
    return (centimos < 0 ? QByteArray("N") : QByteArray(" ")) + Numero(std::llabs(centimos), 15);
}

QByteArray Fichero347(const Modelo347& m, const Declarante347& d) {
    QString telefono = d.telefono;
    telefono.remove(QLatin1Char(' '));
    QByteArray f;
    QByteArray r = Cabecera('1', m, d);
    r += TextoFichero(d.nombre, 40);                     // 18-57
    r += 'T';                                            // 58
    r += Relleno(telefono.toLatin1(), 9, '0', true);     // 59-67
    r += TextoFichero(d.contacto, 40);                   // 68-107
    r += "347" + Numero(1, 10);                          // 108-120
    r += "  ";                                           // 121-122
    r += Numero(0, 13);                                  // 123-135
    r += Numero(static_cast<qint64>(m.filas.size()), 9); // 136-144
    r += ImporteFichero(m.Total());                      // 145-160
    r += Numero(0, 9);                                   // 161-169
    r += ImporteFichero(0);                              // 170-185
    f += Termina(r);
    for (const Fila347& x : m.filas) {
        r = Cabecera('2', m, d);
        r += x.Extranjero() ? QByteArray(9, ' ') : NifFichero(x.nif);   // 18-26
        r += QByteArray(9, ' ');                                         // 27-35
        r += TextoFichero(x.nombre, 40);                                 // 36-75
        r += 'D';                                                        // 76
        r += x.provincia.isEmpty() ? QByteArray("00") : x.provincia.toLatin1();  // 77-78
        r += TextoFichero(x.pais, 2);                                    // 79-80
        r += ' ';                                                        // 81
        r += x.clave.toLatin1();                                         // 82
        r += ImporteFichero(x.total);                                    // 83-98
        r += "  ";                                                       // 99-100
        r += Numero(0, 15);                                              // 101-115
        r += ImporteFichero(0);                                          // 116-131
        r += Numero(0, 4);                                               // 132-135
        for (qint64 t : x.trimestres)
            r += ImporteFichero(t) + ImporteFichero(0);                  // 136-263
        r += QByteArray(17, ' ');                                        // 264-280
        r += "   ";                                                      // 281-283
        r += ImporteFichero(0);                                          // 284-299
        f += Termina(r);
    }
    return f;
}

bool GuardaFichero347(const QString& ruta, const Modelo347& m, const Declarante347& d, QString* detalle) {
    return EscribeArchivoEntero(ruta, Fichero347(m, d), detalle);
}
