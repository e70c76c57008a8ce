#include "liquidacion/Liquidacion.h"

#include "data/ConexionBD.h"
#include "data/comun/Formatos.h"
#include "invoices/Trimestres.h"
#include "reports/Listado.h"

#include <QRegularExpression>
#include <map>

namespace {

// A rate with its three boxes: base, rate and cuota.
struct TipoDelModelo {
    qint64 tipo;
    const char* base;
    const char* porcentaje;
    const char* cuota;
};

// The boxes of a model that the invoices fill, in the form's order.
struct DefinicionModelo {
    std::vector<TipoDelModelo> tipos;
    const char* modificacionBase;
    const char* modificacionCuota;
    const char* totalDevengado;
    const char* interioresBase;
    const char* interioresCuota;
    const char* rectificacionBase;
    const char* rectificacionCuota;
    const char* totalDeducir;
    const char* resultado;
    // What the result section adds, each equal to the result while the boxes
    // typed on the form are zero, but for 303's 65: the State's 100 %.
    struct Final {
        const char* numero;
        const char* concepto;
        bool cien;
    };
    std::vector<Final> resultados;
    const char* manuales;  // the boxes typed on the form, taken as zero
};

const DefinicionModelo& Definicion(ModeloDeclaracion m) {
    static const DefinicionModelo k303{
        {{0, "150", "151", "152"},
         {200, "165", "166", "167"},
         {400, "01", "02", "03"},
         {500, "153", "154", "155"},
         {1000, "04", "05", "06"},
         {2100, "07", "08", "09"}},
        "14", "15", "27", "28", "29", "40", "41", "45", "46",
        {{"64", "Suma de resultados", false},
         {"65", "Porcentaje atribuible a la Administración del Estado", true},
         {"66", "Atribuible a la Administración del Estado", false},
         {"69", "Resultado", false},
         {"71", "Resultado de la liquidación", false}},
        "La casilla 65 se toma como 100 % y las que se rellenan a mano en el formulario (68, 70, 77, 78, 108, "
        "109 y 112) como cero: revíselas antes de presentar la declaración."};
    static const DefinicionModelo k420{
        {{0, "01", "02", "03"},
         {300, "04", "05", "06"},
         {700, "07", "08", "09"},
         {950, "10", "11", "12"},
         {1500, "13", "14", "15"},
         {2000, "16", "17", "18"}},
        "21", "22", "25", "26", "27", "34", "35", "40", "41",
        {{"45", "Resultado de la autoliquidación", false}},
        "Las casillas que se rellenan a mano en el formulario (42, 43 y 44) se toman como cero: revíselas antes "
        "de presentar la declaración."};
    return m == ModeloDeclaracion::M420 ? k420 : k303;
}

// "21", "9,5": a rate as the form's captions write it.
QString Porcentaje(qint64 tipo) { return TextoNumero(static_cast<double>(tipo) / 100) + QStringLiteral(" %"); }

// Base by rate in cents, halves away from zero, exactly.
qint64 CuotaCalculada(qint64 base, qint64 tipo) {
    const __int128 producto = static_cast<__int128>(base) * tipo;
    const __int128 mitad = producto >= 0 ? 5000 : -5000;
    return static_cast<qint64>((producto + mitad) / 10000);
}

bool CuotaDescuadra(const FacturaDeclarada& f) {
    // More than a cent between the cuota and base by rate: |cuota·10000 - base·tipo| > 10000.
    const __int128 d = static_cast<__int128>(f.cuota) * 10000 - static_cast<__int128>(f.base) * *f.tipo;
    return d > 10000 || d < -10000;
}

QString Facturas(int n) { return n == 1 ? QStringLiteral("1 factura") : QStringLiteral("%1 facturas").arg(n); }

qint64 CentimosDe(const Valor& v) { return v.EsNulo() ? 0 : Centimos(v.Numero()); }

}  // namespace

ModeloDeclaracion ModeloDeImpuesto(const QString& palabra) {
    return palabra.trimmed().compare(QLatin1String("IGIC"), Qt::CaseInsensitive) == 0 ? ModeloDeclaracion::M420
                                                                                     : ModeloDeclaracion::M303;
}

QString ImpuestoDelModelo(ModeloDeclaracion modelo) {
    return modelo == ModeloDeclaracion::M420 ? QStringLiteral("IGIC") : QStringLiteral("IVA");
}

QString NombreModelo(ModeloDeclaracion modelo) {
    return (modelo == ModeloDeclaracion::M420 ? QStringLiteral("Modelo 420 (") : QStringLiteral("Modelo 303 (")) +
           ImpuestoDelModelo(modelo) + QLatin1Char(')');
}

QString Casilla::Texto() const { return FormatoCentimos(valor); }

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
        s += t.cuota;
    return s;
}

qint64 Liquidacion::Resultado() const { return Valor(QLatin1String(Definicion(modelo).resultado)); }

bool Liquidacion::Cuadra() const { return FormatoCentimos(Resultado() + CuotasSinCasilla()) == diferenciaNavegador; }

QString Liquidacion::Titulo() const { return NombreModelo(modelo) + QLatin1Char(' ') + LineaTitulo(desde, hasta); }

std::vector<Liquidacion::Aviso> Liquidacion::Avisos() const {
    const DefinicionModelo& d = Definicion(modelo);
    const QString palabra = impuesto.trimmed().isEmpty() ? ImpuestoDelModelo(modelo) : impuesto.trimmed();
    std::vector<Aviso> a;
    auto anade = [&a](const QString& texto, bool advertencia = true) { a.push_back({texto, advertencia}); };
    if (ModeloDeImpuesto(palabra) == ModeloDeclaracion::M303 && palabra.compare(QLatin1String("IVA"), Qt::CaseInsensitive) != 0)
        anade(QStringLiteral("El impuesto configurado es «%1», que no es IVA ni IGIC: se muestran las casillas del %2.")
                 .arg(palabra, NombreModelo(modelo)));
    for (const TipoSinCasilla& t : sinCasilla) {
        const QString cifras = QStringLiteral("base %1, cuota %2 (%3 de Cobros)")
                                   .arg(FormatoCentimos(t.base), FormatoCentimos(t.cuota), Facturas(t.facturas));
        if (t.tipo)
            anade(QStringLiteral("Tipo del %1 sin casilla en el %2: %3. No se suma a ninguna casilla.")
                     .arg(Porcentaje(*t.tipo), NombreModelo(modelo), cifras));
        else
            anade(QStringLiteral("Facturas sin tipo, sin casilla en el %1: %2. No se suman a ninguna casilla.")
                     .arg(NombreModelo(modelo), cifras));
    }
    for (const CuotaDescuadrada& c : descuadres) {
        const FacturaDeclarada& f = c.factura;
        anade(QStringLiteral("La cuota no es la base por el tipo en la factura de %1 %2 del %3: base %4, tipo %5, "
                            "cuota %6 (la base por el tipo da %7), total %8.")
                 .arg(f.cobro ? QStringLiteral("Cobros") : QStringLiteral("Pagos"), f.codigo, EscribeFecha(f.fecha),
                      FormatoCentimos(f.base), Porcentaje(*f.tipo), FormatoCentimos(f.cuota),
                      FormatoCentimos(c.calculada), FormatoCentimos(f.total)));
    }
    if (!diferenciaNavegador.isEmpty()) {
        const QString cuenta = QStringLiteral("%1 - %2 más las cuotas sin casilla da %3")
                                   .arg(QLatin1String(d.totalDevengado), QLatin1String(d.totalDeducir),
                                        FormatoCentimos(Resultado() + CuotasSinCasilla()));
        const QString navegador = QStringLiteral("la diferencia de %1 Cobrado - Pagado entre las mismas fechas").arg(palabra);
        if (Cuadra())
            anade(QStringLiteral("Comprobación: %1, igual que %2.").arg(cuenta, navegador), false);
        else
            anade(QStringLiteral("Atención: %1, pero %2 es %3. Revise los importes de las facturas.")
                      .arg(cuenta, navegador, diferenciaNavegador));
    }
    anade(QString::fromUtf8(d.manuales), false);
    return a;
}

QStringList Liquidacion::LineasOrden() const {
    QStringList l{QStringLiteral("# ") + Titulo()};
    for (const Casilla& c : casillas)
        l << c.numero + QLatin1Char('\t') + c.Texto();
    for (const Aviso& a : Avisos())
        l << QStringLiteral("# ") + a.texto;
    return l;
}

Liquidacion CalculaLiquidacion(ModeloDeclaracion modelo, const QString& impuesto,
                               const std::vector<FacturaDeclarada>& facturas) {
    const DefinicionModelo& d = Definicion(modelo);
    Liquidacion l;
    l.modelo = modelo;
    l.impuesto = impuesto;

    struct Suma {
        qint64 base = 0, cuota = 0;
        void Anade(const FacturaDeclarada& f) {
            base += f.base;
            cuota += f.cuota;
        }
    };
    std::vector<Suma> porTipo(d.tipos.size());
    Suma modificacion, interiores, rectificacion;
    std::map<std::optional<qint64>, TipoSinCasilla> aparte;
    for (const FacturaDeclarada& f : facturas) {
        if (f.tipo && CuotaDescuadra(f))
            l.descuadres.push_back({f, CuotaCalculada(f.base, *f.tipo)});
        if (!f.cobro) {
            // A paid invoice with a negative total rectifies deductions.
            (f.total < 0 ? rectificacion : interiores).Anade(f);
            continue;
        }
        // A collected one with a negative total modifies bases and cuotas, whatever its rate.
        if (f.total < 0) {
            modificacion.Anade(f);
            continue;
        }
        size_t i = 0;
        while (i < d.tipos.size() && !(f.tipo && d.tipos[i].tipo == *f.tipo))
            ++i;
        if (i < d.tipos.size()) {
            porTipo[i].Anade(f);
        } else {
            TipoSinCasilla& t = aparte[f.tipo];
            t.tipo = f.tipo;
            t.base += f.base;
            t.cuota += f.cuota;
            ++t.facturas;
        }
    }
    for (auto& [tipo, t] : aparte)
        l.sinCasilla.push_back(t);

    auto anade = [&](const char* numero, const QString& concepto, Apartado apartado, qint64 valor, bool total = false) {
        l.casillas.push_back({QLatin1String(numero), concepto, apartado, valor, total});
    };
    qint64 devengado = 0;
    for (size_t i = 0; i < d.tipos.size(); ++i) {
        const TipoDelModelo& t = d.tipos[i];
        const QString regimen = QStringLiteral("Régimen general al ") + Porcentaje(t.tipo);
        anade(t.base, regimen + QStringLiteral(": base imponible"), Apartado::Devengado, porTipo[i].base);
        anade(t.porcentaje, regimen + QStringLiteral(": tipo"), Apartado::Devengado, t.tipo);
        anade(t.cuota, regimen + QStringLiteral(": cuota"), Apartado::Devengado, porTipo[i].cuota);
        devengado += porTipo[i].cuota;
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
    for (const DefinicionModelo::Final& f : d.resultados)
        anade(f.numero, QString::fromUtf8(f.concepto), Apartado::Resultado, f.cien ? 10000 : resultado,
              &f == &d.resultados.back());
    return l;
}

std::vector<FacturaDeclarada> FacturasDeclaradas(const Registros& rs, bool cobros) {
    const char* nombres[] = {"COD_FACTURA", "FECHA_FACTURA", "IMPORTE_NETO", "IVA", "IMPORTE_IVA", "IMPORTE_TOTAL"};
    int c[6];
    for (int k = 0; k < 6; ++k)
        if ((c[k] = rs.IndiceColumna(QLatin1String(nombres[k]))) < 0)
            throw ErrorBD(CodigoError::BaseDatos, QStringLiteral("La lista de facturas no tiene las columnas esperadas."));
    std::vector<FacturaDeclarada> r;
    r.reserve(rs.NumFilas());
    for (int i = 0; i < rs.NumFilas(); ++i) {
        FacturaDeclarada f;
        f.codigo = rs.Celda(i, c[0]).Texto();
        f.fecha = rs.Celda(i, c[1]).Fecha();
        f.cobro = cobros;
        f.base = CentimosDe(rs.Celda(i, c[2]));
        const ::Valor tipo = rs.Celda(i, c[3]);
        if (!tipo.EsNulo())
            f.tipo = Centimos(tipo.Numero());
        f.cuota = CentimosDe(rs.Celda(i, c[4]));
        f.total = CentimosDe(rs.Celda(i, c[5]));
        r.push_back(f);
    }
    return r;
}

Liquidacion LeeLiquidacion(ConexionBD& con, const QString& desde, const QString& hasta, const QString& impuesto) {
    // The browser's own lists and sums: the same invoices, compared the same way.
    std::vector<FacturaDeclarada> facturas;
    QStringList sumas;
    for (const char* tipo : {"C", "P"}) {
        const std::vector<FacturaDeclarada> f =
            FacturasDeclaradas(*CargaLista(con, QLatin1String(tipo), desde, hasta), *tipo == 'C');
        facturas.insert(facturas.end(), f.begin(), f.end());
        CalculaTotales(con, QLatin1String(tipo), desde, hasta, sumas);
    }
    Liquidacion l = CalculaLiquidacion(ModeloDeImpuesto(impuesto), impuesto, facturas);
    l.desde = desde;
    l.hasta = hasta;
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
