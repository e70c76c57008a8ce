#pragma once
// How a row of the books is laid out: the agency's columns, and the cells of
// an invoice's row written column after column into a destination. The
// columns are known when the program is compiled, so each sheet's row is
// straight code, with no look-up per cell.
#include "dominio/libros/Libros.h"

#include <utility>

// The agency's template, column by column (sheet EXPEDIDAS_INGRESOS; the
// VAT-only file names it EXPEDIDAS). "Refrencia" is the template's spelling.
inline constexpr ColumnaLibro kColumnasExpedidas[] = {
    {"Autoliquidación", "Ejercicio", "Decimal (4,0)", 0, CampoLibro::Ejercicio},
    {"Autoliquidación", "Periodo", "Alfanumérico (2)", 2, CampoLibro::Periodo},
    {"Actividad", "Código", "Alfanumérico (1)", 1, CampoLibro::CodigoActividad},
    {"Actividad", "Tipo", "Alfanumérico (2)", 2, CampoLibro::TipoActividad},
    {"Actividad", "Grupo o Epígrafe del IAE", "Alfanumérico (4)", 4, CampoLibro::Epigrafe},
    {"Tipo de Factura", "", "Alfanumérico (2)", 2, CampoLibro::TipoFactura},
    {"Concepto de\nIngreso", "", "Alfanumérico (3)", 3, CampoLibro::Nada},
    {"Ingreso Computable", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Fecha\nExpedición", "", "Fecha(dd/mm/yyyy)", 0, CampoLibro::FechaExpedicion},
    {"Fecha\nOperación", "", "Fecha(dd/mm/yyyy)", 0, CampoLibro::FechaOperacion},
    {"Identificación de la Factura", "Serie", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"Identificación de la Factura", "Número", "Alfanumérico (20)", 20, CampoLibro::Numero},
    {"Identificación de la Factura", "Número-Final", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"NIF Destinatario", "Tipo", "Alfanumérico (2)", 2, CampoLibro::TipoId},
    {"NIF Destinatario", "Código País", "Alfanumérico (2)", 2, CampoLibro::Pais},
    {"NIF Destinatario", "Identificación", "Alfanumérico (20)", 20, CampoLibro::Nif},
    {"Nombre\nDestinatario", "", "Alfanumérico (40)", 40, CampoLibro::Nombre},
    {"Clave de Operación", "", "Alfanumérico (2)", 2, CampoLibro::Clave},
    {"Calificación de la Operación", "", "Alfanumérico (2)", 2, CampoLibro::Calificacion},
    {"Operación\nExenta", "", "Alfanumérico (2)", 2, CampoLibro::Nada},
    {"Total\nFactura", "", "Decimal(12,2)", 0, CampoLibro::Total},
    {"Base\nImponible", "", "Decimal(12,2)", 0, CampoLibro::Base},
    {"Tipo\nde IVA", "", "Decimal(4,2)", 0, CampoLibro::TipoIva},
    {"Cuota IVA\nRepercutida", "", "Decimal(12,2)", 0, CampoLibro::Cuota},
    {"Tipo de\nRecargo Eq.", "", "Decimal(4,2)", 0, CampoLibro::Nada},
    {"Cuota Recargo Eq.", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Cobro (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Fecha",
     "Fecha(dd/mm/yyyy)", 0, CampoLibro::Nada},
    {"Cobro (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Importe",
     "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Cobro (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Medio Utilizado",
     "Alfanumérico (2)", 2, CampoLibro::Nada},
    {"Cobro (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)",
     "Identificación Medio Utilizado", "Alfanumérico (34)", 34, CampoLibro::Nada},
    {"Tipo Retención\ndel IRPF", "", "Decimal(4,2)", 0, CampoLibro::Nada},
    {"Importe Retenido\ndel IRPF", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Registro Acuerdo Facturación", "", "Alfanumérico (15)", 15, CampoLibro::Nada},
    {"Inmueble", "Situación", "Alfanumérico (1)", 1, CampoLibro::Nada},
    {"Inmueble", "Referencia Catastral", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"Refrencia Externa", "", "Alfanumérico (40)", 40, CampoLibro::Nada},
};

// Sheet RECIBIDAS_GASTOS of the template; RECIBIDAS in the VAT-only file.
inline constexpr ColumnaLibro kColumnasRecibidas[] = {
    {"Autoliquidación", "Ejercicio", "Decimal (4,0)", 0, CampoLibro::Ejercicio},
    {"Autoliquidación", "Periodo", "Alfanumérico (2)", 2, CampoLibro::Periodo},
    {"Actividad", "Código", "Alfanumérico (1)", 1, CampoLibro::CodigoActividad},
    {"Actividad", "Tipo", "Alfanumérico (2)", 2, CampoLibro::TipoActividad},
    {"Actividad", "Grupo o Epígrafe del IAE", "Alfanumérico (4)", 4, CampoLibro::Epigrafe},
    {"Tipo de Factura", "", "Alfanumérico (2)", 2, CampoLibro::TipoFactura},
    {"Concepto de\nGasto", "", "Alfanumérico (3)", 3, CampoLibro::Nada},
    {"Gasto Deducible", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Fecha\nExpedición", "", "Fecha(dd/mm/yyyy)", 0, CampoLibro::FechaExpedicion},
    {"Fecha\nOperación", "", "Fecha(dd/mm/yyyy)", 0, CampoLibro::FechaOperacion},
    {"Identificación Factura del Expedidor", "(Serie-Número)", "Alfanumérico (40)", 40, CampoLibro::Numero},
    {"Identificación Factura del Expedidor", "Número-Final", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"Fecha\nRecepción", "", "Fecha(dd/mm/yyyy)", 0, CampoLibro::FechaRecepcion},
    {"Número\nRecepción", "", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"Número\nRecepción Final", "", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"NIF Expedidor", "Tipo", "Alfanumérico (2)", 2, CampoLibro::TipoId},
    {"NIF Expedidor", "Código País", "Alfanumérico (2)", 2, CampoLibro::Pais},
    {"NIF Expedidor", "Identificación", "Alfanumérico (20)", 20, CampoLibro::Nif},
    {"Nombre\nExpedidor", "", "Alfanumérico (40)", 40, CampoLibro::Nombre},
    {"Clave de\nOperación", "", "Alfanumérico (2)", 2, CampoLibro::Clave},
    {"Bien de Inversión", "", "Alfanumérico (1)", 1, CampoLibro::No},
    {"Inversión del Sujeto Pasivo", "", "Alfanumérico (1)", 1, CampoLibro::No},
    {"Deducible en Periodo Posterior", "", "Alfanumérico (1)", 1, CampoLibro::No},
    {"Periodo Deducción", "Ejercicio", "Decimal (4,0)", 0, CampoLibro::Nada},
    {"Periodo Deducción", "Periodo", "Alfanumérico (2)", 2, CampoLibro::Nada},
    {"Total\nFactura", "", "Decimal(12,2)", 0, CampoLibro::Total},
    {"Base\nImponible", "", "Decimal(12,2)", 0, CampoLibro::Base},
    {"Tipo\nde IVA", "", "Decimal(4,2)", 0, CampoLibro::TipoIva},
    {"Cuota IVA\nSoportado", "", "Decimal(12,2)", 0, CampoLibro::Cuota},
    // The whole cuota is deducted: the program records no partial deduction.
    {"Cuota Deducible", "", "Decimal(12,2)", 0, CampoLibro::Cuota},
    {"Tipo de\nRecargo Eq.", "", "Decimal(4,2)", 0, CampoLibro::Nada},
    {"Cuota\nRecargo Eq.", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Pago (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Fecha",
     "Fecha(dd/mm/yyyy)", 0, CampoLibro::Nada},
    {"Pago (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Importe",
     "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Pago (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)", "Medio Utilizado",
     "Alfanumérico (2)", 2, CampoLibro::Nada},
    {"Pago (Operación Criterio de Caja de IVA y/o artículo 7.2.1º de Reglamento del IRPF)",
     "Identificación Medio Utilizado", "Alfanumérico (34)", 34, CampoLibro::Nada},
    {"Tipo Retención\ndel IRPF", "", "Decimal(4,2)", 0, CampoLibro::Nada},
    {"Importe Retenido\ndel IRPF", "", "Decimal(12,2)", 0, CampoLibro::Nada},
    {"Registro Acuerdo Facturación", "", "Alfanumérico (15)", 15, CampoLibro::Nada},
    {"Inmueble", "Situación", "Alfanumérico (1)", 1, CampoLibro::Nada},
    {"Inmueble", "Referencia Catastral", "Alfanumérico (20)", 20, CampoLibro::Nada},
    {"Refrencia Externa", "", "Alfanumérico (40)", 40, CampoLibro::Nada},
};

namespace libros_detalle {
bool Vacio(const QString& t);
extern const QString ConsumidorFinal;  // "VENTAS A CONSUMIDOR FINAL"

// What a row works out once for all its cells.
struct Fila {
    const FacturaLibro& f;
    const EmpresaLibros& empresa;
    bool igic;
    QDate declaracion;
    int anio, mes;
    bool extranjera;  // with an identifier of another country
    bool sinIdentificacion;
};

// The cell of column `i`, which takes `campo`.
template <CampoLibro campo, class Destino>
inline void Celda(const Fila& x, int i, int longitud, Destino& d) {
    using K = CampoLibro;
    const FacturaLibro& f = x.f;
    auto texto = [&](QStringView t) {
        if (t.isEmpty())
            d.Vacia(i);
        else
            d.Texto(i, t, longitud);
    };
    auto fijo = [&](QStringView t) {
        if (t.isEmpty())
            d.Vacia(i);
        else
            d.TextoFijo(i, t, longitud);
    };
    auto importe = [&](const std::optional<qint64>& v) {
        if (v)
            d.Centesimas(i, *v);
        else
            d.Vacia(i);
    };
    auto fecha = [&](const QDate& v) {
        if (v.isValid())
            d.Fecha(i, v);
        else
            d.Vacia(i);
    };
    if constexpr (campo == K::Nada) {
        d.Vacia(i);
    } else if constexpr (campo == K::Ejercicio) {
        if (x.anio)
            d.Entero(i, x.anio);
        else
            d.Vacia(i);
    } else if constexpr (campo == K::Periodo) {
        static const char* const kPeriodos[4] = {"1T", "2T", "3T", "4T"};
        if (x.mes)
            d.Codigo(i, kPeriodos[(x.mes - 1) / 3], 2);
        else
            d.Vacia(i);
    } else if constexpr (campo == K::CodigoActividad) {
        fijo(x.empresa.codigoActividad);
    } else if constexpr (campo == K::TipoActividad) {
        fijo(x.empresa.tipoActividad);
    } else if constexpr (campo == K::Epigrafe) {
        fijo(x.empresa.epigrafe);
    } else if constexpr (campo == K::TipoFactura) {
        static const char* const kTipos[4] = {"F1", "F2", "R4", "R5"};
        d.Codigo(i, kTipos[(f.Negativa() ? 2 : 0) + (x.sinIdentificacion ? 1 : 0)], 2);
    } else if constexpr (campo == K::FechaExpedicion) {
        fecha(f.fecha);
    } else if constexpr (campo == K::FechaOperacion) {
        fecha(f.fechaOperacion != f.fecha ? f.fechaOperacion : QDate());
    } else if constexpr (campo == K::FechaRecepcion) {
        fecha(x.declaracion);
    } else if constexpr (campo == K::Numero) {
        texto(f.codigo);
    } else if constexpr (campo == K::TipoId) {
        texto(x.extranjera ? QStringView(f.tipoId) : QStringView());
    } else if constexpr (campo == K::Pais) {
        texto(x.extranjera ? QStringView(f.pais) : QStringView());
    } else if constexpr (campo == K::Nif) {
        texto(QStringView(f.nif).trimmed());
    } else if constexpr (campo == K::Nombre) {
        texto(f.expedida && x.sinIdentificacion && Vacio(f.nombre) ? QStringView(ConsumidorFinal)
                                                                   : QStringView(f.nombre));
    } else if constexpr (campo == K::Clave) {
        // IGIC operations are outside VAT: the record design's key 08, "not
        // subject by place of supply", the net alone and no VAT rate or cuota.
        d.Codigo(i, x.igic ? "08" : "01", 2);
    } else if constexpr (campo == K::Calificacion) {
        d.Codigo(i, x.igic ? "N2" : "S1", 2);
    } else if constexpr (campo == K::No) {
        d.Codigo(i, "N", 1);
    } else if constexpr (campo == K::Total) {
        importe(x.igic ? f.base : f.total);
    } else if constexpr (campo == K::Base) {
        importe(f.base);
    } else if constexpr (campo == K::TipoIva) {
        importe(x.igic ? std::nullopt : f.tipo);
    } else if constexpr (campo == K::Cuota) {
        importe(x.igic ? std::nullopt : f.cuota);
    }
}

template <class Destino, size_t... I>
inline void CeldasExpedidas(const Fila& x, Destino& d, std::index_sequence<I...>) {
    (Celda<kColumnasExpedidas[I].campo>(x, static_cast<int>(I), kColumnasExpedidas[I].longitud, d), ...);
}
template <class Destino, size_t... I>
inline void CeldasRecibidas(const Fila& x, Destino& d, std::index_sequence<I...>) {
    (Celda<kColumnasRecibidas[I].campo>(x, static_cast<int>(I), kColumnasRecibidas[I].longitud, d), ...);
}
}  // namespace libros_detalle

// The cells of one invoice's row on its own sheet, one call of `destino` per
// column (`i`, from 0), in order: the writers take them as they come, with
// no copy of the texts between. A destination has:
//   Vacia(int i);                                an empty cell
//   Codigo(int i, const char* ascii, int n);     one of the books' own codes ("1T", "F1", "01", "N")
//   Texto(int i, QStringView t, int longitud);   never empty; cut to `longitud` whole characters by it
//   TextoFijo(int i, QStringView t, int longitud);
//                                                the same, and the same text on every row of the export
//                                                (the company's): it may keep it as it wrote it first
//   Entero(int i, qint64 n);
//   Centesimas(int i, qint64 n);                 amounts in cents, rates in hundredths of a percent
//   Fecha(int i, const QDate& d);                a valid date
template <class Destino>
void RecorreCeldas(const FacturaLibro& f, const EmpresaLibros& empresa, Impuesto impuesto, Destino& d) {
    const QDate declaracion = f.Declaracion();
    int anio = 0, mes = 0;
    declaracion.getDate(&anio, &mes, nullptr);
    const bool sinIdentificacion = libros_detalle::Vacio(f.nif);
    const libros_detalle::Fila x{f,    empresa, impuesto == Impuesto::IGIC, declaracion, anio, mes,
                                 !sinIdentificacion && f.Extranjera(), sinIdentificacion};
    if (f.expedida)
        libros_detalle::CeldasExpedidas(x, d, std::make_index_sequence<std::size(kColumnasExpedidas)>());
    else
        libros_detalle::CeldasRecibidas(x, d, std::make_index_sequence<std::size(kColumnasRecibidas)>());
}
