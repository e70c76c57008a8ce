#include "dominio/liquidacion/Liquidacion.h"

#include "datos/ConexionBD.h"
#include "datos/motor/Registros.h"
#include "base/Formatos.h"
#include "dominio/facturas/TiposVigentes.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/listado/Listado.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// A row of the form for collected invoices: base, rate and cuota.
struct FilaTipo {
    // The rates it may hold (303: fixed; 420: any, one row per rate present).
    std::vector<qint64> candidatos;
    const char* base;
    const char* porcentaje;
    const char* cuota;
};

// The boxes of a model that the invoices fill, in the form's order.
struct DefinicionModelo {
    Impuesto impuesto;
    std::vector<FilaTipo> filas;
    bool filasGenericas;  // 420: the rows take the rates present, ascending
    const char* modificacionBase;
    const char* modificacionCuota;
    const char* totalDevengado;
    const char* interioresBase;
    const char* interioresCuota;
    const char* rectificacionBase;
    const char* rectificacionCuota;
    const char* totalDeducir;
    const char* resultado;
    const char* manuales;  // the boxes typed on the form, taken as zero
};

const DefinicionModelo& Definicion(ModeloDeclaracion m) {
    static const DefinicionModelo k303{
        Impuesto::IVA,
        {{{0}, "150", "151", "152"},
         {{200}, "165", "166", "167"},
         {{400}, "01", "02", "03"},
         {{750, 500}, "153", "154", "155"},
         {{1000}, "04", "05", "06"},
         {{2100}, "07", "08", "09"}},
        false, "14", "15", "27", "28", "29", "40", "41", "45", "46",
        "La casilla 65 se toma como 100 % y las que se rellenan a mano en el formulario (68, 70, 77, 78, 108, "
        "109 y 112) como cero: revíselas antes de presentar la declaración."};
    static const DefinicionModelo k420{
        Impuesto::IGIC,
        {{{}, "01", "02", "03"},
         {{}, "04", "05", "06"},
         {{}, "07", "08", "09"},
         {{}, "10", "11", "12"},
         {{}, "13", "14", "15"},
         {{}, "16", "17", "18"}},
        true, "21", "22", "25", "26", "27", "34", "35", "40", "41",
        "Las casillas que se rellenan a mano en el formulario (42, 43 y 44) se toman como cero: revíselas antes "
        "de presentar la declaración."};
    return m == ModeloDeclaracion::M420 ? k420 : k303;
}

// "21 %", "9,5 %": a rate as the form's captions write it.
QString Porcentaje(qint64 tipo) { return TextoNumero(static_cast<double>(tipo) / 100) + QStringLiteral(" %"); }

// The rate of a row in force last between the dates, or none. Rates come
// into force and end with a month, so one day a month tells them all.
std::optional<qint64> TipoDeLaFila(Impuesto impuesto, const FilaTipo& fila, const QDate& desde, const QDate& hasta) {
    QDate dia = hasta;
    do {
        for (qint64 t : fila.candidatos)
            if (EsTipoVigente(impuesto, t, dia))
                return t;
        dia = QDate(dia.year(), dia.month(), 1).addDays(-1);
    } while (dia.isValid() && dia >= desde);
    // The record design of the fourth quarter of 2024 on keeps 154 at 7,50
    // and 166 at 2,00 once those rates ended; the 2026 design writes zero.
    if (impuesto == Impuesto::IVA && hasta >= QDate(2024, 10, 1) && hasta < QDate(2026, 1, 1))
        for (qint64 t : fila.candidatos)
            if (t == 750 || t == 200)
                return t;
    return std::nullopt;
}

QString Facturas(int n) { return n == 1 ? QStringLiteral("1 factura") : QStringLiteral("%1 facturas").arg(n); }

QString Lado(bool cobro) { return cobro ? QStringLiteral("Cobros") : QStringLiteral("Pagos"); }

qint64 ConSigno(const FacturaDeclarada& f) { return f.cobro ? f.cuota : -f.cuota; }

// "a, b y c"
QString Enumera(const QStringList& partes) {
    if (partes.size() < 2)
        return partes.value(0);
    return QStringList(partes.mid(0, partes.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" y ") +
           partes.last();
}

// The same invoices in the same order on every engine.
bool AntesQue(const FacturaDeclarada& a, const FacturaDeclarada& b) {
    return std::tie(a.fecha, a.codigo, a.cobro, a.total, a.cuota, a.base, a.id) <
           std::tie(b.fecha, b.codigo, b.cobro, b.total, b.cuota, b.base, b.id);
}

void Ordena(std::vector<FacturaDeclarada>& v) { std::stable_sort(v.begin(), v.end(), AntesQue); }

// The invoices named in the lists, in their order.
void OrdenaListas(Liquidacion& l) {
    Ordena(l.incompletas);
    Ordena(l.entran);
    Ordena(l.salen);
    std::stable_sort(l.descuadres.begin(), l.descuadres.end(),
                     [](const CuotaDescuadrada& a, const CuotaDescuadrada& b) { return AntesQue(a.factura, b.factura); });
}

}  // namespace

ModeloDeclaracion ModeloDeImpuesto(const QString& palabra) {
    return ImpuestoDePalabra(palabra) == Impuesto::IGIC ? ModeloDeclaracion::M420 : ModeloDeclaracion::M303;
}

QString ImpuestoDelModelo(ModeloDeclaracion modelo) {
    return modelo == ModeloDeclaracion::M420 ? QStringLiteral("IGIC") : QStringLiteral("IVA");
}

QString NombreModelo(ModeloDeclaracion modelo) {
    return (modelo == ModeloDeclaracion::M420 ? QStringLiteral("Modelo 420 (") : QStringLiteral("Modelo 303 (")) +
           ImpuestoDelModelo(modelo) + QLatin1Char(')');
}

QDate FacturaDeclarada::FechaDeclaracion() const {
    return ::FechaDeclaracion(cobro, fecha, fechaOperacion, Negativa());
}

QString Casilla::Texto() const { return vacia ? QString() : FormatoCentimos(valor); }

const Casilla* Liquidacion::Busca(const QString& numero) const {
    for (const Casilla& c : casillas)
        if (c.numero == numero)
            return &c;
    return nullptr;
}

qint64 Liquidacion::Valor(const QString& numero) const {
    const Casilla* c = Busca(numero);
    return c ? c->valor : 0;
}

qint64 Liquidacion::CuotasSinCasilla() const {
    qint64 s = 0;
    for (const TipoSinCasilla& t : sinCasilla)
        s += t.cobro ? t.cuota : -t.cuota;
    return s;
}

qint64 Liquidacion::Resultado() const { return Valor(QLatin1String(Definicion(modelo).resultado)); }

qint64 Liquidacion::Comprobacion() const {
    qint64 s = Resultado() + CuotasSinCasilla();
    for (const FacturaDeclarada& f : entran)
        s -= ConSigno(f);
    for (const FacturaDeclarada& f : salen)
        s += ConSigno(f);
    return s;
}

bool Liquidacion::Cuadra() const {
    return !diferenciaNavegador.isEmpty() &&
           (FormatoCentimos(Comprobacion()) == diferenciaNavegador || diferenciasLeidas.contains(diferenciaNavegador));
}

QString Liquidacion::Titulo() const { return NombreModelo(modelo) + QLatin1Char(' ') + LineaTitulo(desde, hasta); }

std::vector<Liquidacion::Aviso> Liquidacion::AvisosPrevios() const {
    const QString palabra = impuesto.trimmed().isEmpty() ? ImpuestoDelModelo(modelo) : impuesto.trimmed();
    std::vector<Aviso> a;
    for (const FacturaDeclarada& f : incompletas) {
        QStringList faltan, hay;
        if (f.sinCuota)
            faltan << QStringLiteral("el importe del ") + palabra;
        else
            hay << QStringLiteral("cuota ") + FormatoCentimos(f.cuota);
        if (f.sinBase)
            faltan << QStringLiteral("la base imponible");
        else
            hay.prepend(QStringLiteral("base ") + FormatoCentimos(f.base));
        if (!f.tipo)
            faltan << QStringLiteral("el tipo");
        else
            hay << QStringLiteral("tipo ") + Porcentaje(*f.tipo);
        if (f.sinTotal)
            faltan << QStringLiteral("el total");
        else
            hay << QStringLiteral("total ") + FormatoCentimos(f.total);
        a.push_back({QStringLiteral("Factura incompleta de %1 %2 del %3: le falta %4%5. Se declara como está "
                                    "grabada: complétela antes de presentar la declaración.")
                         .arg(Lado(f.cobro), f.codigo, EscribeFecha(f.fecha), Enumera(faltan),
                              hay.isEmpty() ? QString() : QStringLiteral(" (") + hay.join(QStringLiteral(", ")) + ')'),
                     true});
    }
    return a;
}

std::vector<Liquidacion::Aviso> Liquidacion::Avisos() const {
    const DefinicionModelo& d = Definicion(modelo);
    const QString palabra = impuesto.trimmed().isEmpty() ? ImpuestoDelModelo(modelo) : impuesto.trimmed();
    std::vector<Aviso> a;
    auto anade = [&a](const QString& texto, bool advertencia = true) { a.push_back({texto, advertencia}); };
    if (ModeloDeImpuesto(palabra) == ModeloDeclaracion::M303 && palabra.compare(QLatin1String("IVA"), Qt::CaseInsensitive) != 0)
        anade(QStringLiteral("El impuesto configurado es «%1», que no es IVA ni IGIC: se muestran las casillas del %2.")
                 .arg(palabra, NombreModelo(modelo)));
    for (const TipoSinCasilla& t : sinCasilla) {
        const QString cifras = QStringLiteral("base %1, cuota %2 (%3 de %4)")
                                   .arg(FormatoCentimos(t.base), FormatoCentimos(t.cuota), Facturas(t.facturas), Lado(t.cobro));
        if (!t.tipo) {
            anade(QStringLiteral("Facturas sin tipo, sin casilla en el %1: %2. No se suman a ninguna casilla.")
                     .arg(NombreModelo(modelo), cifras));
            continue;
        }
        QString motivo = QStringLiteral("por no ser un tipo vigente en la fecha de la operación");
        if (t.motivo == TipoSinCasilla::Motivo::FilaOcupada) {
            motivo = QStringLiteral("porque las seis filas de las casillas 01 a 18 ya tienen tipo");
            for (const FilaTipo& f : d.filas)
                if (std::count(f.candidatos.begin(), f.candidatos.end(), *t.tipo))
                    motivo = QStringLiteral("porque las casillas %1 a %2 llevan el %3")
                                 .arg(QLatin1String(f.base), QLatin1String(f.cuota),
                                      Porcentaje(Valor(QLatin1String(f.porcentaje))));
        }
        anade(QStringLiteral("Tipo del %1 sin casilla en el %2, %3: %4. No se suma a ninguna casilla.")
                 .arg(Porcentaje(*t.tipo), NombreModelo(modelo), motivo, cifras));
    }
    if (pagosSinCuota > 0)
        anade(QStringLiteral("Facturas de Pagos sin cuota (al 0 % o exentas), que no van a ninguna casilla: base %1 (%2).")
                  .arg(FormatoCentimos(baseSinCuota), Facturas(pagosSinCuota)),
              false);
    for (const CuotaDescuadrada& c : descuadres) {
        const FacturaDeclarada& f = c.factura;
        anade(QStringLiteral("La cuota no es la base por el tipo en la factura de %1 %2 del %3: base %4, tipo %5, "
                            "cuota %6 (la base por el tipo da %7), total %8.")
                 .arg(Lado(f.cobro), f.codigo, EscribeFecha(f.fecha), FormatoCentimos(f.base), Porcentaje(*f.tipo),
                      FormatoCentimos(f.cuota), FormatoCentimos(c.calculada), FormatoCentimos(f.total)));
    }
    auto movida = [&](const FacturaDeclarada& f, const char* como) {
        anade(QStringLiteral("%1 por su fecha de operación la factura de %2 %3 del %4 (operación del %5): base %6, "
                            "cuota %7, total %8.")
                  .arg(QLatin1String(como), Lado(f.cobro), f.codigo, EscribeFecha(f.fecha), EscribeFecha(f.fechaOperacion),
                       FormatoCentimos(f.base), FormatoCentimos(f.cuota), FormatoCentimos(f.total)),
              false);
    };
    for (const FacturaDeclarada& f : entran)
        movida(f, "Entra");
    for (const FacturaDeclarada& f : salen)
        movida(f, "Queda fuera");
    if (!diferenciaNavegador.isEmpty()) {
        QString cuenta = QStringLiteral("%1 - %2 más las cuotas sin casilla")
                             .arg(QLatin1String(d.totalDevengado), QLatin1String(d.totalDeducir));
        if (!entran.empty() && !salen.empty())
            cuenta += QStringLiteral(", menos las de las facturas que entran por su fecha de operación y más las de "
                                     "las que quedan fuera,");
        else if (!entran.empty())
            cuenta += QStringLiteral(", menos las de las facturas que entran por su fecha de operación,");
        else if (!salen.empty())
            cuenta += QStringLiteral(", más las de las facturas que quedan fuera por su fecha de operación,");
        cuenta += QStringLiteral(" da ") + FormatoCentimos(Comprobacion());
        const QString navegador = QStringLiteral("la diferencia de %1 Cobrado - Pagado entre las mismas fechas").arg(palabra);
        if (FormatoCentimos(Comprobacion()) == diferenciaNavegador)
            anade(QStringLiteral("Comprobación: %1, igual que %2.").arg(cuenta, navegador), false);
        else if (Cuadra())
            anade(QStringLiteral("Comprobación: %1; %2 es %3 porque suma los importes sin redondear: hay importes "
                                "del %4 con más de dos decimales, y la declaración toma cada factura al céntimo.")
                      .arg(cuenta, navegador, diferenciaNavegador, palabra),
                  false);
        else
            anade(QStringLiteral("Atención: %1, pero %2 es %3. Revise los importes de las facturas.")
                      .arg(cuenta, navegador, diferenciaNavegador));
    }
    anade(QString::fromUtf8(d.manuales), false);
    return a;
}

QStringList Liquidacion::LineasOrden() const {
    QStringList l{QStringLiteral("# ") + Titulo()};
    for (const Aviso& a : AvisosPrevios())
        l << QStringLiteral("# ") + a.texto;
    for (const Casilla& c : casillas)
        l << c.numero + QLatin1Char('\t') + c.Texto();
    for (const Aviso& a : Avisos())
        l << QStringLiteral("# ") + a.texto;
    return l;
}

Liquidacion CalculaLiquidacion(ModeloDeclaracion modelo, const QString& impuesto, const QDate& desde,
                               const QDate& hasta, const std::vector<FacturaDeclarada>& facturas) {
    const DefinicionModelo& d = Definicion(modelo);
    Liquidacion l;
    l.modelo = modelo;
    l.impuesto = impuesto;
    l.desde = EscribeFecha(desde);
    l.hasta = EscribeFecha(hasta);

    struct Suma {
        qint64 base = 0, cuota = 0;
        int facturas = 0;
        void Anade(const FacturaDeclarada& f) {
            base += f.base;
            cuota += f.cuota;
            ++facturas;
        }
    };
    // The rate each fixed row holds for these dates (303): the one in force.
    std::vector<std::optional<qint64>> tipoFila(d.filas.size());
    if (!d.filasGenericas)
        for (size_t i = 0; i < d.filas.size(); ++i)
            tipoFila[i] = TipoDeLaFila(d.impuesto, d.filas[i], desde, hasta);
    std::map<qint64, Suma> porTipo;
    Suma modificacion, interiores, rectificacion;
    std::map<std::tuple<bool, std::optional<qint64>, TipoSinCasilla::Motivo>, Suma> aparte;
    // Summed as exactly as doubles allow (compensated), as an engine sums.
    struct SumaExacta {
        double suma = 0, resto = 0;
        void Anade(double v) {
            const double t = suma + v;
            resto += std::fabs(suma) >= std::fabs(v) ? (suma - t) + v : (v - t) + suma;
            suma = t;
        }
        double Valor() const { return suma + resto; }
    } navegadorCobros, navegadorPagos;
    auto entre = [&](const QDate& f) { return f >= desde && f <= hasta; };

    for (const FacturaDeclarada& f : facturas) {
        const bool listada = entre(f.fecha);  // by the browser
        if (listada)
            (f.cobro ? navegadorCobros : navegadorPagos).Anade(f.cuotaLeida);
        if (!entre(f.FechaDeclaracion())) {
            if (listada)
                l.salen.push_back(f);
            continue;
        }
        if (!listada)
            l.entran.push_back(f);
        if (f.Incompleta())
            l.incompletas.push_back(f);
        else if (CuotaDescuadra(f.base, *f.tipo, f.cuota))
            l.descuadres.push_back({f, CuotaDeTipo(f.base, *f.tipo)});
        const bool vigente = f.tipo && EsTipoVigente(d.impuesto, *f.tipo, f.FechaDevengo());
        if (!f.cobro) {
            // Nothing to deduct: no box, as the agency's reading of the books does.
            if (f.cuota == 0) {
                if (!f.Incompleta()) {
                    l.baseSinCuota += f.base;
                    ++l.pagosSinCuota;
                }
            } else if (f.Negativa()) {
                rectificacion.Anade(f);  // whatever its rate
            } else if (vigente) {
                interiores.Anade(f);
                Liquidacion::BaseCuota& t = l.interioresPorTipo[*f.tipo];
                t.base += f.base;
                t.cuota += f.cuota;
            } else {
                aparte[{false, f.tipo, TipoSinCasilla::Motivo::NoVigente}].Anade(f);
            }
            continue;
        }
        // A negative sale modifies bases and cuotas, whatever its rate.
        if (f.Negativa()) {
            modificacion.Anade(f);
            continue;
        }
        if (!vigente) {
            aparte[{true, f.tipo, TipoSinCasilla::Motivo::NoVigente}].Anade(f);
            continue;
        }
        if (!d.filasGenericas &&
            std::find(tipoFila.begin(), tipoFila.end(), std::optional<qint64>(*f.tipo)) == tipoFila.end()) {
            aparte[{true, f.tipo, TipoSinCasilla::Motivo::FilaOcupada}].Anade(f);
            continue;
        }
        porTipo[*f.tipo].Anade(f);
    }

    // 420: one row per rate present, ascending; a seventh has none.
    if (d.filasGenericas) {
        size_t i = 0;
        for (auto it = porTipo.begin(); it != porTipo.end();) {
            if (i < d.filas.size()) {
                tipoFila[i++] = it->first;
                ++it;
            } else {
                aparte[{true, it->first, TipoSinCasilla::Motivo::FilaOcupada}] = it->second;
                it = porTipo.erase(it);
            }
        }
    }
    for (const auto& [clave, s] : aparte) {
        TipoSinCasilla t;
        std::tie(t.cobro, t.tipo, t.motivo) = clave;
        t.base = s.base;
        t.cuota = s.cuota;
        t.facturas = s.facturas;
        l.sinCasilla.push_back(t);
    }
    // Collected ones first.
    std::stable_sort(l.sinCasilla.begin(), l.sinCasilla.end(),
                     [](const TipoSinCasilla& a, const TipoSinCasilla& b) { return a.cobro > b.cobro; });
    OrdenaListas(l);
    // A sum on half a cent rounds one way or the other with the last bit of
    // the engine's summing: both are the browser's.
    for (double cobros : {navegadorCobros.Valor() - 1e-6, navegadorCobros.Valor() + 1e-6})
        for (double pagos : {navegadorPagos.Valor() - 1e-6, navegadorPagos.Valor() + 1e-6}) {
            const QString d = CalculaDiferencias({FormatoImporte(pagos), QString(), FormatoImporte(cobros)}).value(0);
            if (!l.diferenciasLeidas.contains(d))
                l.diferenciasLeidas << d;
        }

    auto anade = [&](const char* numero, const QString& concepto, Apartado apartado, qint64 valor, bool total = false,
                     bool vacia = false) {
        l.casillas.push_back({QLatin1String(numero), concepto, apartado, valor, total, vacia});
    };
    qint64 devengado = 0;
    for (size_t i = 0; i < d.filas.size(); ++i) {
        const FilaTipo& fila = d.filas[i];
        const std::optional<qint64> tipo = tipoFila[i];
        const Suma s = tipo ? porTipo[*tipo] : Suma{};
        QString regimen;
        if (tipo) {
            regimen = QStringLiteral("Régimen general al ") + Porcentaje(*tipo);
        } else if (d.filasGenericas) {
            regimen = QStringLiteral("Régimen general, fila sin tipo");
        } else {
            QStringList tipos;
            for (auto t = fila.candidatos.rbegin(); t != fila.candidatos.rend(); ++t)
                tipos << Porcentaje(*t);
            regimen = QStringLiteral("Régimen general al %1, sin tipo vigente").arg(tipos.join(QStringLiteral(" o ")));
        }
        const bool vacia = d.filasGenericas && !tipo;
        anade(fila.base, regimen + QStringLiteral(": base imponible"), Apartado::Devengado, s.base, false, vacia);
        anade(fila.porcentaje, regimen + QStringLiteral(": tipo"), Apartado::Devengado, tipo.value_or(0), false, vacia);
        anade(fila.cuota, regimen + QStringLiteral(": cuota"), Apartado::Devengado, s.cuota, false, vacia);
        devengado += s.cuota;
    }
    anade(d.modificacionBase, QStringLiteral("Modificación de bases y cuotas: base imponible"), Apartado::Devengado,
          modificacion.base);
    anade(d.modificacionCuota, QStringLiteral("Modificación de bases y cuotas: cuota"), Apartado::Devengado,
          modificacion.cuota);
    devengado += modificacion.cuota;
    anade(d.totalDevengado, QStringLiteral("Total cuota devengada"), Apartado::Devengado, devengado, true);

    anade(d.interioresBase, QStringLiteral("Operaciones interiores corrientes: base imponible"), Apartado::Deducible,
          interiores.base);
    anade(d.interioresCuota, QStringLiteral("Operaciones interiores corrientes: cuota deducible"), Apartado::Deducible,
          interiores.cuota);
    anade(d.rectificacionBase, QStringLiteral("Rectificación de deducciones: base imponible"), Apartado::Deducible,
          rectificacion.base);
    anade(d.rectificacionCuota, QStringLiteral("Rectificación de deducciones: cuota"), Apartado::Deducible,
          rectificacion.cuota);
    const qint64 deducir = interiores.cuota + rectificacion.cuota;
    anade(d.totalDeducir, QStringLiteral("Total a deducir"), Apartado::Deducible, deducir, true);

    const qint64 resultado = devengado - deducir;
    anade(d.resultado, QStringLiteral("Resultado régimen general"), Apartado::Resultado, resultado, true);
    // The boxes typed on the form by hand count as zero here.
    auto aMano = [](const char*) -> qint64 { return 0; };
    if (modelo == ModeloDeclaracion::M303) {
        const qint64 c64 = resultado;
        const qint64 c65 = 10000;  // 100 %: all of it to the State
        const qint64 c66 = CuotaDeTipo(c64, c65);
        const qint64 c69 = c66 + aMano("77") - aMano("78") + aMano("68") + aMano("108");
        const qint64 c71 = c69 - aMano("70") + aMano("109") - aMano("112");
        anade("64", QStringLiteral("Suma de resultados"), Apartado::Resultado, c64);
        anade("65", QStringLiteral("Porcentaje atribuible a la Administración del Estado"), Apartado::Resultado, c65);
        anade("66", QStringLiteral("Atribuible a la Administración del Estado"), Apartado::Resultado, c66);
        anade("69", QStringLiteral("Resultado"), Apartado::Resultado, c69);
        anade("71", QStringLiteral("Resultado de la liquidación"), Apartado::Resultado, c71, true);
    } else {
        const qint64 c45 = resultado + aMano("42") - aMano("43") - aMano("44");
        anade("45", QStringLiteral("Resultado de la autoliquidación"), Apartado::Resultado, c45, true);
    }
    return l;
}

std::vector<FacturaDeclarada> LeeFacturasDeclaradas(ConexionBD& con, const QDate& desde, const QDate& hasta) {
    const QString entre = QStringLiteral(" Between DateValue('%1') and DateValue('%2')").arg(EscribeFecha(desde), EscribeFecha(hasta));
    // A database of an earlier layout, opened only to read, has no operation dates.
    const bool conOperacion =
        con.AbrirRegistros(QStringLiteral("select * from FACTURAS where 1 = 0"))->IndiceColumna(QStringLiteral("FECHA_OPERACION")) >= 0;
    // No condition on the type, which would lead the engine away from the
    // date indexes: 1 collected, 0 paid, Null any other.
    const QString columnas =
        QStringLiteral("select ID, FECHA_FACTURA, %1 As FECHA_OPERACION, case TIPO when 'C' then 1 when 'P' "
                       "then 0 end As COBRO, IMPORTE_NETO, IVA, IMPORTE_IVA, IMPORTE_TOTAL from FACTURAS where ")
            .arg(conOperacion ? QStringLiteral("FECHA_OPERACION") : QStringLiteral("Null"));
    // Those issued between the dates, then those operated between them and
    // issued before or after: two index ranges.
    std::vector<std::unique_ptr<Registros>> partes;
    partes.push_back(con.AbrirRegistros(columnas + QStringLiteral("DateValue(FECHA_FACTURA)") + entre));
    if (conOperacion)
        partes.push_back(con.AbrirRegistros(columnas + QStringLiteral("DateValue(FECHA_OPERACION)") + entre +
                                            QStringLiteral(" and not (DateValue(FECHA_FACTURA)") + entre + ')'));
    std::vector<FacturaDeclarada> r;
    r.reserve(static_cast<size_t>(partes[0]->NumFilas()) + static_cast<size_t>(partes.back()->NumFilas()));
    auto importe = [](const ::Valor& v, bool& nulo) {
        nulo = v.EsNulo();
        return nulo ? 0 : Centimos(v.Numero());
    };
    for (const auto& rs : partes) {
        for (int i = 0; i < rs->NumFilas(); ++i) {
            const ::Valor tipo = rs->Celda(i, 3);
            if (tipo.EsNulo())
                continue;  // neither collected nor paid: the browser does not list it either
            FacturaDeclarada f;
            f.cobro = tipo.Numero() != 0;
            f.id = rs->Celda(i, 0).entero();
            f.fecha = rs->Celda(i, 1).Fecha();
            const ::Valor operacion = rs->Celda(i, 2);
            if (operacion.tipo() == ::Valor::Tipo::Fecha)
                f.fechaOperacion = operacion.fecha();
            f.base = importe(rs->Celda(i, 4), f.sinBase);
            bool sinTipo = false;
            const qint64 porcentaje = importe(rs->Celda(i, 5), sinTipo);
            if (!sinTipo)
                f.tipo = porcentaje;
            const ::Valor cuota = rs->Celda(i, 6);
            f.cuota = importe(cuota, f.sinCuota);
            f.cuotaLeida = f.sinCuota ? 0 : cuota.Numero();
            f.total = importe(rs->Celda(i, 7), f.sinTotal);
            r.push_back(std::move(f));
        }
    }
    return r;
}

void CompletaCodigos(ConexionBD& con, Liquidacion& l) {
    std::vector<FacturaDeclarada*> nombradas;
    for (auto* lista : {&l.incompletas, &l.entran, &l.salen})
        for (FacturaDeclarada& f : *lista)
            nombradas.push_back(&f);
    for (CuotaDescuadrada& c : l.descuadres)
        nombradas.push_back(&c.factura);
    std::map<qint64, QString> codigos;
    for (const FacturaDeclarada* f : nombradas)
        codigos[f->id];
    // A few hundred at a time: a statement of any engine takes that many.
    for (auto it = codigos.begin(); it != codigos.end();) {
        QStringList ids;
        for (; it != codigos.end() && ids.size() < 500; ++it)
            ids << QString::number(it->first);
        const auto rs = con.AbrirRegistros(QStringLiteral("select ID, COD_FACTURA from FACTURAS where ID in (") +
                                           ids.join(QLatin1Char(',')) + QLatin1Char(')'));
        for (int i = 0; i < rs->NumFilas(); ++i)
            codigos[rs->Celda(i, 0).entero()] = rs->Celda(i, 1).Texto();
    }
    for (FacturaDeclarada* f : nombradas)
        f->codigo = codigos[f->id];
    OrdenaListas(l);
}

Liquidacion LeeLiquidacion(ConexionBD& con, const QString& desde, const QString& hasta, const QString& impuesto) {
    const std::optional<QDate> d = LeeFecha(desde), h = LeeFecha(hasta);
    if (!d || !h)
        throw ErrorBD(CodigoError::TipoIncorrecto, QStringLiteral("Esa fecha no es válida."));
    Liquidacion l = CalculaLiquidacion(ModeloDeImpuesto(impuesto), impuesto, *d, *h, LeeFacturasDeclaradas(con, *d, *h));
    CompletaCodigos(con, l);
    l.desde = desde;
    l.hasta = hasta;
    // The browser's own sums, to compare with.
    QStringList sumas;
    for (const char* tipo : {"C", "P"})
        CalculaTotales(con, QLatin1String(tipo), desde, hasta, sumas);
    l.diferenciaNavegador = CalculaDiferencias(sumas).value(0);
    return l;
}

PeriodoOrden LeePeriodoOrden(const QString& anio, const QString& trimestre) {
    PeriodoOrden p;
    static const QRegularExpression reAnio(QStringLiteral("^[0-9]{1,4}$"));
    static const QRegularExpression reTrimestre(QStringLiteral("^([1-4])[tT]?$"));
    const QString completo = reAnio.match(anio).hasMatch() ? CompletaAnio(anio) : QString();
    if (completo.isEmpty() || !LeeFecha(QStringLiteral("01/01/") + completo)) {
        p.error = QStringLiteral("El año no es válido: ") + anio;
        return p;
    }
    const auto m = reTrimestre.match(trimestre);
    if (!m.hasMatch()) {
        p.error = QStringLiteral("El trimestre debe ser 1, 2, 3 o 4: ") + trimestre;
        return p;
    }
    const auto r = FechasTrimestre(m.captured(1).toInt() - 1, completo);
    p.desde = r->desde;
    p.hasta = r->hasta;
    return p;
}
