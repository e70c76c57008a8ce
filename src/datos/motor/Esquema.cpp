#include "datos/motor/Esquema.h"

#include <iterator>

const std::vector<TablaEsquema>& TablasPrograma() {
    static const std::vector<TablaEsquema> tablas{
        {"FACTURAS",
         {{"COD_FACTURA", ClaseColumna::Texto, 50},
          {"FECHA_FACTURA", ClaseColumna::Fecha, 0},
          {"IMPORTE_NETO", ClaseColumna::Numero, 0},
          {"IVA", ClaseColumna::Numero, 0},
          {"IMPORTE_IVA", ClaseColumna::Numero, 0},
          {"IMPORTE_TOTAL", ClaseColumna::Numero, 0},
          {"DESCRIPCION", ClaseColumna::Texto, 255},
          {"TIPO", ClaseColumna::Texto, 1},
          {"NIF_TERCERO", ClaseColumna::Texto, 20},
          {"NOMBRE_TERCERO", ClaseColumna::Texto, 40},
          {"FECHA_OPERACION", ClaseColumna::Fecha, 0},
          {"PAIS_TERCERO", ClaseColumna::Texto, 2},
          {"TIPO_ID_TERCERO", ClaseColumna::Texto, 2}},
         true},
        {"PARAMETROS",
         {{"PALABRA_CLAVE", ClaseColumna::Texto, 50},
          {"IVA", ClaseColumna::Entero, 0},
          {"OPCION_IVA", ClaseColumna::Texto, 8},
          {"FRASE_FINAL", ClaseColumna::Texto, 0},
          {"ACCESO_FACTURAS", ClaseColumna::Texto, 1},
          {"ACCESO_INFORMES", ClaseColumna::Texto, 1}},
         false},
        {"DATOS_EMPRESA",
         {{"NOMBRE", ClaseColumna::Texto, 40},
          {"DESCRIPCION", ClaseColumna::Texto, 100},
          {"CIF", ClaseColumna::Texto, 15},
          {"DIRECCION", ClaseColumna::Texto, 60},
          {"LOCALIDAD", ClaseColumna::Texto, 30},
          {"COD_POSTAL", ClaseColumna::Texto, 5},
          {"PROVINCIA", ClaseColumna::Texto, 30},
          {"TLFN", ClaseColumna::Texto, 15},
          {"FAX", ClaseColumna::Texto, 15},
          {"EMAIL", ClaseColumna::Texto, 40},
          {"WEB", ClaseColumna::Texto, 40},
          {"COD_ACTIVIDAD", ClaseColumna::Texto, 1},
          {"TIPO_ACTIVIDAD", ClaseColumna::Texto, 2},
          {"EPIGRAFE_IAE", ClaseColumna::Texto, 4}},
         false},
        {"TERCEROS",
         {{"NIF", ClaseColumna::Texto, 20},
          {"NOMBRE", ClaseColumna::Texto, 40},
          {"PAIS", ClaseColumna::Texto, 2},
          {"TIPO_ID", ClaseColumna::Texto, 2},
          {"COD_POSTAL", ClaseColumna::Texto, 10}},
         false,
         "NIF",
         6},
    };
    return tablas;
}

const std::vector<IndiceEsquema>& IndicesPrograma() {
    // The quarter lists and sums read one type between two dates, the listing
    // every day between two dates: both in index order, the sums from the
    // index alone. The return also takes the invoices operated between its
    // dates: the few that carry an operation date.
    static const std::vector<IndiceEsquema> indices{
        {"FACTURAS_TIPO_FECHA", "FACTURAS", {"TIPO", "FECHA_FACTURA"}, {"IMPORTE_IVA", "IMPORTE_TOTAL"}, nullptr},
        {"FACTURAS_FECHA", "FACTURAS", {"FECHA_FACTURA"}, {}, nullptr},
        {"FACTURAS_OPERACION", "FACTURAS", {"FECHA_OPERACION"}, {}, "FECHA_OPERACION is not null"},
    };
    return indices;
}

QString SqlTercerosDeFacturas() {
    return QStringLiteral(
        "insert into TERCEROS (NIF, NOMBRE, PAIS, TIPO_ID)"
        " select NIF, NOMBRE_TERCERO, PAIS_TERCERO, TIPO_ID_TERCERO from ("
        "  select upper(trim(NIF_TERCERO)) as NIF, NOMBRE_TERCERO, PAIS_TERCERO, TIPO_ID_TERCERO,"
        "   row_number() over (partition by upper(trim(NIF_TERCERO))"
        "    order by case when NOMBRE_TERCERO is null or trim(NOMBRE_TERCERO) = '' then 0 else 1 end desc,"
        "     case when FECHA_FACTURA is null then 0 else 1 end desc, FECHA_FACTURA desc, ID desc) as ORDEN"
        "  from FACTURAS where NIF_TERCERO is not null and trim(NIF_TERCERO) <> '') ULTIMAS"
        " where ORDEN = 1");
}

const TablaEsquema* TablaPrograma(const char* nombre) {
    for (const TablaEsquema& t : TablasPrograma())
        if (qstrcmp(t.nombre, nombre) == 0)
            return &t;
    return nullptr;
}

namespace {

// Second layout: typed values instead of conversion triggers.
void A2(ObraEstructura& o) { o.QuitaConversiones(); }

// Third: the counterparty of each invoice and the company's activity, as the
// VAT books carry them. Old rows keep Null.
void A3(ObraEstructura& o) {
    for (const char* c : {"NIF_TERCERO", "NOMBRE_TERCERO", "FECHA_OPERACION"})
        o.AnadeColumna("FACTURAS", c);
    for (const char* c : {"COD_ACTIVIDAD", "TIPO_ACTIVIDAD", "EPIGRAFE_IAE"})
        o.AnadeColumna("DATOS_EMPRESA", c);
}

// Fourth: the counterparty's country and the kind of a foreign identifier.
void A4(ObraEstructura& o) {
    for (const char* c : {"PAIS_TERCERO", "TIPO_ID_TERCERO"})
        o.AnadeColumna("FACTURAS", c);
}

// Fifth: dates are kept as the ISO text they are written in, and compared as
// text, never tried as numbers first.
void A5(ObraEstructura& o) { o.AjustaTipos("FACTURAS"); }

// Sixth: each customer and supplier once, by NIF, as its latest invoice
// names it (an invoice without a name names nobody); the postal code is the
// user's to give.
void A6(ObraEstructura& o) {
    o.AnadeTabla("TERCEROS");
    o.EjecutaComun(SqlTercerosDeFacturas());
}

// Each step reads a database of the layout before its own.
constexpr struct {
    int version;
    void (*aplica)(ObraEstructura&);
} kPasos[] = {{2, A2}, {3, A3}, {4, A4}, {5, A5}, {6, A6}};

static_assert(kPasos[std::size(kPasos) - 1].version == VersionEstructura, "the last step writes the current layout");

}  // namespace

void ActualizaEstructura(ObraEstructura& obra, int desde) {
    for (const auto& paso : kPasos)
        if (paso.version > desde)
            paso.aplica(obra);
}

std::optional<ClaseColumna> ClaseDeColumna(const QString& tabla, const QString& columna) {
    for (const TablaEsquema& t : TablasPrograma()) {
        if (tabla.compare(QLatin1String(t.nombre), Qt::CaseInsensitive) != 0)
            continue;
        for (const ColumnaEsquema& c : t.columnas)
            if (columna.compare(QLatin1String(c.nombre), Qt::CaseInsensitive) == 0)
                return c.clase;
        if (t.conId && columna.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            return ClaseColumna::Entero;
    }
    return std::nullopt;
}
