#include "dominio/declaraciones/Modelo390.h"

#include "base/Formatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/Registros.h"

#include <algorithm>

namespace {

const QString kDevengado = QStringLiteral("IVA devengado");
const QString kDeducible = QStringLiteral("IVA deducible");
const QString kResultado = QStringLiteral("Resultado de la liquidación anual");
const QString kLiquidaciones = QStringLiteral("Resultado de las liquidaciones");
const QString kVolumen = QStringLiteral("Volumen de operaciones");

// A rate of the summary's rows: its boxes for sales and for current
// purchases, and where the quarterly return puts those sales.
struct Tipo390 {
    qint64 tipo;
    const char* texto;
    const char *base, *cuota;  // sales, page 02000
    int posBase;               // the cuota follows 17 characters later
    const char *baseDeducible, *cuotaDeducible;  // current purchases, page 03000; "" none
    int posDeducible;
    const char *base303, *tipo303, *cuota303;  // the quarterly return's row
};

const Tipo390 kTipos[] = {
    {0, "0 %", "700", "701", 13, "", "", 0, "150", "151", "152"},
    {200, "2 %", "667", "668", 47, "695", "696", 13, "165", "166", "167"},
    {400, "4 %", "01", "02", 81, "190", "191", 47, "01", "02", "03"},
    {500, "5 %", "702", "703", 115, "724", "725", 81, "153", "154", "155"},
    {750, "7,5 %", "669", "670", 149, "697", "698", 115, "153", "154", "155"},
    {1000, "10 %", "03", "04", 183, "603", "604", 149, "04", "05", "06"},
    {2100, "21 %", "05", "06", 217, "605", "606", 183, "07", "08", "09"},
};

const Tipo390* TipoDe(qint64 tipo) {
    for (const Tipo390& t : kTipos)
        if (t.tipo == tipo)
            return &t;
    return nullptr;
}

// The 303 boxes of a row holding `tipo` in this return, or zero.
Liquidacion::BaseCuota FilaDe303(const Liquidacion& l, const Tipo390& t) {
    if (l.Valor(QLatin1String(t.tipo303)) != t.tipo || !l.Busca(QLatin1String(t.base303)))
        return {};
    // A row with no rate in force writes 0 in its rate box; the 0 % row's boxes are then empty anyway.
    return {l.Valor(QLatin1String(t.base303)), l.Valor(QLatin1String(t.cuota303))};
}

QString Facturas(int n) { return n == 1 ? QStringLiteral("1 factura") : QStringLiteral("%1 facturas").arg(n); }

struct Calculo {
    Modelo390 m;
    Liquidacion anual;
};

// The year as one return gives the boxes; its four quarters, computed apart
// by the same code, give the results and the check.
Calculo Calcula(int anio, const QString& impuesto, const std::vector<FacturaDeclarada>& facturas, ConexionBD* con) {
    Calculo c;
    Modelo390& m = c.m;
    m.anio = anio;
    m.impuesto = impuesto;
    c.anual = CalculaLiquidacion(ModeloDeclaracion::M303, impuesto, QDate(anio, 1, 1), QDate(anio, 12, 31), facturas);
    Liquidacion& anual = c.anual;
    if (con)
        CompletaCodigos(*con, anual);

    std::array<Liquidacion, 4> trimestres;
    for (int q = 0; q < 4; ++q) {
        trimestres[q] = CalculaLiquidacion(ModeloDeclaracion::M303, impuesto, QDate(anio, 3 * q + 1, 1),
                                           QDate(anio, 3 * q + 1, 1).addMonths(3).addDays(-1), facturas);
        m.trimestres[q] = trimestres[q].Valor(QStringLiteral("71"));
    }

    // Sales the year's row of a temporary rate cannot hold (5 % in a year
    // whose 153 ends at 7,5 %) have a row of their own here.
    std::map<qint64, Liquidacion::BaseCuota> ocupadas;
    std::vector<TipoSinCasilla> sinCasilla;
    for (const TipoSinCasilla& t : anual.sinCasilla) {
        if (t.cobro && t.tipo && t.motivo == TipoSinCasilla::Motivo::FilaOcupada && TipoDe(*t.tipo)) {
            ocupadas[*t.tipo].base += t.base;
            ocupadas[*t.tipo].cuota += t.cuota;
        } else {
            sinCasilla.push_back(t);
        }
    }

    auto anade = [&](const char* numero, const QString& concepto, const QString& seccion, const char* pagina, int pos,
                     qint64 valor, bool total = false) {
        m.casillas.push_back({QLatin1String(numero), concepto, seccion, pagina, pos, valor, total});
    };
    // Devengado.
    qint64 bases = 0, cuotas = 0;
    for (const Tipo390& t : kTipos) {
        const Liquidacion::BaseCuota f = FilaDe303(anual, t);
        const qint64 base = f.base + ocupadas[t.tipo].base, cuota = f.cuota + ocupadas[t.tipo].cuota;
        const QString r = QStringLiteral("Régimen ordinario al ") + QLatin1String(t.texto);
        anade(t.base, r + QStringLiteral(": base imponible"), kDevengado, "02000", t.posBase, base);
        anade(t.cuota, r + QStringLiteral(": cuota"), kDevengado, "02000", t.posBase + 17, cuota);
        bases += base;
        cuotas += cuota;
    }
    const qint64 modBase = anual.Valor(QStringLiteral("14")), modCuota = anual.Valor(QStringLiteral("15"));
    anade("29", QStringLiteral("Modificación de bases y cuotas: base imponible"), kDevengado, "02000", 1509, modBase);
    anade("30", QStringLiteral("Modificación de bases y cuotas: cuota"), kDevengado, "02000", 1526, modCuota);
    bases += modBase;
    cuotas += modCuota;
    anade("33", QStringLiteral("Total bases imponibles"), kDevengado, "02000", 1611, bases, true);
    anade("34", QStringLiteral("Total cuotas de IVA"), kDevengado, "02000", 1628, cuotas, true);
    // No recargo de equivalencia: 47 is 34.
    anade("47", QStringLiteral("Total cuotas de IVA y recargo de equivalencia"), kDevengado, "02B00", 353, cuotas, true);

    // Deducible: current purchases by rate; a rate without a row still counts in 48/49.
    qint64 sinFilaBase = 0, sinFilaCuota = 0;
    QStringList sinFila;
    for (const auto& [tipo, s] : anual.interioresPorTipo) {
        const Tipo390* t = TipoDe(tipo);
        if (!t || !*t->baseDeducible) {
            sinFilaBase += s.base;
            sinFilaCuota += s.cuota;
            sinFila << TextoNumero(static_cast<double>(tipo) / 100) + QStringLiteral(" %");
        }
    }
    for (const Tipo390& t : kTipos) {
        if (!*t.baseDeducible)
            continue;
        const auto it = anual.interioresPorTipo.find(t.tipo);
        const Liquidacion::BaseCuota s = it == anual.interioresPorTipo.end() ? Liquidacion::BaseCuota{} : it->second;
        const QString r = QStringLiteral("Operaciones interiores corrientes al ") + QLatin1String(t.texto);
        anade(t.baseDeducible, r + QStringLiteral(": base imponible"), kDeducible, "03000", t.posDeducible, s.base);
        anade(t.cuotaDeducible, r + QStringLiteral(": cuota deducible"), kDeducible, "03000", t.posDeducible + 17, s.cuota);
    }
    const qint64 c49 = anual.Valor(QStringLiteral("29"));
    anade("48", QStringLiteral("Total operaciones interiores corrientes: base imponible"), kDeducible, "03000", 217,
          anual.Valor(QStringLiteral("28")), true);
    anade("49", QStringLiteral("Total operaciones interiores corrientes: cuota deducible"), kDeducible, "03000", 234, c49,
          true);
    const qint64 c62 = anual.Valor(QStringLiteral("41"));
    anade("639", QStringLiteral("Rectificación de deducciones: base imponible"), kDeducible, "04000", 557,
          anual.Valor(QStringLiteral("40")));
    anade("62", QStringLiteral("Rectificación de deducciones: cuota"), kDeducible, "04000", 574, c62);
    const qint64 c64 = c49 + c62;
    anade("64", QStringLiteral("Suma de deducciones"), kDeducible, "04000", 659, c64, true);
    const qint64 c65 = cuotas - c64;
    anade("65", QStringLiteral("Resultado régimen general"), kDeducible, "04000", 676, c65, true);

    // Result: no simplified regime, no customs deferral, no earlier years' credits.
    const qint64 c84 = c65, c659 = 0, c85 = 0;
    const qint64 c86 = c84 + c659 - c85;
    anade("84", QStringLiteral("Suma de resultados"), kResultado, "06000", 30, c84);
    anade("85", QStringLiteral("Compensación de cuotas del ejercicio anterior"), kResultado, "06000", 64, c85);
    anade("86", QStringLiteral("Resultado de la liquidación"), kResultado, "06000", 81, c86, true);

    // The quarterly results: what was to pay, the last one's credit, and the
    // credits of the first three left over.
    qint64 c95 = 0, c662 = 0;
    for (int q = 0; q < 4; ++q) {
        if (m.trimestres[q] > 0)
            c95 += m.trimestres[q];
        else if (q < 3)
            c662 -= m.trimestres[q];
    }
    const qint64 c98 = m.trimestres[3] < 0 ? -m.trimestres[3] : 0, c97 = 0;
    anade("95", QStringLiteral("Total resultados a ingresar en las autoliquidaciones del ejercicio"), kLiquidaciones,
          "06000", 225, c95);
    anade("97", QStringLiteral("Resultado del último periodo: a compensar"), kLiquidaciones, "06000", 276, c97);
    anade("98", QStringLiteral("Resultado del último periodo: a devolver"), kLiquidaciones, "06000", 293, c98);
    anade("662", QStringLiteral("Cuotas pendientes de compensación generadas en el ejercicio"), kLiquidaciones, "06000",
          310, c662);

    // The supplies of the year in the general regime are the sales' bases.
    anade("99", QStringLiteral("Operaciones en régimen general"), kVolumen, "06000", 361, bases);
    anade("108", QStringLiteral("Total volumen de operaciones"), kVolumen, "06000", 650, bases, true);

    // Each box from the quarterly return against the sum of the year's four.
    const struct {
        const char* n390;
        std::vector<const char*> n303;
    } pares[] = {{"700", {"150"}}, {"701", {"152"}}, {"667", {"165"}}, {"668", {"167"}}, {"01", {"01"}},
                 {"02", {"03"}},   {"03", {"04"}},   {"04", {"06"}},   {"05", {"07"}},   {"06", {"09"}},
                 {"29", {"14"}},   {"30", {"15"}},   {"34", {"27"}},   {"48", {"28"}},   {"49", {"29"}},
                 {"639", {"40"}},  {"62", {"41"}},   {"64", {"45"}},   {"65", {"46"}}};
    auto compara = [&](const QString& cual, qint64 anio, const std::vector<const char*>& n303) {
        qint64 suma = 0;
        for (const Liquidacion& t : trimestres)
            for (const char* n : n303)
                suma += t.Valor(QLatin1String(n));
        if (suma != anio)
            m.diferencias << QStringLiteral("%1: %2 frente a %3 de los trimestres")
                                 .arg(cual, FormatoCentimos(anio), FormatoCentimos(suma));
    };
    for (const auto& p : pares)
        compara(QLatin1String(p.n390), m.Valor(QLatin1String(p.n390)), p.n303);
    // 153/155 hold 5 % or 7,5 %, quarter by quarter.
    compara(QStringLiteral("702 y 669"), m.Valor(QStringLiteral("702")) + m.Valor(QStringLiteral("669")), {"153"});
    compara(QStringLiteral("703 y 670"), m.Valor(QStringLiteral("703")) + m.Valor(QStringLiteral("670")), {"155"});

    // The warnings.
    auto aviso = [&m](const QString& texto, bool advertencia = true) { m.avisos.push_back({texto, advertencia}); };
    for (const TipoSinCasilla& t : sinCasilla) {
        const QString cifras = QStringLiteral("base %1, cuota %2 (%3 de %4)")
                                   .arg(FormatoCentimos(t.base), FormatoCentimos(t.cuota), Facturas(t.facturas),
                                        t.cobro ? QStringLiteral("Cobros") : QStringLiteral("Pagos"));
        if (!t.tipo)
            aviso(QStringLiteral("Facturas sin tipo, sin casilla en el Modelo 390: %1. No se suman a ninguna casilla.")
                      .arg(cifras));
        else
            aviso(QStringLiteral("Tipo del %1 sin casilla en el Modelo 390, por no ser un tipo vigente en la fecha de "
                                 "la operación: %2. No se suma a ninguna casilla.")
                      .arg(TextoNumero(static_cast<double>(*t.tipo) / 100) + QStringLiteral(" %"), cifras));
    }
    if (!sinFila.isEmpty())
        aviso(QStringLiteral("Compras al %1, sin fila por tipo en el IVA deducible del Modelo 390: base %2, cuota %3. "
                             "Cuentan en las casillas 48 y 49.")
                  .arg(sinFila.join(QStringLiteral(", ")), FormatoCentimos(sinFilaBase), FormatoCentimos(sinFilaCuota)));
    if (m.Valor(QStringLiteral("701")) != 0)
        aviso(QStringLiteral("La casilla 701 (cuota al 0 %) debe ir a cero: revise las facturas al 0 % con cuota."));
    if (anio >= 2025) {
        QStringList llenas;
        for (const char* n : {"667", "668", "702", "703", "669", "670"})
            if (m.Valor(QLatin1String(n)) != 0)
                llenas << QLatin1String(n);
        if (!llenas.isEmpty())
            aviso(QStringLiteral("El diseño del Modelo 390 de 2025 pide a cero las casillas de los tipos del 2 %, 5 % "
                                 "y 7,5 %, y tienen importe: %1. Revise esas facturas antes de presentar la "
                                 "declaración.")
                      .arg(llenas.join(QStringLiteral(", "))));
    }
    if (anio != 2025)
        aviso(QStringLiteral("Las casillas y el archivo siguen el diseño de registro del Modelo 390 de 2025."), false);
    // The rest as the year's return says it, without its notes on the 303's hand-typed boxes.
    anual.sinCasilla.clear();
    m.avisosPrevios = anual.AvisosPrevios();
    std::vector<Liquidacion::Aviso> resto = anual.Avisos();
    if (!resto.empty())
        resto.pop_back();
    m.avisos.insert(m.avisos.end(), resto.begin(), resto.end());
    if (m.trimestres[3] < 0)
        aviso(QStringLiteral("El resultado negativo del 4T figura como a devolver (casilla 98); si se pidió compensarlo, "
                             "páselo a la casilla 97."),
              false);
    aviso(QStringLiteral("Las casillas 95 y 662 toman los resultados trimestrales sin cuotas compensadas (casilla 78 "
                         "del 303), y la 85 se toma como cero: corríjalas si se compensaron cuotas."),
          false);
    return c;
}

}  // namespace

const Casilla390* Modelo390::Busca(const QString& numero) const {
    for (const Casilla390& c : casillas)
        if (c.numero == numero)
            return &c;
    return nullptr;
}

qint64 Modelo390::Valor(const QString& numero) const {
    const Casilla390* c = Busca(numero);
    return c ? c->valor : 0;
}

qint64 Modelo390::SumaTrimestres() const {
    qint64 s = 0;
    for (qint64 t : trimestres)
        s += t;
    return s;
}

qint64 Modelo390::Diferencia() const { return Valor(QStringLiteral("86")) - SumaTrimestres(); }

QString Modelo390::Comprobacion() const {
    QStringList t;
    for (int q = 0; q < 4; ++q)
        t << QStringLiteral("%1T %2").arg(q + 1).arg(FormatoCentimos(trimestres[q]));
    const QString c86 = FormatoCentimos(Valor(QStringLiteral("86")));
    const qint64 cuenta = Valor(QStringLiteral("95")) - Valor(QStringLiteral("97")) - Valor(QStringLiteral("98")) -
                          Valor(QStringLiteral("662"));
    if (Cuadra() && cuenta == Valor(QStringLiteral("86")))
        return QStringLiteral("Comprobación: el resultado (86) %1 es la suma de los cuatro trimestres (%2) y es 95 − 97 "
                              "− 98 − 662.")
            .arg(c86, t.join(QStringLiteral("; ")));
    QString r = QStringLiteral("Atención: el resultado (86) %1 difiere en %2 de la suma de los cuatro trimestres (%3)")
                    .arg(c86, FormatoCentimos(Diferencia()), t.join(QStringLiteral("; ")));
    if (!diferencias.isEmpty())
        r += QStringLiteral(", porque el año y los trimestres no suman igual las casillas ") +
             diferencias.join(QStringLiteral("; "));
    if (cuenta != Valor(QStringLiteral("86")))
        r += QStringLiteral("; 95 − 97 − 98 − 662 da ") + FormatoCentimos(cuenta);
    return r + QLatin1Char('.');
}

QString Modelo390::Titulo() const {
    return QStringLiteral("Modelo 390 (IVA), resumen anual del año %1").arg(anio);
}

QStringList Modelo390::LineasOrden() const {
    QStringList l{QStringLiteral("# ") + Titulo()};
    for (const Liquidacion::Aviso& a : avisosPrevios)
        l << QStringLiteral("# ") + a.texto;
    for (const Casilla390& c : casillas)
        l << c.numero + QLatin1Char('\t') + FormatoCentimos(c.valor);
    l << QStringLiteral("# ") + Comprobacion();
    for (const Liquidacion::Aviso& a : avisos)
        l << QStringLiteral("# ") + a.texto;
    return l;
}

Modelo390 CalculaModelo390(int anio, const QString& impuesto, const std::vector<FacturaDeclarada>& facturas) {
    return Calcula(anio, impuesto, facturas, nullptr).m;
}

Modelo390 LeeModelo390(ConexionBD& con, int anio, const QString& impuesto) {
    return Calcula(anio, impuesto, LeeFacturasDeclaradas(con, QDate(anio, 1, 1), QDate(anio, 12, 31)), &con).m;
}

std::unique_ptr<Registros> RegistrosModelo390(const Modelo390& m) {
    Registros::Constructor c({QStringLiteral("CASILLA"), QStringLiteral("CONCEPTO"), QStringLiteral("IMPORTE")},
                             m.casillas.size() + 8);
    auto texto = [&c](const QString& t) {
        const QByteArray u = t.toUtf8();
        c.Texto(u.constData(), u.size());
    };
    for (size_t i = 0; i < m.casillas.size(); ++i) {
        const Casilla390& k = m.casillas[i];
        if (i == 0 || k.seccion != m.casillas[i - 1].seccion) {
            texto(QString());
            texto(k.seccion.toUpper());
            texto(QString());
        }
        texto(k.numero);
        texto(k.concepto);
        texto(FormatoCentimos(k.valor));
    }
    return c.Termina();
}

QString NombreArchivo390(int anio, const QString& extension) {
    return QStringLiteral("Modelo 390 %1.%2").arg(anio).arg(extension);
}
