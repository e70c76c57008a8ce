#include "ApoyoLibros.h"

#include "datos/BaseDatos.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/libros/ArchivoLibros.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kLargo = QStringLiteral("FR-9 con un número de más de cuarenta caracteres");

// A small book: in the first quarter three collected and two paid invoices,
// a collected one issued in April for an operation of March and a paid one
// issued in December and received in January; one collected in the second
// quarter, one issued in March for an operation of April; one paid the year
// before.
class LibroPequeno : public ::testing::Test {
protected:
    void SetUp() override {
        e.Conecta();
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF, COD_ACTIVIDAD, TIPO_ACTIVIDAD, EPIGRAFE_IAE) "
                           "values ('Talleres Ibáñez SL', 'b-12345674', 'A', '01', '6531')");
        Inserta(TipoCobros, {"C-002", "20/02/2026", "210", "1.210", "1000", "21", ""}, {});
        Inserta(TipoCobros, {"C-001", "15/01/2026", "21", "121", "100", "21", ""}, {"12345678Z", "", "Ana Pérez"});
        Inserta(TipoCobros, {"C-004", "31/03/2026", "-21", "-121", "-100", "21", ""},
                {"B12345674", "15/03/2026", "Cliente; \"Raro\" SL"});
        Inserta(TipoCobros, {"C-005", "03/04/2026", "21", "121", "100", "21", ""},
                {"12345678Z", "30/03/2026", "Ana Pérez"});
        Inserta(TipoCobros, {"C-006", "25/03/2026", "21", "121", "100", "21", ""},
                {"12345678Z", "02/04/2026", "Ana Pérez"});
        Inserta(TipoCobros, {"C-003", "10/04/2026", "10", "110", "100", "10", ""}, {"12345678Z", "", "Ana Pérez"});
        Inserta(TipoPagos, {"P-17/26", "12/01/2026", "42", "242", "200", "21", ""},
                {"Q2826000H", "", "Ferretería O'Donnell"});
        Inserta(TipoPagos, {"P-4", "20/12/2025", "42", "242", "200", "21", ""},
                {"Q2826000H", "05/01/2026", "Ferretería O'Donnell"});
        Inserta(TipoPagos, {kLargo, "03/03/2026", "0,65", "10", "", "", ""}, {});
        Inserta(TipoPagos, {"P-2025", "31/12/2025", "21", "121", "100", "21", ""}, {});
    }
    static void Inserta(const QString& tipo, const CamposFactura& c, const CamposTercero& t) {
        Conexion->Ejecutar(SqlInsertaFactura(c, tipo, t));
    }
    ResultadoLibros Escribe(const QString& nombre, int trimestre = 0, const ProgresoLibros& progreso = {}) {
        return EscribeLibros(dir.filePath(nombre), *FormatoDeArchivo(nombre), LeeDatosLibros(*Conexion, 2026, trimestre),
                             progreso);
    }
    EntornoPruebas e;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(LibroPequeno, ElLibroXlsxComoLoLeeUnaHojaDeCalculo) {
    const ResultadoLibros r = Escribe("libros.xlsx");
    ASSERT_EQ(r.estado, ResultadoLibros::Estado::Hecho) << r.error.toStdString();
    EXPECT_EQ(r.archivos, QStringList{dir.filePath("libros.xlsx")});
    QString error;
    QStringList celdas = LeeXlsx(dir.filePath("libros.xlsx"), &error);
    ASSERT_FALSE(celdas.isEmpty()) << error.toStdString();
    // The headers are the template's: compared with it on their own.
    celdas.removeIf([](const QString& l) { return l.contains(QRegularExpression("^\\w+ ([123]|combinadas):")); });
    const QStringList esperadas = {
        "EXPEDIDAS",
        "EXPEDIDAS 4: #2026.0|1T|A|01|6531|F1|||@15/01/2026|||C-001||||12345678Z|Ana Pérez|01|S1||#121.0|#100.0|#21.0|"
        "#21.0",
        "EXPEDIDAS 5: #2026.0|1T|A|01|6531|F2|||@20/02/2026|||C-002|||||VENTAS A CONSUMIDOR FINAL|01|S1||#1210.0|"
        "#1000.0|#21.0|#210.0",
        "EXPEDIDAS 6: #2026.0|1T|A|01|6531|R4|||@31/03/2026|@15/03/2026||C-004||||B12345674|Cliente; \"Raro\" SL|01|"
        "S1||#-121.0|#-100.0|#21.0|#-21.0",
        "EXPEDIDAS 7: #2026.0|1T|A|01|6531|F1|||@03/04/2026|@30/03/2026||C-005||||12345678Z|Ana Pérez|01|S1||#121.0|"
        "#100.0|#21.0|#21.0",
        "EXPEDIDAS formatos: A=0 I=dd/mm/yyyy J=dd/mm/yyyy U=0.00 V=0.00 W=0.00 X=0.00",
        "RECIBIDAS",
        "RECIBIDAS 4: #2026.0|1T|A|01|6531|F1|||@20/12/2025|@05/01/2026|P-4||@05/01/2026|||||Q2826000H|Ferretería "
        "O'Donnell|01|N|N|N|||#242.0|#200.0|#21.0|#42.0|#42.0",
        "RECIBIDAS 5: #2026.0|1T|A|01|6531|F1|||@12/01/2026||P-17/26||@12/01/2026|||||Q2826000H|Ferretería O'Donnell|01|"
        "N|N|N|||#242.0|#200.0|#21.0|#42.0|#42.0",
        // The amounts as stored: no base nor rate is made up; the number cut to 40.
        "RECIBIDAS 6: #2026.0|1T|A|01|6531|F2|||@03/03/2026||FR-9 con un número de más de cuarenta ca||@03/03/2026||||||"
        "|01|N|N|N|||#10.0|||#0.65|#0.65",
        "RECIBIDAS formatos: A=0 I=dd/mm/yyyy J=dd/mm/yyyy M=dd/mm/yyyy Z=0.00 AA=0.00 AB=0.00 AC=0.00 AD=0.00",
    };
    EXPECT_EQ(celdas, esperadas);
}

TEST_F(LibroPequeno, LasCabecerasYSusCeldasCombinadasSonLasDeLaPlantilla) {
    ASSERT_EQ(Escribe("libros.xlsx").estado, ResultadoLibros::Estado::Hecho);
    EXPECT_EQ(DiferenciasConLaPlantilla(dir.filePath("libros.xlsx"),
                                        FISCALINO_FIXTURES "/aeat/PLANTILLA_LIBROS_UNIFICADOS.xlsx"),
              QStringList());
}

TEST_F(LibroPequeno, LosCsvParaUnaHojaDeCalculo) {
    const ResultadoLibros r = Escribe("libros.csv");
    ASSERT_EQ(r.estado, ResultadoLibros::Estado::Hecho) << r.error.toStdString();
    EXPECT_EQ(r.archivos, QStringList({dir.filePath("libros_EXPEDIDAS.csv"), dir.filePath("libros_RECIBIDAS.csv")}));
    EXPECT_FALSE(QFile::exists(dir.filePath("libros.csv")));
    const struct {
        const char* archivo;
        int columnas;
        const char* inicio;
        const char* filas;
    } casos[] = {
        {"libros_EXPEDIDAS.csv", 36, "\xEF\xBB\xBF" "Autoliquidación - Ejercicio;Autoliquidación - Periodo;Actividad - Código;",
         "2026;1T;A;01;6531;F1;;;15/01/2026;;;C-001;;;;12345678Z;Ana Pérez;01;S1;;121,00;100,00;21,00;21,00;;;;;;;;;;;;\r\n"
         "2026;1T;A;01;6531;F2;;;20/02/2026;;;C-002;;;;;VENTAS A CONSUMIDOR FINAL;01;S1;;1210,00;1000,00;21,00;210,00;"
         ";;;;;;;;;;;\r\n"
         "2026;1T;A;01;6531;R4;;;31/03/2026;15/03/2026;;C-004;;;;B12345674;\"Cliente; \"\"Raro\"\" SL\";01;S1;;"
         "-121,00;-100,00;21,00;-21,00;;;;;;;;;;;;\r\n"
         "2026;1T;A;01;6531;F1;;;03/04/2026;30/03/2026;;C-005;;;;12345678Z;Ana Pérez;01;S1;;121,00;100,00;21,00;21,00;"
         ";;;;;;;;;;;\r\n"},
        {"libros_RECIBIDAS.csv", 42, "\xEF\xBB\xBF" "Autoliquidación - Ejercicio;",
         "2026;1T;A;01;6531;F1;;;20/12/2025;05/01/2026;P-4;;05/01/2026;;;;;Q2826000H;Ferretería O'Donnell;01;N;N;N;;;"
         "242,00;200,00;21,00;42,00;42,00;;;;;;;;;;;;\r\n"
         "2026;1T;A;01;6531;F1;;;12/01/2026;;P-17/26;;12/01/2026;;;;;Q2826000H;Ferretería O'Donnell;01;N;N;N;;;"
         "242,00;200,00;21,00;42,00;42,00;;;;;;;;;;;;\r\n"
         "2026;1T;A;01;6531;F2;;;03/03/2026;;FR-9 con un número de más de cuarenta ca;;03/03/2026;;;;;;;01;N;N;N;;;"
         "10,00;;;0,65;0,65;;;;;;;;;;;;\r\n"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.archivo);
        const QString texto = QString::fromUtf8(ContenidoArchivo(dir.filePath(c.archivo)));
        const int finCabecera = texto.indexOf("\r\n") + 2;
        const QString cabecera = texto.left(finCabecera);
        EXPECT_TRUE(cabecera.startsWith(QString::fromUtf8(c.inicio))) << cabecera.toStdString();
        EXPECT_EQ(cabecera.count(';'), c.columnas - 1);
        EXPECT_EQ(texto.mid(finCabecera), QString::fromUtf8(c.filas));
    }
}

TEST_F(LibroPequeno, DelUnoDeEneroAlFinDelTrimestreCadaFacturaEnElSuyo) {
    const struct {
        int trimestre;
        const char* hasta;
        const char* facturas;  // each with its Periodo
    } casos[] = {
        {0, "31/03/2026", "P-4 1T, P-17/26 1T, C-001 1T, C-002 1T, FR-9 1T, C-004 1T, C-005 1T"},
        {1, "30/06/2026", "P-4 1T, P-17/26 1T, C-001 1T, C-002 1T, FR-9 1T, C-006 2T, C-004 1T, C-005 1T, C-003 2T"},
        {-1, "31/12/2026", "P-4 1T, P-17/26 1T, C-001 1T, C-002 1T, FR-9 1T, C-006 2T, C-004 1T, C-005 1T, C-003 2T"},
    };
    for (const auto& c : casos) {
        const DatosLibros d = LeeDatosLibros(*Conexion, 2026, c.trimestre);
        EXPECT_EQ(d.rango.desde, "01/01/2026");
        EXPECT_EQ(d.rango.hasta, c.hasta);
        QStringList vistas;
        for (const FacturaLibro& f : d.facturas)
            vistas << f.codigo.left(f.codigo.indexOf(' ') < 0 ? f.codigo.size() : f.codigo.indexOf(' ')) + " " +
                          CeldasLibro(f, d.empresa)[1].texto;
        EXPECT_EQ(vistas.join(", "), c.facturas) << c.trimestre;
    }
    const DatosLibros anio = LeeDatosLibros(*Conexion, 2026, -1);
    EXPECT_EQ(anio.empresa.nif, "B12345674");
    EXPECT_EQ(NombreArchivoLibros(2026, anio.empresa), "2026B12345674CTalleres Ibáñez SL");
}

TEST_F(LibroPequeno, FacturasQueLosLibrosNoAdmitenTalCual) {
    QStringList lineas;
    for (const IncidenciaLibro& i : IncidenciasLibros(LeeDatosLibros(*Conexion, 2026, 0).facturas, Impuesto::IVA))
        lineas << LineaIncidencia(i);
    EXPECT_EQ(lineas, QStringList({
                          "Cobros 20/02/2026 C-002 (total 1.210,00): sin NIF del cliente y con un total de más de "
                          "400 €, que no puede ser el de una factura simplificada.",
                          "Pagos 03/03/2026 FR-9 con un número de más de cuarenta caracteres (total 10,00): sin NIF "
                          "del proveedor; le faltan la base imponible y el tipo de IVA, que los libros no calculan; "
                          "el número tiene más de 40 caracteres y el libro lo lleva cortado: FR-9 con un número de "
                          "más de cuarenta ca.",
                      }));
}

TEST_F(LibroPequeno, CanceladoOFallidoNoDejaNadaAMedias) {
    const QString ruta = dir.filePath("libros.xlsx");
    QFile viejo(ruta);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("el libro de antes");
    viejo.close();
    int llamadas = 0;
    const ResultadoLibros cancelado = Escribe("libros.xlsx", 0, [&](int, int) { return ++llamadas < 1; });
    EXPECT_EQ(cancelado.estado, ResultadoLibros::Estado::Cancelado);
    EXPECT_EQ(ContenidoArchivo(ruta), "el libro de antes");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"libros.xlsx"});

    // A disk that fills up while writing: the file under its name stays the earlier one.
    Conexion->Ejecutar("begin");
    for (int i = 0; i < 200; ++i)
        Inserta(TipoCobros, {QString("X-%1").arg(i), "02/01/2026", "21", "121", "100", "21", ""}, {});
    Conexion->Ejecutar("commit");
    const DatosLibros datos = LeeDatosLibros(*Conexion, 2026, 0);
    for (const char* nombre : {"libros.xlsx", "libros.csv"}) {
        SCOPED_TRACE(nombre);
        const int salida = EnProcesoHijo([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limite{4000, 4000};
            setrlimit(RLIMIT_FSIZE, &limite);
            const ResultadoLibros r = EscribeLibros(dir.filePath(nombre), *FormatoDeArchivo(nombre), datos);
            return r.estado == ResultadoLibros::Estado::Fallido &&
                           r.error.startsWith(QStringLiteral("No se pudo escribir el archivo ")) && r.archivos.isEmpty()
                       ? 0
                       : 1;
        });
        EXPECT_EQ(salida, 0);
        EXPECT_EQ(ContenidoArchivo(ruta), "el libro de antes");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"libros.xlsx"});
    }

    const ResultadoLibros sinCarpeta =
        EscribeLibros(dir.filePath("no/existe.xlsx"), FormatoLibros::Xlsx, LeeDatosLibros(*Conexion, 2026, 0));
    EXPECT_EQ(sinCarpeta.estado, ResultadoLibros::Estado::Fallido);
    EXPECT_EQ(sinCarpeta.error, "No se pudo escribir el archivo " + QDir::toNativeSeparators(dir.filePath("no/existe.xlsx")) +
                                    ". Compruebe que la carpeta existe, que puede escribir en ella y que queda espacio "
                                    "en el disco.");
    EXPECT_TRUE(e.Bitacora().contains("existe.xlsx")) << e.Bitacora().toStdString();
}

TEST_F(LibroPequeno, ElProgresoLlegaAlTotal) {
    QList<int> vistas;
    Escribe("libros.csv", -1, [&](int hechas, int total) {
        EXPECT_EQ(total, 9);
        vistas << hechas;
        return true;
    });
    EXPECT_EQ(vistas, QList<int>({0, 9}));
}

// Each column of the workbook is as wide as what it holds: the invoice
// numbers show whole, not only as wide as the caption "Número".
TEST_F(LibroPequeno, LasColumnasDelLibroTanAnchasComoSuContenido) {
    ASSERT_EQ(Escribe("libros.xlsx").estado, ResultadoLibros::Estado::Hecho);
    QProcess p;
    p.start("/usr/bin/python3", {"-c", R"PY(
import sys, openpyxl
from openpyxl.utils import get_column_letter
for hoja in openpyxl.load_workbook(sys.argv[1]).worksheets:
    for c in range(1, hoja.max_column + 1):
        textos = [str(hoja.cell(f, c).value) for f in range(4, hoja.max_row + 1) if isinstance(hoja.cell(f, c).value, str)]
        largo = max([len(t) for t in textos] + [0])
        ancho = hoja.column_dimensions[get_column_letter(c)].width or 0
        if ancho < largo:
            print("%s %s: %s < %d" % (hoja.title, hoja.cell(2, c).value or hoja.cell(1, c).value, ancho, largo))
)PY", dir.filePath("libros.xlsx")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), "");
}
