#include "ApoyoPruebas.h"

#include "dominio/libros/ArchivoLibros.h"
#include "dominio/libros/Libros.h"

#include <gtest/gtest.h>

namespace {

using O = std::optional<qint64>;
const O n = std::nullopt;

struct Datos {
    bool expedida;
    const char* fecha;
    const char* operacion;  // "" for none
    const char* nif;
    const char* nombre;
    O total, base, tipo, cuota;
    const char* pais = "";
    const char* tipoId = "";
};

FacturaLibro Factura(const Datos& d) {
    FacturaLibro f;
    f.expedida = d.expedida;
    f.fecha = QDate::fromString(QString::fromLatin1(d.fecha), "dd/MM/yyyy");
    f.fechaOperacion = QDate::fromString(QString::fromLatin1(d.operacion), "dd/MM/yyyy");
    f.codigo = QStringLiteral("F-1");
    f.nif = QString::fromUtf8(d.nif);
    f.nombre = QString::fromUtf8(d.nombre);
    f.total = d.total;
    f.base = d.base;
    f.tipo = d.tipo;
    f.cuota = d.cuota;
    f.pais = QString::fromLatin1(d.pais);
    f.tipoId = QString::fromLatin1(d.tipoId);
    return f;
}

// "A=2026 B=1T ...": every cell that is not empty, by its column's letter;
// numbers as "#", dates as "@".
QString Fila(const FacturaLibro& f, Impuesto impuesto = Impuesto::IVA) {
    const std::vector<CeldaLibro> celdas = CeldasLibro(f, {}, impuesto);
    EXPECT_EQ(celdas.size(), HojaDe(f).columnas.size());
    QStringList r;
    for (size_t i = 0; i < celdas.size(); ++i) {
        const CeldaLibro& c = celdas[i];
        const QString letra = i < 26 ? QString(QChar('A' + int(i))) : QString("A") + QChar('A' + int(i) - 26);
        switch (c.clase) {
        case CeldaLibro::Clase::Vacia: continue;
        case CeldaLibro::Clase::Texto: r << letra + "=" + c.texto; break;
        case CeldaLibro::Clase::Entero:
        case CeldaLibro::Clase::Centesimas: r << letra + "=#" + QString::number(c.numero); break;
        case CeldaLibro::Clase::Fecha: r << letra + "=@" + c.fecha.toString("dd/MM/yyyy"); break;
        }
    }
    return r.join(' ');
}

}  // namespace

TEST(Libros, CadaFilaConSuPeriodoSusFechasYSusImportesGrabados) {
    const struct {
        Datos d;
        Impuesto impuesto;
        const char* fila;
    } casos[] = {
        // The quarter of the operation; the amounts as stored, none completed.
        {{true, "03/04/2026", "30/03/2026", "12345678Z", "Ana", 12100, 10000, 2100, n}, Impuesto::IVA,
         "A=#2026 B=1T F=F1 I=@03/04/2026 J=@30/03/2026 L=F-1 P=12345678Z Q=Ana R=01 S=S1 U=#12100 V=#10000 W=#2100"},
        // A rectifying one stays in the quarter of its issue date.
        {{true, "03/04/2026", "30/03/2026", "12345678Z", "Ana", -12100, -10000, 2100, -2100}, Impuesto::IVA,
         "A=#2026 B=2T F=R4 I=@03/04/2026 J=@30/03/2026 L=F-1 P=12345678Z Q=Ana R=01 S=S1 U=#-12100 V=#-10000 "
         "W=#2100 X=#-2100"},
        // Issued in one year for an operation of the year before.
        {{true, "02/01/2027", "30/12/2026", "", "", 1000, 826, 2100, 174}, Impuesto::IVA,
         "A=#2026 B=4T F=F2 I=@02/01/2027 J=@30/12/2026 L=F-1 Q=VENTAS A CONSUMIDOR FINAL R=01 S=S1 U=#1000 V=#826 "
         "W=#2100 X=#174"},
        {{true, "15/01/2026", "", "", "Bar Pepe", 1000, 826, 2100, 174}, Impuesto::IVA,
         "A=#2026 B=1T F=F2 I=@15/01/2026 L=F-1 Q=Bar Pepe R=01 S=S1 U=#1000 V=#826 W=#2100 X=#174"},
        // Received when the later of its two dates comes.
        {{false, "28/12/2025", "05/01/2026", "B12345674", "Ferretería", 12100, 10000, 2100, 2100}, Impuesto::IVA,
         "A=#2026 B=1T F=F1 I=@28/12/2025 J=@05/01/2026 K=F-1 M=@05/01/2026 R=B12345674 S=Ferretería T=01 U=N V=N "
         "W=N Z=#12100 AA=#10000 AB=#2100 AC=#2100 AD=#2100"},
        // Foreign counterparties carry their type and country; Spain none.
        {{true, "15/01/2026", "", "FR12345678901", "Dupont SA", 12100, 10000, 2100, 2100, "FR", "02"}, Impuesto::IVA,
         "A=#2026 B=1T F=F1 I=@15/01/2026 L=F-1 N=02 O=FR P=FR12345678901 Q=Dupont SA R=01 S=S1 U=#12100 V=#10000 "
         "W=#2100 X=#2100"},
        {{false, "15/01/2026", "", "X-99", "Müller GmbH", 12100, 10000, 2100, 2100, "DE", "04"}, Impuesto::IVA,
         "A=#2026 B=1T F=F1 I=@15/01/2026 K=F-1 M=@15/01/2026 P=04 Q=DE R=X-99 S=Müller GmbH T=01 U=N V=N W=N "
         "Z=#12100 AA=#10000 AB=#2100 AC=#2100 AD=#2100"},
        {{true, "15/01/2026", "", "", "", 12100, 10000, 2100, 2100, "FR", "02"}, Impuesto::IVA,
         "A=#2026 B=1T F=F2 I=@15/01/2026 L=F-1 Q=VENTAS A CONSUMIDOR FINAL R=01 S=S1 U=#12100 V=#10000 W=#2100 "
         "X=#2100"},
        {{true, "15/01/2026", "", "12345678Z", "Ana", 12100, 10000, 2100, 2100, "ES", "02"}, Impuesto::IVA,
         "A=#2026 B=1T F=F1 I=@15/01/2026 L=F-1 P=12345678Z Q=Ana R=01 S=S1 U=#12100 V=#10000 W=#2100 X=#2100"},
        // IGIC: outside VAT, the net alone.
        {{true, "15/01/2026", "", "12345678Z", "Ana", 10950, 10000, 950, 950}, Impuesto::IGIC,
         "A=#2026 B=1T F=F1 I=@15/01/2026 L=F-1 P=12345678Z Q=Ana R=08 S=N2 U=#10000 V=#10000"},
        {{false, "15/01/2026", "", "B12345674", "Ferretería", 10700, 10000, 700, 700}, Impuesto::IGIC,
         "A=#2026 B=1T F=F1 I=@15/01/2026 K=F-1 M=@15/01/2026 R=B12345674 S=Ferretería T=08 U=N V=N W=N Z=#10000 "
         "AA=#10000"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fila);
        EXPECT_EQ(Fila(Factura(c.d), c.impuesto), c.fila);
    }
}

TEST(Libros, LoQueLaAgenciaRechazaSeLista) {
    const struct {
        Datos d;
        Impuesto impuesto;
        const char* motivo;  // "" when the row is accepted
    } casos[] = {
        {{true, "15/01/2026", "", "12345678Z", "", 12100, 10000, 2100, 2100}, Impuesto::IVA, ""},
        {{true, "15/07/2026", "", "12345678Z", "", 10500, 10000, 500, 500}, Impuesto::IVA,
         "el 5 % no es un tipo de IVA vigente el 15/07/2026"},
        // The operation date decides, not the issue date.
        {{true, "10/01/2025", "15/11/2024", "12345678Z", "", 10750, 10000, 750, 750}, Impuesto::IVA, ""},
        {{true, "15/01/2026", "", "12345678Z", "", 10950, 10000, 950, 950}, Impuesto::IVA,
         "el 9,5 % no es un tipo de IVA vigente el 15/01/2026"},
        {{true, "15/01/2026", "", "12345678Z", "", 10950, 10000, 950, 950}, Impuesto::IGIC, ""},
        {{true, "15/01/2026", "", "12345678Z", "", 10800, 10000, 800, 800}, Impuesto::IGIC,
         "el 8 % no es un tipo de IGIC vigente el 15/01/2026"},
        // A cent is allowed, more is not.
        {{true, "15/01/2026", "", "12345678Z", "", 12101, 10000, 2100, 2101}, Impuesto::IVA, ""},
        {{true, "15/01/2026", "", "12345678Z", "", 12102, 10000, 2100, 2102}, Impuesto::IVA,
         "la cuota (21,02) no es la base por el tipo (21,00)"},
        {{true, "15/01/2026", "", "12345678Z", "", 12000, 10000, 2100, 2100}, Impuesto::IVA,
         "el total (120,00) no es la base más la cuota (121,00)"},
        {{true, "15/01/2026", "", "12345678Z", "", -12000, -10000, 2100, -2100}, Impuesto::IVA, ""},
        {{true, "15/01/2026", "", "12345678Z", "", 12100, n, 2100, n}, Impuesto::IVA,
         "le faltan la base imponible y el importe del IVA, que los libros no calculan"},
        {{false, "15/01/2026", "", "B12345674", "", 12100, 10000, n, 2100}, Impuesto::IGIC,
         "le falta el tipo de IGIC, que los libros no calculan"},
        {{false, "15/01/2026", "", "", "Bar", 1210, 1000, 2100, 210}, Impuesto::IVA, "sin NIF del proveedor"},
        {{true, "15/01/2026", "", "", "", 48400, 40000, 2100, 8400}, Impuesto::IVA,
         "sin NIF del cliente y con un total de más de 400 €, que no puede ser el de una factura simplificada"},
        {{true, "15/01/2026", "", "12345678A", "", 12100, 10000, 2100, 2100}, Impuesto::IVA,
         "la letra de control del NIF del cliente (12345678A) debería ser Z"},
        // A foreign identifier is not a Spanish NIF, but needs its type.
        {{false, "15/01/2026", "", "X-99", "", 12100, 10000, 2100, 2100, "DE", "04"}, Impuesto::IVA, ""},
        {{false, "15/01/2026", "", "X-99", "", 12100, 10000, 2100, 2100, "DE", ""}, Impuesto::IVA,
         "el proveedor es extranjero (DE) y falta el tipo de su identificación (de 02 a 06)"},
        {{true, "28/03/2026", "02/04/2026", "12345678Z", "", 12100, 10000, 2100, 2100}, Impuesto::IVA,
         "la fecha de la operación (02/04/2026) es posterior a la de expedición, lo que la Agencia Tributaria no "
         "admite"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.motivo);
        const std::vector<IncidenciaLibro> r = IncidenciasLibros({Factura(c.d)}, c.impuesto);
        EXPECT_EQ(r.empty() ? QString() : r[0].motivo, QString::fromUtf8(c.motivo));
    }
}

TEST(Libros, TextosCortadosPorCaracteresEnteros) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const struct {
        QString texto;
        int longitud;
        QString cortado;
    } casos[] = {
        {"Ibáñez", 3, "Ibá"},
        {"ab" + emoji + "cd", 3, "ab" + emoji},
        {"a" + QString(QChar(0xD83D)) + "bc", 2, "ab"},
        {"abc", 0, "abc"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(CortaTexto(c.texto, c.longitud), c.cortado) << c.longitud;
}

TEST(Libros, NombreDelArchivoYArchivosQueSeEscriben) {
    EXPECT_EQ(NombreArchivoLibros(2026, {"B12345674", "Talleres Ibáñez S/L: \"Norte\"", "", "", ""}),
              "2026B12345674CTalleres Ibáñez SL Norte");
    EXPECT_EQ(NombreArchivoLibros(2026, {}), "2026C");
    EXPECT_EQ(FormatoDeArchivo("a/b.XLSX"), FormatoLibros::Xlsx);
    EXPECT_EQ(FormatoDeArchivo("b.Csv"), FormatoLibros::Csv);
    EXPECT_EQ(FormatoDeArchivo("b.xls"), std::nullopt);
    EXPECT_EQ(FormatoDeArchivo("xlsx"), std::nullopt);
    EXPECT_EQ(ArchivosLibros("/d/l.v.csv", FormatoLibros::Csv),
              QStringList({"/d/l.v_EXPEDIDAS.csv", "/d/l.v_RECIBIDAS.csv"}));
    EXPECT_EQ(ArchivosLibros("/d/l.xlsx", FormatoLibros::Xlsx), QStringList{"/d/l.xlsx"});
}
