// Invoices written from any text the user may type: every value comes back as
// typed (texts as they are, amounts and dates as they read), or the statement
// is refused whole with the Spanish message. On either engine.
#include "ApoyoPruebas.h"

#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "base/Formatos.h"
#include "dominio/facturas/Facturas.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace {

// What looks like the statement's own syntax, and what stretches a value.
const QStringList kPiezas = {
    QStringLiteral("'"),  QStringLiteral("''"), QStringLiteral(","),  QStringLiteral(")"),
    QStringLiteral("("),  QStringLiteral("--"), QStringLiteral(";"),  QStringLiteral("/*"),
    QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("]"),  QStringLiteral("?"),
    QStringLiteral(" "),  QStringLiteral("😀"), QStringLiteral("ñ€"), QStringLiteral("DateValue("),
    QStringLiteral("Null"), QStringLiteral("= '1,5'"), QStringLiteral("12345678901234567890123"),
    QStringLiteral("06/12/2007"), QStringLiteral("1.234,56"), QStringLiteral("\n")};

class Azar {
public:
    explicit Azar(unsigned semilla) : g_(semilla) {}
    int Hasta(int n) { return std::uniform_int_distribution<int>(0, n - 1)(g_); }
    // Up to three pieces, within the column's length.
    QString Texto(int maximo) {
        QString t;
        for (int n = Hasta(4); n > 0; --n) {
            const QString p = kPiezas[Hasta(kPiezas.size())];
            if (t.size() + p.size() <= maximo)
                t += p;
        }
        return t;
    }
    // Mostly a sound amount or date, so that one odd text decides the statement.
    QString Importe() {
        switch (Hasta(8)) {
        case 0: return Texto(12);
        case 1: return QString();
        case 2: return QStringLiteral("12345678901234567890");
        default: return FormatoImporte((Hasta(2000001) - 1000000) / 100.0);
        }
    }
    QString Fecha() {
        switch (Hasta(8)) {
        case 0: return Texto(10);
        case 1: return QString();
        default: return EscribeFecha(QDate(1990, 1, 1).addDays(Hasta(15000)));
        }
    }

private:
    std::mt19937 g_;
};

enum class Clase { Texto, Importe, Fecha };

struct Columna {
    const char* nombre;
    Clase clase;
};
// In the order of the statements' values: the seven fields, the type, the counterparty.
const Columna kColumnas[] = {
    {"COD_FACTURA", Clase::Texto},     {"FECHA_FACTURA", Clase::Fecha},  {"IMPORTE_IVA", Clase::Importe},
    {"IMPORTE_TOTAL", Clase::Importe}, {"IMPORTE_NETO", Clase::Importe}, {"IVA", Clase::Importe},
    {"DESCRIPCION", Clase::Texto},     {"TIPO", Clase::Texto},           {"NIF_TERCERO", Clase::Texto},
    {"FECHA_OPERACION", Clase::Fecha}, {"NOMBRE_TERCERO", Clase::Texto}};

struct Factura {
    CamposFactura campos;
    QString tipo;
    CamposTercero tercero;
    QStringList Textos() const {
        return {campos[0], campos[1], campos[2], campos[3], campos[4], campos[5], campos[6],
                CodigoTipo(tipo), tercero[0], tercero[1], tercero[2]};
    }
};

Factura Nueva(Azar& a) {
    return {{a.Texto(50), a.Fecha(), a.Importe(), a.Importe(), a.Importe(), a.Importe(), a.Texto(255)},
            a.Hasta(2) ? TipoCobros : TipoPagos,
            {a.Texto(20), a.Fecha(), a.Texto(40)}};
}

// One value as a comparable text; nothing when a typed text does not read.
std::optional<QString> Esperado(const QString& t, Clase clase) {
    if (t.isEmpty())
        return QStringLiteral("Null");
    switch (clase) {
    case Clase::Texto: return QStringLiteral("T:") + t;
    case Clase::Importe:
        if (auto n = LeeNumero(t))
            return QStringLiteral("N:") + LiteralNumero(*n);
        return std::nullopt;
    case Clase::Fecha:
        if (auto f = LeeFecha(t))
            return QStringLiteral("F:") + f->toString(Qt::ISODate);
        return std::nullopt;
    }
    return std::nullopt;
}

QString Leido(const Valor& v, Clase clase) {
    if (v.EsNulo())
        return QStringLiteral("Null");
    switch (clase) {
    case Clase::Texto: return QStringLiteral("T:") + v.Texto();
    case Clase::Importe: return QStringLiteral("N:") + LiteralNumero(v.Numero());
    case Clase::Fecha: return QStringLiteral("F:") + v.Fecha().toString(Qt::ISODate);
    }
    return QString();
}

// The row as stored, or as it must be stored; and the messages a refusal may give.
QStringList Fila(const QString& id) {
    QStringList nombres;
    for (const Columna& c : kColumnas)
        nombres << QLatin1String(c.nombre);
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select ") + nombres.join(QStringLiteral(", ")) +
                                       QStringLiteral(" from FACTURAS where ID = ") + id);
    QStringList r;
    for (int i = 0; !rs->Fin() && i < nombres.size(); ++i)
        r << Leido(rs->Celda(0, i), kColumnas[i].clase);
    return r;
}

QStringList Esperada(const Factura& f, QStringList* rechazos) {
    const QStringList textos = f.Textos();
    QStringList r;
    for (int i = 0; i < textos.size(); ++i) {
        if (auto v = Esperado(textos[i], kColumnas[i].clase)) {
            r << *v;
            continue;
        }
        *rechazos << QStringLiteral("No coinciden los tipos: '") + textos[i] +
                         (kColumnas[i].clase == Clase::Fecha ? QStringLiteral("' no es una fecha válida.")
                                                             : QStringLiteral("' no es un número."));
    }
    return r;
}

}  // namespace

TEST(Literales, CualquierTextoVuelveComoSeEscribioOLaSentenciaSeRechazaEntera) {
    EntornoPruebas e;
    e.Conecta();
    Azar azar(20071206);
    QString id;  // the last invoice saved, which the updates change
    QStringList guardada;
    int insertadas = 0, rechazadas = 0;
    for (int vuelta = 0; vuelta < 200; ++vuelta) {
        const bool nueva = id.isEmpty() || vuelta % 2 == 0;
        const Factura f = Nueva(azar);
        SCOPED_TRACE(QStringLiteral("vuelta %1: ").arg(vuelta).toStdString() + f.Textos().join('|').toStdString());
        QStringList rechazos;
        const QStringList esperada = Esperada(f, &rechazos);
        const QString total = Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Texto();
        try {
            if (nueva) {
                Conexion->Ejecutar(SqlInsertaFactura(f.campos, f.tipo, f.tercero));
                id = Conexion->AbrirRegistros("select max(ID) from FACTURAS")->Campo(0).Texto();
            } else {
                const FilaFactura leida = LeeFilaFactura(*Conexion->AbrirRegistros(SqlLeeFactura(id)));
                ASSERT_EQ(GrabaCambiosFactura(*Conexion, f.campos, f.tipo, f.tercero, id, leida), Grabacion::Hecha);
            }
            ASSERT_TRUE(rechazos.isEmpty()) << "guardada con " << rechazos.join(' ').toStdString();
            guardada = Fila(id);
            ASSERT_EQ(guardada, esperada);
            ++insertadas;
        } catch (const ErrorBD& err) {
            ASSERT_TRUE(rechazos.contains(err.descripcion())) << err.descripcion().toStdString();
            EXPECT_EQ(err.numero(), CodigoError::TipoIncorrecto);
            // Nothing of it was written.
            EXPECT_EQ(Conexion->AbrirRegistros("select count(*) from FACTURAS")->Campo(0).Texto(), total);
            if (!id.isEmpty())
                ASSERT_EQ(Fila(id), guardada);
            ++rechazadas;
        }
    }
    // Both roads were taken many times.
    EXPECT_GT(insertadas, 50);
    EXPECT_GT(rechazadas, 50);
}
