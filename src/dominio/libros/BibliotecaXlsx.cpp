#define FISCALINO_BIBLIOTECA_XLSX_SIN_NOMBRES
#include "dominio/libros/BibliotecaXlsx.h"

#include "base/Bitacora.h"

#include <QLibrary>

namespace {

lxw_workbook* SinLibro(const char*, lxw_workbook_options*) { return nullptr; }

}  // namespace

const FuncionesXlsx& BibliotecaXlsx() {
    static const FuncionesXlsx tabla = [] {
        FuncionesXlsx t;
        QLibrary biblioteca(QStringLiteral(FISCALINO_SONAME_XLSX));
        bool completa = biblioteca.load();
        // Loaded for the rest of the process: the table points into it.
#define FISCALINO_RESUELVE_XLSX(f)                                                                                   \
    if (completa) {                                                                                                  \
        t.f = reinterpret_cast<decltype(t.f)>(biblioteca.resolve(#f));                                               \
        completa = t.f != nullptr;                                                                                   \
    }
        FISCALINO_FUNCIONES_XLSX(FISCALINO_RESUELVE_XLSX)
#undef FISCALINO_RESUELVE_XLSX
        if (!completa) {
            AnotaBitacora(QStringLiteral("Biblioteca de libros XLSX: ") + biblioteca.errorString());
            t.workbook_new_opt = &SinLibro;
        }
        return t;
    }();
    return tabla;
}
