#include "dominio/declaraciones/Fichero390.h"

#include "dominio/declaraciones/Modelo347.h"
#include "dominio/facturas/Nif.h"

#include <cstdlib>

const Pagina390 kPaginas390[6] = {{"01000", 1187}, {"02000", 1806}, {"02B00", 531},
                                  {"03000", 1840}, {"04000", 854},  {"06000", 828}};

namespace {

// Writes `valor` over the page from `posicion` (from 1).
void Pon(QByteArray& pagina, int posicion, const QByteArray& valor) { pagina.replace(posicion - 1, valor.size(), valor); }

// A page with every field of amounts and percentages at zero: the design
// leaves no text fields on the pages of figures.
QByteArray PaginaVacia(const Pagina390& p, char relleno) {
    const QByteArray cierre = QByteArray("</T390") + p.codigo + '>';
    QByteArray r = QByteArray("<T390") + p.codigo + "> ";
    r += QByteArray(p.longitud - r.size() - 150 - cierre.size(), relleno);
    r += QByteArray(150, ' ');
    return r + cierre;
}

QByteArray Identificacion(const Modelo390& m, const Declarante347& d, bool declara347) {
    QByteArray p = PaginaVacia(kPaginas390[0], ' ');
    const QString nif = NormalizaNif(d.nif);
    Pon(p, 14, TextoFichero(nif, 9));
    Pon(p, 23, TextoFichero(d.nombre, 60));
    Pon(p, 103, QByteArray::number(m.anio).rightJustified(4, '0'));
    Pon(p, 109, "00");   // no monthly refunds, no group of entities
    Pon(p, 118, "000");  // neither dominant nor dependent; art. 163 sexies not applied
    Pon(p, 130, "222");  // no insolvency; cash criterion neither applied nor received
    Pon(p, 133, "00");   // not a substitute return
    Pon(p, 430, declara347 ? "1" : "0");
    return p;
}

}  // namespace

QByteArray Importe390(qint64 centimos) {
    const QByteArray digitos = QByteArray::number(std::llabs(centimos));
    return centimos < 0 ? "N" + digitos.rightJustified(16, '0') : digitos.rightJustified(17, '0');
}

QString FaltaParaFichero390(const Declarante347& d) {
    QStringList faltan;
    if (NormalizaNif(d.nif).isEmpty())
        faltan << QStringLiteral("el NIF de la empresa");
    if (d.nombre.trimmed().isEmpty())
        faltan << QStringLiteral("el nombre de la empresa");
    if (faltan.isEmpty())
        return QString();
    return QStringLiteral("Para el archivo del Modelo 390 falta ") + faltan.join(QStringLiteral(" y ")) +
           QStringLiteral(" (Datos de la Empresa).");
}

QByteArray Fichero390(const Modelo390& m, const Declarante347& d, bool declara347, const QString& version) {
    const QByteArray anio = QByteArray::number(m.anio).rightJustified(4, '0');
    QByteArray f = "<T3900" + anio + "0A0000>";
    f += "<AUX>" + QByteArray(70, ' ') + version.toLatin1().leftJustified(4, ' ', true) + QByteArray(4, ' ') +
         QByteArray(9, ' ') + QByteArray(213, ' ') + "</AUX>";
    f += Identificacion(m, d, declara347);
    for (int i = 1; i < 6; ++i) {
        QByteArray p = PaginaVacia(kPaginas390[i], '0');
        for (const Casilla390& c : m.casillas)
            if (qstrcmp(c.pagina, kPaginas390[i].codigo) == 0)
                Pon(p, c.posicion, Importe390(c.valor));
        f += p;
    }
    return f + "</T3900" + anio + "0A0000>";
}

QByteArray LeeFichero390(ConexionBD& con, const Modelo390& m, const QString& version, QString* falta) {
    const Declarante347 d = LeeDeclarante(con);
    *falta = FaltaParaFichero390(d);
    if (!falta->isEmpty())
        return QByteArray();
    return Fichero390(m, d, !LeeModelo347(con, m.anio).filas.empty(), version);
}
