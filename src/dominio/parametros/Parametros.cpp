#include "dominio/parametros/Parametros.h"

#include "base/Mensajes.h"
#include "datos/ConexionBD.h"

#include <functional>

QString PalabraClave;
short IvaPorDefecto = 0;
QString OpcionIva;
QString FraseFinal;
bool AccesoFacturas = false;
bool AccesoInformes = false;

namespace {

// Windows-1252 codes 0x80..0x9F; the rest of the page is Latin-1.
const char16_t kAltos1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int CodigoAnsi(QChar c) {
    char16_t u = c.unicode();
    for (int i = 0; i < 32; ++i)
        if (kAltos1252[i] == u)
            return 0x80 + i;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    return -1;
}

QChar CaracterAnsi(int codigo) {
    if (codigo >= 0x80 && codigo < 0xA0)
        return QChar(kAltos1252[codigo - 0x80]);
    return QChar(static_cast<char16_t>(codigo));
}

void ConTrampa(const std::function<void()>& paso) {
    try {
        paso();
    } catch (const ErrorBD& e) {
        MuestraMensaje(QStringLiteral(
            "ATENCIÓN: No se encontró un parámetro de configuración de la aplicación. Es posible que tenga una "
            "versión incorrecta del programa y que alguna opción no funcione correctamente, pero puede seguir "
            "trabajando con la aplicación."));
        MuestraMensaje(QStringLiteral("El error concreto fue: ") + e.descripcion());
    }
}

// An access flag: only "S" counts; a Null flag cannot be read as a boolean.
bool Bandera(const Valor& v) {
    if (v.EsNulo())
        throw ErrorBD(94, QStringLiteral("Uso no válido de Null"));
    return v.Texto() == QLatin1String("S");
}

}  // namespace

QString CodificarClave(bool Modo, const QString& texto) {
    QString r;
    for (int i = 1; i <= texto.size(); ++i) {
        int codigo = CodigoAnsi(texto.at(i - 1));
        if (codigo < 0)
            throw ErrorBD(5, QStringLiteral("Llamada a procedimiento o argumento no válidos"));
        bool par = (i % 2) == 0;
        codigo += (par == Modo) ? i : -i;
        if (codigo < 0 || codigo > 255)
            throw ErrorBD(5, QStringLiteral("Llamada a procedimiento o argumento no válidos"));
        r.append(CaracterAnsi(codigo));
    }
    return r;
}

const QString MensajeClaveNoAdmitida = QStringLiteral(
    "La palabra clave sólo puede llevar letras, números, espacios y los signos del teclado. No admite la «ú» ni la "
    "«ü» en minúscula (sí en mayúscula), ni emojis u otros símbolos especiales.");

bool ClaveAdmitida(const QString& clave) {
    for (QChar c : clave) {
        const int codigo = CodigoAnsi(c);
        if (codigo < 32 || codigo == 127 || codigo > 245 || c.category() == QChar::Other_Control)
            return false;
    }
    try {
        CodificarClave(true, clave);  // a password longer than the box allows
    } catch (const ErrorBD&) {
        return false;
    }
    return true;
}

void CargaParametros(const Registros& rs) {
    ConTrampa([&] { PalabraClave = CodificarClave(false, rs.Campo(QStringLiteral("PALABRA_CLAVE")).Texto()); });
    ConTrampa([&] {
        const Valor& v = rs.Campo(QStringLiteral("IVA"));
        double n = v.Numero();
        if (n < -32768.5 || n >= 32767.5)
            throw ErrorBD(6, QStringLiteral("Desbordamiento"));
        IvaPorDefecto = static_cast<short>(n < 0 ? -static_cast<int>(-n + 0.5) : static_cast<int>(n + 0.5));
    });
    ConTrampa([&] { OpcionIva = rs.Campo(QStringLiteral("OPCION_IVA")).Texto(); });
    ConTrampa([&] {
        if (OpcionIva.isEmpty())
            OpcionIva = QStringLiteral("IVA");
    });
    ConTrampa([&] { FraseFinal = rs.Campo(QStringLiteral("FRASE_FINAL")).Texto(); });
    ConTrampa([&] { AccesoFacturas = Bandera(rs.Campo(QStringLiteral("ACCESO_FACTURAS"))); });
    ConTrampa([&] { AccesoInformes = Bandera(rs.Campo(QStringLiteral("ACCESO_INFORMES"))); });
}
