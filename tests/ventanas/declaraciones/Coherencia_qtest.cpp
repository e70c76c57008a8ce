// The year's declarations say the same wherever they show: a year of random
// invoices gives the same 347 rows and 390 boxes on the screens, on the
// command's lines, in the printed pages and in the agency's files, the pages
// and files read back by an outside reader (tests/support/lector_declaraciones.py).
#include "ApoyoPantallas.h"

#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/declaraciones/Modelo347Frm.h"
#include "ventanas/declaraciones/Modelo390Frm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QProcess>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <random>

namespace {

struct Tercero {
    const char* nif;
    const char* nombre;
    const char* pais;
    const char* tipoId;
    int peso;     // invoices drawn for it out of every 18
    qint64 tope;  // the largest net amount of one of its invoices, cents
};
// Two NIFs above the threshold on both sides, two that stay below it, one
// foreign and one without a NIF.
const Tercero kTerceros[] = {
    {"12345678Z", "Ana Pérez", "", "", 4, 150000},   {"A58818501", "Talleres Norte SA", "", "", 4, 150000},
    {"87654321X", "Luis Gómez", "", "", 1, 30000},   {"11111111H", "Marta Ruiz", "", "", 1, 30000},
    {"P4567890", "John Smith", "US", "03", 4, 150000}, {"", "Cliente de paso", "", "", 4, 150000},
};

struct Salida {
    int codigo = -1;
    QStringList lineas;
    QString errores;
};

// The rows or boxes of a command's output, its '#' lines left out.
QStringList Datos(const QStringList& lineas) {
    QStringList r;
    for (const QString& l : lineas)
        if (!l.startsWith(QLatin1Char('#')))
            r << l;
    return r;
}

Salida Lector(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            QStringList{"-W", "ignore", QStringLiteral(FISCALINO_FIXTURES "/../support/lector_declaraciones.py")} + argumentos);
    Salida s;
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit)
        s.codigo = p.exitCode();
    s.lineas = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    s.errores = QString::fromUtf8(p.readAllStandardError());
    return s;
}

// The value of a reader's "# name<TAB>value" line.
QString Cuenta(const QStringList& lineas, const QString& nombre) {
    for (const QString& l : lineas)
        if (l.startsWith("# " + nombre + '\t'))
            return l.section(QLatin1Char('\t'), 1);
    return QStringLiteral("<sin línea>");
}

}  // namespace

class PruebaCoherencia : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;
    const QString anio = QStringLiteral("2026");

    // The program as a script runs it, its settings in the test's folder.
    Salida Programa(const QStringList& argumentos) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", entorno->Carpeta());
        env.insert("XDG_CONFIG_HOME", entorno->Carpeta() + "/xdg");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(FISCALINO_PROGRAMA), QStringList{"--base-datos", entorno->RutaBD()} + argumentos);
        Salida s;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            s.codigo = p.exitCode();
        s.lineas = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        s.errores = QString::fromUtf8(p.readAllStandardError());
        return s;
    }

    // The screen opened from the menu, the year typed and F5, as a person would.
    QTableView* Rejilla(QAction* menu, const char* pantalla, const char* rejilla) {
        menu->trigger();
        QWidget* f = BuscaPantalla(pantalla);
        if (!f)
            return nullptr;
        auto* caja = Control<QLineEdit>(f, "TxtAnio");
        Reemplaza(caja, anio);
        QTest::keyClick(caja, Qt::Key_F5);
        return Control<QTableView>(f, rejilla);
    }

    // The three runs of the command: lines only, the agency's file, the printed page.
    QStringList Ejecuta(const QString& orden, QString* txt, QString* pdf) {
        *txt = entorno->Carpeta() + "/" + orden + ".txt";
        *pdf = entorno->Carpeta() + "/" + orden + ".pdf";
        const Salida sola = Programa({"--" + orden, anio});
        for (const QString& archivo : {*txt, *pdf}) {
            const Salida s = Programa({"--" + orden, anio, archivo});
            [&] {
                QCOMPARE(s.codigo, 0);
                QCOMPARE(s.errores, QString());
                QCOMPARE(s.lineas, sola.lineas);
            }();
        }
        [&] {
            QCOMPARE(sola.codigo, 0);
            QCOMPARE(sola.errores, QString());
        }();
        return sola.lineas;
    }

private slots:
    void initTestCase() {
        InstalaSustitutosFuentes();
        entorno = std::make_unique<EntornoPruebas>();
        // The settings where the program run by the test looks for them too.
        EstableceCarpetaAjustes(entorno->Carpeta() + "/xdg/Fiscalino");
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IVA");
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Bazar Atlántico SL', 'B12345674')");
        GuardaContactoDeclaraciones({"928 12 34 56", "Pérez Ana"});
        std::mt19937 azar(347390);
        const int tipos[] = {0, 4, 10, 21};
        std::vector<int> reparto;
        for (int i = 0; i < int(std::size(kTerceros)); ++i)
            reparto.insert(reparto.end(), kTerceros[i].peso, i);
        for (int n = 0; n < 80; ++n) {
            const Tercero& t = kTerceros[reparto[azar() % reparto.size()]];
            const int tipo = tipos[azar() % 4];
            // One in five a rectifying invoice, with its minus sign.
            const qint64 neto = (azar() % 5 == 0 ? -1 : 1) * (1000 + qint64(azar() % (t.tope - 1000)));
            const qint64 iva = neto * tipo / 100;
            const QDate fecha = QDate(2026, 1, 1).addDays(int(azar() % 365));
            // Some operated in the quarter before the invoice, the first days of January in the year before.
            const QDate operacion = azar() % 4 == 0 ? fecha.addDays(-int(azar() % 40) - 1) : QDate();
            const QString lado = azar() % 3 == 0 ? QStringLiteral("Pagos") : QStringLiteral("Cobros");
            const CamposFactura campos{QString("F-%1").arg(n), EscribeFecha(fecha), FormatoCentimos(iva),
                                       FormatoCentimos(neto + iva), FormatoCentimos(neto), QString::number(tipo),
                                       QString()};
            const CamposTercero tercero{t.nif, operacion.isValid() ? EscribeFecha(operacion) : QString(), t.nombre,
                                        t.pais, t.tipoId};
            QCOMPARE(GrabaFacturaNueva(*Conexion, campos, lado, tercero), Grabacion::Hecha);
        }
        // A large rectification, so that a quarter goes below zero.
        QCOMPARE(GrabaFacturaNueva(*Conexion, {"R-1", "16/11/2026", "-1.050,00", "-6.050,00", "-5.000,00", "21", ""},
                                   "Pagos", {"12345678Z", "", "Ana Pérez", "", ""}),
                 Grabacion::Hecha);
        CierraConexion();
        entorno->Conecta();
        mensajes = std::make_unique<RegistroMensajes>();
        QVERIFY(AbrePrincipal(v));
    }

    void cleanupTestCase() {
        CierraPrueba(v, mensajes, entorno);
    }

    void modelo347() {
        QString txt, pdf;
        const QStringList orden = Datos(Ejecuta("347", &txt, &pdf));
        // Key, NIF, name, province, country, total, four quarters: the screen's grid holds the same.
        QTableView* rejilla = Rejilla(Control<QAction>(v, "MenuModelo347"), "Modelo347Frm", "DBGrid347");
        QVERIFY(rejilla);
        QStringList pantalla;
        for (int f = 0; f < rejilla->model()->rowCount(); ++f) {
            QStringList celdas;
            for (int c = 0; c < rejilla->model()->columnCount(); ++c)
                celdas << rejilla->model()->index(f, c).data().toString();
            pantalla << celdas.join('\t');
        }
        QCOMPARE(pantalla, orden);
        // The draw must reach both keys, above and below the threshold, and the foreign party.
        QVERIFY2(orden.filter(QRegularExpression("^A\t")).size() >= 2 && orden.filter(QRegularExpression("^B\t")).size() >= 2,
                 qPrintable(orden.join('\n')));
        QVERIFY(orden.filter("\tP4567890\t").size() >= 1);
        QVERIFY(orden.filter("\t87654321X\t").isEmpty());
        QVERIFY(orden.filter("\t11111111H\t").isEmpty());
        QVERIFY(orden.join('\n').contains("\t-"));  // a quarter or a total below zero, for the sign

        // The printed page and the file hold key, NIF (none in the file abroad), total and quarters.
        QStringList impreso, archivo;
        qint64 total = 0;
        for (const QString& l : orden) {
            const QStringList c = l.split('\t');
            QCOMPARE(c.size(), 10);
            const QStringList cifras = c.mid(5);
            impreso << (QStringList{c[0], c[1]} + cifras).join('\t');
            archivo << (QStringList{c[0], c[3] == "99" ? QString() : c[1]} + cifras).join('\t');
            total += Centimos(*LeeNumero(c[5]));
        }
        const Salida leidoPdf = Lector({"pdf347", pdf});
        QVERIFY2(leidoPdf.codigo == 0, qPrintable(leidoPdf.errores));
        QCOMPARE(leidoPdf.lineas, impreso);
        const Salida leido = Lector({"347", txt});
        QVERIFY2(leido.codigo == 0, qPrintable(leido.errores));
        QCOMPARE(Datos(leido.lineas), archivo);
        QCOMPARE(Cuenta(leido.lineas, "registros"), QString::number(orden.size() + 1));
        QCOMPARE(Cuenta(leido.lineas, "declarados"), QString::number(orden.size()));
        QCOMPARE(Cuenta(leido.lineas, "total"), FormatoCentimos(total));
        QCOMPARE(leido.lineas.filter("# longitud"), QStringList());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void modelo390() {
        QString txt, pdf;
        const QStringList orden = Datos(Ejecuta("390", &txt, &pdf));
        QVERIFY(orden.size() > 30);
        QTableView* rejilla = Rejilla(Control<QAction>(v, "MenuModelo390"), "Modelo390Frm", "DBGridCasillas");
        QVERIFY(rejilla);
        QStringList pantalla;
        for (int i = 0; i < rejilla->model()->rowCount(); ++i)
            if (!rejilla->model()->index(i, 0).data().toString().isEmpty())
                pantalla << rejilla->model()->index(i, 0).data().toString() + '\t' +
                                rejilla->model()->index(i, 2).data().toString();
        QCOMPARE(pantalla, orden);
        // Every rate on both sides drawn, rectifying invoices on both, and the quarters' results.
        for (const char* casilla : {"700", "01", "03", "05", "29", "190", "603", "605", "639", "86", "95"})
            QVERIFY2(!orden.contains(QString(casilla) + "\t0,00"), casilla);

        const Salida leidoPdf = Lector({"pdf390", pdf});
        QVERIFY2(leidoPdf.codigo == 0, qPrintable(leidoPdf.errores));
        QCOMPARE(leidoPdf.lineas, orden);

        // The file by the agency's record design: each box where the design puts
        // it, and nothing in any other amount box of those pages.
        const Salida leido = Lector({"390", txt, QStringLiteral(FISCALINO_FIXTURES "/aeat/dr390e2025.xlsx")});
        QVERIFY2(leido.codigo == 0, qPrintable(leido.errores));
        QCOMPARE(Cuenta(leido.lineas, "paginas"), QStringLiteral("01000 02000 02B00 03000 04000 06000"));
        QStringList enArchivo, otras;
        for (const QString& l : Datos(leido.lineas)) {
            const QString numero = l.section('\t', 0, 0);
            if (std::any_of(orden.begin(), orden.end(), [&](const QString& o) { return o.startsWith(numero + '\t'); }))
                enArchivo << l;
            else if (!l.endsWith("\t0,00"))
                otras << l;
        }
        QStringList esperado = orden;
        const auto porNumero = [](const QString& a, const QString& b) {
            return a.section('\t', 0, 0).toInt() < b.section('\t', 0, 0).toInt();
        };
        std::sort(esperado.begin(), esperado.end(), porNumero);
        QCOMPARE(enArchivo, esperado);
        QCOMPARE(otras, QStringList());
        QCOMPARE(mensajes->cuenta(), 0);
    }
};

QTEST_MAIN(PruebaCoherencia)
#include "Coherencia_qtest.moc"
