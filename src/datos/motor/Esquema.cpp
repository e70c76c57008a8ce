#include "datos/motor/Esquema.h"

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
    };
    return tablas;
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
