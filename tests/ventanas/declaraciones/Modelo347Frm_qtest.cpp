// "Declaración Anual de Operaciones con Terceros (Modelo 347)" driven as a
// person would: from the menu "Informe", a year typed, the agency's file
// with the contact asked once.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/parametros/Ajustes.h"
#include "informes/Fuentes.h"
#include "informes/Modelo347Rpt.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/declaraciones/ContactoFrm.h"
#include "ventanas/declaraciones/Modelo347Frm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class PruebaModelo347Frm : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;

    Modelo347Frm* Abre() {
        Control<QAction>(v, "MenuModelo347")->trigger();
        return qobject_cast<Modelo347Frm*>(BuscaPantalla("Modelo347Frm"));
    }
    // The year typed over the proposed one, and Enter.
    Modelo347Frm* Calculado(const QString& anio = "26") {
        Modelo347Frm* m = Abre();
        auto* caja = Control<QLineEdit>(m, "TxtAnio");
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Delete);
        Teclea(caja, anio);
        QTest::keyClick(caja, Qt::Key_Return);
        return m;
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Bazar Atlántico SL', 'B12345674')");
        for (const auto& [tipo, fecha, total, nif] :
             {std::tuple{"Cobros", "10/02/2026", "4.000", "12345678Z"}, {"Cobros", "10/11/2026", "500", "12345678Z"},
              {"Pagos", "10/05/2026", "-3.500", "A58818501"}, {"Cobros", "10/05/2026", "100", "X1234567L"},
              {"Cobros", "10/05/2026", "5.000", ""}})
            QCOMPARE(GrabaFacturaNueva(*Conexion, {"F", fecha, "", total, "", "", ""}, tipo, {nif, "", "Ana Pérez", "", ""}),
                     Grabacion::Hecha);
        GuardaContactoDeclaraciones({});
        mensajes = std::make_unique<RegistroMensajes>();
        QVERIFY(AbrePrincipal(v));
    }

    void cleanup() {
        CierraPrueba(v, mensajes, entorno);
    }

    // The screen shows what the command writes: the warnings first, every
    // row, and each key's totals.
    void muestraLoMismoQueLaOrden() {
        Modelo347Frm* m = Abre();
        QVERIFY(m);
        QCOMPARE(m->windowTitle(), QStringLiteral("Declaración Anual de Operaciones con Terceros (Modelo 347)"));
        QCOMPARE(Control<QLineEdit>(m, "TxtAnio")->text(), QString::number(QDate::currentDate().year() - 1));
        QVERIFY(!Control<QPushButton>(m, "BtnPdf")->isEnabled());
        m = Calculado();
        QCOMPARE(Control<QLineEdit>(m, "TxtAnio")->text(), QStringLiteral("2026"));
        const Modelo347 esperado = LeeModelo347(*Conexion, 2026);
        QStringList lineas{"# " + esperado.Titulo()};
        for (auto* lista = Control<QListWidget>(m, "LstAvisos"); lineas.size() <= lista->count();)
            lineas << "# " + lista->item(lineas.size() - 1)->text();
        const auto* modelo = Control<QTableView>(m, "DBGrid347")->model();
        for (int f = 0; f < modelo->rowCount(); ++f) {
            QStringList celdas;
            for (int c = 0; c < modelo->columnCount(); ++c)
                celdas << modelo->index(f, c).data().toString();
            lineas << celdas.join('\t');
        }
        QCOMPARE(lineas, esperado.LineasOrden());
        QCOMPARE(modelo->rowCount(), 2);
        QCOMPARE(Control<QLabel>(m, "LblTotales")->text(),
                 QStringLiteral("Total clave A, 1 declarado: -3.500,00 (1T 0,00; 2T -3.500,00; 3T 0,00; 4T 0,00)\n"
                                "Total clave B, 1 declarado: 4.500,00 (1T 4.000,00; 2T 0,00; 3T 0,00; 4T 500,00)"));
        QCOMPARE(mensajes->cuenta(), 0);
        const QString pdf = entorno->Carpeta() + "/347.pdf";
        QVERIFY(m->GuardaPdf(pdf));
        QVERIFY(QFile(pdf).size() > 0);
        QTest::keyClick(Control<QLineEdit>(m, "TxtAnio"), Qt::Key_Escape);
        QTRY_VERIFY(!BuscaPantalla("Modelo347Frm"));
    }

    void anioQueNoVale_data() {
        QTest::addColumn<QString>("anio");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("vacío") << "" << "Indique el año de la declaración.";
        QTest::newRow("letras") << "20x6" << "El año no es válido: «20x6».";
    }
    void anioQueNoVale() {
        QFETCH(QString, anio);
        QFETCH(QString, mensaje);
        Modelo347Frm* m = Calculado(anio);
        QCOMPARE(mensajes->textos(), QStringList{mensaje});
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QCOMPARE(mensajes->ultimo().botones, Botones::Aceptar);
        QVERIFY(!m->Informe());
    }

    // The contact is asked the first time, refused until it is whole, and
    // kept; the file written is the agency's, whole.
    void archivoConElContactoPedidoUnaVez() {
        Modelo347Frm* m = Calculado();
        const QString txt = entorno->Carpeta() + "/347.txt";
        QStringList vistos;
        CuandoSeAbra<ContactoFrm>([&](ContactoFrm* d) {
            Escribe(Control(d, "TxtTelefono"), "928 12 34");
            Escribe(Control(d, "TxtPersona"), "Pérez Ana");
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
            vistos = mensajes->textos();
            QVERIFY(d->isVisible());
            Escribe(Control(d, "TxtTelefono"), " 56");
            QTest::mouseClick(Control<QPushButton>(d, "BtnAceptar"), Qt::LeftButton);
        });
        QVERIFY(m->GuardaFichero(txt));
        QCOMPARE(vistos, QStringList{"El teléfono de contacto debe tener 9 cifras."});
        const ContactoDeclaraciones c = LeeContactoDeclaraciones();
        QCOMPARE(c.telefono, QStringLiteral("928 12 34 56"));
        QCOMPARE(c.nombre, QStringLiteral("Pérez Ana"));
        QFile f(txt);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), Fichero347(m->Informe()->Datos(), {"B12345674", "Bazar Atlántico SL", "928123456", "Pérez Ana"}));
        QCOMPARE(mensajes->ultimo().texto,
                 "Se ha guardado el archivo del Modelo 347 de 2026 en " + QDir::toNativeSeparators(txt) + ": 2 declarados.");

        // Kept: not asked again. What the company lacks stops the file.
        QFile::remove(txt);
        Conexion->Ejecutar("update DATOS_EMPRESA set CIF = Null");
        bool pedido = false;
        CuandoSeAbra<ContactoFrm>([&](ContactoFrm* d) {
            pedido = true;
            d->reject();
        });
        QVERIFY(!m->GuardaFichero(txt));
        QTest::qWait(100);
        QVERIFY(!pedido);
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("Para el archivo del Modelo 347 falta el NIF de la empresa."));
        QVERIFY(!QFile::exists(txt));
    }
};

QTEST_MAIN(PruebaModelo347Frm)
#include "Modelo347Frm_qtest.moc"
