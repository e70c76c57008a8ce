#include "dominio/declaraciones/Fichero347.h"
#include "dominio/declaraciones/Modelo347.h"

#include "ApoyoPruebas.h"
#include "datos/AtributosConexion.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/facturas/Facturas.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QDate D(const char* iso) { return iso && *iso ? QDate::fromString(QLatin1String(iso), Qt::ISODate) : QDate(); }

FacturaTercero F(bool cobro, const char* fecha, qint64 total, const char* nif, const char* nombre = "Tercero SL",
                 const char* pais = "", const char* operacion = "") {
    return {cobro, D(fecha), D(operacion), total, QString::fromUtf8(nif), QString::fromUtf8(nombre), QLatin1String(pais)};
}

// The rows as the command writes them, without the warnings.
QString Filas(const Modelo347& m) {
    QStringList r;
    for (const QString& l : m.LineasOrden())
        if (!l.startsWith('#'))
            r << l;
    return r.join('\n');
}

}  // namespace

TEST(Modelo347, FilasYAvisos) {
    const std::map<QString, DatosTercero> terceros{{"B12345674", {"Talleres Ñandú SL", "", "28001"}},
                                                   {"12345678Z", {"", "", "0800"}}};
    const struct {
        const char* caso;
        std::vector<FacturaTercero> facturas;
        const char* filas;
        const char* aviso;  // part of one warning; "" for none at all
    } casos[] = {
        {"en el umbral no se declara", {F(true, "2026-02-01", 200000, "B12345674"), F(true, "2026-05-01", 100506, "B12345674")}, "", ""},
        {"un céntimo más sí",
         {F(true, "2026-02-01", 200000, "b-12345674"), F(true, "2026-05-01", 100507, "B12345674")},
         "B\tB12345674\tTalleres Ñandú SL\t28\t\t3.005,07\t2.000,00\t1.005,07\t0,00\t0,00", ""},
        {"negativo, con su signo",
         {F(false, "2026-11-02", -400000, "B12345674"), F(false, "2026-01-02", 99493, "B12345674")},
         "A\tB12345674\tTalleres Ñandú SL\t28\t\t-3.005,07\t994,93\t0,00\t0,00\t-4.000,00", ""},
        {"negativo en el umbral", {F(false, "2026-11-02", -300506, "B12345674")}, "", ""},
        {"las dos claves",
         {F(true, "2026-03-01", 400000, "B12345674"), F(false, "2026-03-01", 500000, "B12345674")},
         "A\tB12345674\tTalleres Ñandú SL\t28\t\t5.000,00\t5.000,00\t0,00\t0,00\t0,00\n"
         "B\tB12345674\tTalleres Ñandú SL\t28\t\t4.000,00\t4.000,00\t0,00\t0,00\t0,00",
         ""},
        // A sale by its operation date, a purchase by the later date, a rectifying sale by its issue date.
        {"trimestres por la fecha de declaración",
         {F(true, "2026-03-30", 200000, "B12345674", "", "", "2026-04-02"),
          F(true, "2025-12-30", 200000, "B12345674", "", "", "2026-01-05"),
          F(true, "2026-07-01", -10000, "B12345674", "", "", "2026-06-30"),
          F(true, "2026-12-30", 200000, "B12345674", "", "", "2027-01-02")},
         "B\tB12345674\tTalleres Ñandú SL\t28\t\t3.900,00\t2.000,00\t2.000,00\t-100,00\t0,00", ""},
        {"compras por su recepción",
         {F(false, "2026-03-30", 400000, "B12345674", "", "", "2026-04-02"),
          F(false, "2026-12-30", 400000, "B12345674", "", "", "2027-01-02")},
         "A\tB12345674\tTalleres Ñandú SL\t28\t\t4.000,00\t0,00\t4.000,00\t0,00\t0,00", ""},
        {"sin NIF ni nombre", {F(true, "2026-02-01", 500000, "", "")}, "",
         "Facturas de Cobros sin NIF ni nombre, que no se declaran (VENTAS A CONSUMIDOR FINAL): 1 factura, 5.000,00."},
        {"compra sin NIF ni nombre", {F(false, "2026-02-01", 500000, "", "")}, "",
         "Facturas de Pagos sin NIF ni nombre, que no se declaran: 1 factura, 5.000,00."},
        {"con nombre y sin NIF", {F(false, "2026-02-01", 500000, " ", "Juan Sin Nif")}, "",
         "Tercero sin NIF por encima de 3.005,06 €, no se declara: clave A (Pagos): Juan Sin Nif, 5.000,00."},
        {"sin código postal", {F(true, "2026-02-01", 500000, "12345678Z", "Ana")},
         "B\t12345678Z\tAna\t\t\t5.000,00\t5.000,00\t0,00\t0,00\t0,00",
         "Tercero sin código postal de España, falta su provincia: clave B (Cobros): 12345678Z Ana, 5.000,00."},
        {"de la UE, no se declara", {F(true, "2026-02-01", 500000, "FR12345678901", "Dupont", "fr")}, "",
         "Tercero de otro país de la UE (FR), va en la declaración de operaciones intracomunitarias"},
        {"de fuera de la UE, provincia 99", {F(false, "2026-02-01", 500000, "US123", "Acme Inc", "US")},
         "A\tUS123\tAcme Inc\t99\tUS\t5.000,00\t5.000,00\t0,00\t0,00\t0,00",
         "Tercero extranjero (US), se declara con provincia 99"},
        {"España escrita", {F(true, "2026-02-01", 500000, "12345678Z", "Ana", "ES")},
         "B\t12345678Z\tAna\t\t\t5.000,00\t5.000,00\t0,00\t0,00\t0,00", "falta su provincia"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const Modelo347 m = CalculaModelo347(2026, c.facturas, terceros);
        EXPECT_EQ(Filas(m), QString::fromUtf8(c.filas));
        const QString avisos = m.avisos.join('\n');
        if (*c.aviso)
            EXPECT_TRUE(avisos.contains(QString::fromUtf8(c.aviso))) << avisos.toStdString();
        else
            EXPECT_EQ(avisos, QString());
        qint64 suma = 0;
        for (const Fila347& f : m.filas)
            for (qint64 t : f.trimestres)
                suma += t;
        EXPECT_EQ(suma, m.Total());
    }
}

TEST(Modelo347, ProvinciaYPaises) {
    EXPECT_EQ(ProvinciaDeCodigoPostal("07001"), "07");
    EXPECT_EQ(ProvinciaDeCodigoPostal(" 52001 "), "52");
    for (const char* malo : {"53001", "00123", "2800", "28001X", ""})
        EXPECT_EQ(ProvinciaDeCodigoPostal(malo), "") << malo;
    EXPECT_TRUE(EsPaisUE("el"));
    EXPECT_TRUE(EsPaisUE("XI"));
    EXPECT_FALSE(EsPaisUE("GB"));
    EXPECT_FALSE(EsPaisUE("US"));
}

// The figures read from the database, in either engine, with what the
// invoices' editor keeps of each counterparty.
TEST(Modelo347, DesdeLaBaseDeDatos) {
    EntornoPruebas e;
    e.Conecta();
    const struct {
        const char* tipo;
        CamposFactura campos;
        CamposTercero tercero;
    } facturas[] = {
        {"Cobros", {"C1", "15/01/2026", "", "2.000", "", "", ""}, {"B12345674", "", "Viejo SL", "", ""}},
        {"Cobros", {"C2", "15/03/2026", "", "1.500,50", "", "", ""}, {"B12345674", "02/04/2026", "Talleres SL", "", ""}},
        {"Pagos", {"P1", "10/06/2026", "", "-3.100", "", "", ""}, {"12345678Z", "", "Ana Pérez", "", ""}},
        {"Cobros", {"C3", "10/06/2026", "", "9.000", "", "", ""}, {"", "", "", "", ""}},
        {"Cobros", {"C4", "10/06/2025", "", "9.000", "", "", ""}, {"B12345674", "", "Talleres SL", "", ""}},
    };
    for (const auto& f : facturas)
        ASSERT_EQ(GrabaFacturaNueva(*Conexion, f.campos, f.tipo, TerceroParaGrabar(f.campos, f.tercero)), Grabacion::Hecha);
    Conexion->Ejecutar("update TERCEROS set COD_POSTAL = '41010' where NIF = 'B12345674'");
    const Modelo347 m = LeeModelo347(*Conexion, 2026);
    EXPECT_EQ(Filas(m), "A\t12345678Z\tAna Pérez\t\t\t-3.100,00\t0,00\t-3.100,00\t0,00\t0,00\n"
                        "B\tB12345674\tTalleres SL\t41\t\t3.500,50\t2.000,00\t1.500,50\t0,00\t0,00");
    EXPECT_EQ(m.avisos.size(), 2) << m.avisos.join('\n').toStdString();
}

// A file of an earlier layout, opened only to read, is read as it is.
TEST(Modelo347, UnaBaseAnteriorSeLeeSinActualizarla) {
    SOLO_CON_ARCHIVO();
    EntornoPruebas e;
    for (const char* fixture : {"estructura1.mdb", "estructura4.mdb"}) {
        SCOPED_TRACE(fixture);
        const QString ruta = e.Carpeta() + "/" + fixture;
        ASSERT_TRUE(QFile::copy(QStringLiteral(FISCALINO_FIXTURES "/") + fixture, ruta));
        const Modelo347 m = LeeModelo347(*ConexionBD::AbrirSoloLectura(AtributoConexion("DBQ", ruta)), 2026);
        EXPECT_TRUE(m.filas.empty());
        EXPECT_TRUE(m.avisos.value(0).startsWith("Facturas de ")) << m.avisos.join('\n').toStdString();
        EXPECT_EQ(Sqlite(ruta, "select count(*) from sqlite_master where name = 'TERCEROS'"), "0");
    }
}

namespace {

// The file as the agency reads it: records of 500 Latin-1 characters ended
// by CR LF, each field at its position (from 1).
struct Campo {
    int registro, posicion, longitud;
    const char* valor;  // UTF-8, turned into Latin-1 for the comparison
};

std::vector<QByteArray> Lineas500(const QByteArray& archivo) {
    std::vector<QByteArray> r;
    for (qsizetype i = 0; i < archivo.size(); i += 502) {
        EXPECT_EQ(archivo.mid(i + 500, 2), QByteArray("\r\n")) << "registro " << r.size() + 1;
        r.push_back(archivo.mid(i, 500));
    }
    return r;
}

}  // namespace

TEST(Modelo347, ArchivoCampoACampo) {
    Modelo347 m;
    m.anio = 2026;
    Fila347 a{u'A', "1234567L", "Muñoz García, José", "28", "", -123456, {-23456, -100000, 0, 0}, 2};
    Fila347 b{u'B', "B12345674", "Façade Inc.", "99", "US", 350000, {0, 0, 350000, 0}, 1};
    m.filas = {a, b};
    const Declarante347 d{"b-12345674", "Construcciones Ñandú, S.L.", "91 123 45 67", "López Pérez, Íñigo"};
    EXPECT_EQ(FaltaParaFichero(d), "");
    const QByteArray archivo = Fichero347(m, d);
    ASSERT_EQ(archivo.size(), 3 * 502);
    const auto r = Lineas500(archivo);
    const Campo campos[] = {
        {1, 1, 1, "1"}, {1, 2, 3, "347"}, {1, 5, 4, "2026"}, {1, 9, 9, "B12345674"},
        {1, 18, 40, "CONSTRUCCIONES ÑANDU  S L"}, {1, 58, 1, "T"}, {1, 59, 9, "911234567"},
        {1, 68, 40, "LOPEZ PEREZ  IÑIGO"}, {1, 108, 13, "3470000000001"}, {1, 121, 2, "  "},
        {1, 123, 13, "0000000000000"}, {1, 136, 9, "000000002"}, {1, 145, 16, " 000000000226544"},
        {1, 161, 9, "000000000"}, {1, 170, 16, " 000000000000000"},
        {2, 1, 4, "2347"}, {2, 5, 4, "2026"}, {2, 9, 9, "B12345674"}, {2, 18, 9, "01234567L"}, {2, 27, 9, "         "},
        {2, 36, 40, "MUÑOZ GARCIA  JOSE"}, {2, 76, 1, "D"}, {2, 77, 2, "28"}, {2, 79, 2, "  "},
        {2, 81, 1, " "}, {2, 82, 1, "A"}, {2, 83, 16, "N000000000123456"}, {2, 99, 2, "  "},
        {2, 101, 15, "000000000000000"}, {2, 116, 16, " 000000000000000"}, {2, 132, 4, "0000"},
        {2, 136, 16, "N000000000023456"}, {2, 152, 16, " 000000000000000"}, {2, 168, 16, "N000000000100000"},
        {2, 200, 16, " 000000000000000"}, {2, 232, 16, " 000000000000000"}, {2, 248, 16, " 000000000000000"},
        {2, 264, 20, "                    "}, {2, 284, 16, " 000000000000000"},
        {3, 18, 9, "         "}, {3, 36, 40, "FAÇADE INC"}, {3, 77, 4, "99US"},
        {3, 82, 1, "B"}, {3, 83, 16, " 000000000350000"}, {3, 200, 16, " 000000000350000"},
    };
    for (const Campo& c : campos) {
        SCOPED_TRACE(QStringLiteral("registro %1, posición %2").arg(c.registro).arg(c.posicion).toStdString());
        EXPECT_EQ(r[static_cast<size_t>(c.registro - 1)].mid(c.posicion - 1, c.longitud),
                  QString::fromUtf8(c.valor).leftJustified(c.longitud, ' ').toLatin1());
    }
    for (const QByteArray& x : r)
        EXPECT_EQ(x.mid(299), QByteArray(201, ' '));
    // Every byte a capital, a digit, a blank or Ñ/Ç in Latin-1.
    for (char ch : archivo) {
        const auto u = static_cast<unsigned char>(ch);
        EXPECT_TRUE((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ' || u == 0xD1 || u == 0xC7 || u == '\r' ||
                    u == '\n')
            << int(u);
    }
}

TEST(Modelo347, LoQueFaltaParaElArchivo) {
    EXPECT_EQ(FaltaParaFichero({"", "", "123", ""}),
              "Para el archivo del Modelo 347 falta el NIF de la empresa, el nombre de la empresa, un teléfono de "
              "contacto de 9 cifras y la persona de contacto.");
    EXPECT_EQ(FaltaParaFichero({"B12345674", "X SL", "911234567", ""}),
              "Para el archivo del Modelo 347 falta la persona de contacto.");
}
