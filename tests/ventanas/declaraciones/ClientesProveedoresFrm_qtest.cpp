// "Clientes y Proveedores" driven as a person would: opened from the menu
// "Aplicación", searched, a row changed and kept.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Modelo347.h"
#include "dominio/facturas/Facturas.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/declaraciones/ClientesProveedoresFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class PruebaClientesProveedoresFrm : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;

    QStringList Fila(ClientesProveedoresFrm* t, int f) {
        const auto* m = Control<QTableView>(t, "DBGridTerceros")->model();
        QStringList r;
        for (int c = 0; c < m->columnCount(); ++c)
            r << m->index(f, c).data().toString();
        return r;
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        const QString anio = QString::number(QDate::currentDate().year());
        for (const auto& [tipo, total, nif, nombre] :
             {std::tuple{"Cobros", "1.210", "12345678A", "Ana Pérez"}, {"Pagos", "-50", "12345678A", "Ana Pérez"},
              {"Pagos", "300", "B12345674", "Talleres Ibáñez SL"}})
            QCOMPARE(GrabaFacturaNueva(*Conexion, {"F", "02/01/" + anio, "", total, "", "", ""}, tipo,
                                       {nif, "", nombre, "", ""}),
                     Grabacion::Hecha);
        mensajes = std::make_unique<RegistroMensajes>();
        QVERIFY(AbrePrincipal(v));
    }

    void cleanup() {
        CierraPrueba(v, mensajes, entorno);
    }

    void buscaCambiaYGuarda() {
        Control<QAction>(v, "MenuAplicacionTerceros")->trigger();
        auto* t = qobject_cast<ClientesProveedoresFrm*>(BuscaPantalla("ClientesProveedoresFrm"));
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QStringLiteral("Clientes y Proveedores"));
        QCOMPARE(t->NifsVisibles(), (QStringList{"12345678A", "B12345674"}));
        QCOMPARE(Fila(t, 0), (QStringList{"12345678A", "Ana Pérez", "", "", "2", "1.210,00", "-50,00"}));
        QTRY_COMPARE(QApplication::focusWidget(), Control(t, "TxtBuscar"));

        Teclea(Control(t, "TxtBuscar"), "ibañez");
        QCOMPARE(t->NifsVisibles(), QStringList{"B12345674"});
        QCOMPARE(Control(t, "TxtNombre")->text(), QStringLiteral("Talleres Ibáñez SL"));
        QCOMPARE(Control<QLabel>(t, "LblAvisoNif")->text(), QString());
        Reemplaza(Control(t, "TxtBuscar"), "5678");
        QCOMPARE(t->NifsVisibles(), QStringList{"12345678A"});
        // The NIF checked as the editor does.
        QCOMPARE(Control<QLabel>(t, "LblAvisoNif")->text(),
                 QStringLiteral("La letra de control del NIF del tercero (12345678A) debería ser Z."));

        // A postal code that is no Spanish one is refused; nothing is kept.
        Reemplaza(Control(t, "TxtCodigoPostal"), "5300");
        QTest::keyClick(Control(t, "TxtCodigoPostal"), Qt::Key_Return);
        QCOMPARE(mensajes->textos(),
                 QStringList{"El código postal de España tiene 5 cifras y empieza por el número de una provincia (01 a "
                             "52): 5300"});
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QVERIFY(LeeTerceros(*Conexion).at("12345678A").codigoPostal.isEmpty());

        Reemplaza(Control(t, "TxtCodigoPostal"), "35001");
        Reemplaza(Control(t, "TxtNombre"), "Pérez O'Neill Ana");
        QTest::mouseClick(Control<QPushButton>(t, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(mensajes->cuenta(), 1);
        const DatosTercero d = LeeTerceros(*Conexion).at("12345678A");
        QCOMPARE(d.nombre, QStringLiteral("Pérez O'Neill Ana"));
        QCOMPARE(d.codigoPostal, QStringLiteral("35001"));
        // The list read again keeps the search and the row.
        QCOMPARE(t->NifsVisibles(), QStringList{"12345678A"});
        QCOMPARE(Fila(t, 0).mid(0, 3), (QStringList{"12345678A", "Pérez O'Neill Ana", "35001"}));
    }

    // A change left in the boxes is asked about before another row or the
    // closing replaces it: kept, dropped, or taken back to when it cannot be kept.
    void preguntaAntesDePerderUnCambio() {
        Control<QAction>(v, "MenuAplicacionTerceros")->trigger();
        auto* t = qobject_cast<ClientesProveedoresFrm*>(BuscaPantalla("ClientesProveedoresFrm"));
        QVERIFY(t);
        auto* rejilla = Control<QTableView>(t, "DBGridTerceros");
        auto otraFila = [&](int f) { rejilla->setCurrentIndex(rejilla->model()->index(f, 0)); };
        const QString pregunta = QStringLiteral("¿Desea grabar los cambios de 12345678A?");

        Reemplaza(Control(t, "TxtNombre"), "Ana Pérez Díaz");
        mensajes->Responde(Respuesta::Si);
        otraFila(1);
        QCOMPARE(mensajes->textos(), QStringList{pregunta});
        QCOMPARE(mensajes->ultimo().botones, Botones::SiNo);
        QCOMPARE(mensajes->ultimo().icono, Icono::Pregunta);
        QTRY_COMPARE(Fila(t, 0).value(1), QStringLiteral("Ana Pérez Díaz"));
        QCOMPARE(LeeTerceros(*Conexion).at("12345678A").nombre, QStringLiteral("Ana Pérez Díaz"));
        QCOMPARE(Control(t, "TxtNombre")->text(), QStringLiteral("Talleres Ibáñez SL"));

        otraFila(0);
        Reemplaza(Control(t, "TxtNombre"), "Otro");
        mensajes->Responde(Respuesta::No);
        otraFila(1);
        QTest::qWait(20);
        QCOMPARE(LeeTerceros(*Conexion).at("12345678A").nombre, QStringLiteral("Ana Pérez Díaz"));

        otraFila(0);
        Reemplaza(Control(t, "TxtCodigoPostal"), "99");
        mensajes->Limpia();
        mensajes->Responde(Respuesta::Si);
        otraFila(1);
        QCOMPARE(mensajes->cuenta(), 2);
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QTRY_COMPARE(Control(t, "TxtCodigoPostal")->text(), QStringLiteral("99"));
        QCOMPARE(rejilla->currentIndex().row(), 0);

        mensajes->Limpia();
        mensajes->Responde(Respuesta::Cancelar);
        QTest::keyClick(Control(t, "TxtNombre"), Qt::Key_Escape);
        QCOMPARE(mensajes->textos(), QStringList{pregunta});
        QCOMPARE(mensajes->ultimo().botones, Botones::SiNoCancelar);
        QVERIFY(BuscaPantalla("ClientesProveedoresFrm"));
        mensajes->Responde(Respuesta::No);
        QTest::keyClick(Control(t, "TxtNombre"), Qt::Key_Escape);
        QTRY_VERIFY(!BuscaPantalla("ClientesProveedoresFrm"));
        QCOMPARE(LeeTerceros(*Conexion).at("12345678A").codigoPostal, QString());
    }
};

QTEST_MAIN(PruebaClientesProveedoresFrm)
#include "ClientesProveedoresFrm_qtest.moc"
