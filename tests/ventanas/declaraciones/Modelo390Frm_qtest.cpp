// "Resumen Anual del IVA (Modelo 390)" driven as a person would: from the
// menu "Informe", a year typed, the boxes, the check, the files.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "dominio/declaraciones/Fichero390.h"
#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/declaraciones/Modelo390Frm.h"
#include "ventanas/principal/InicioMDIFrm.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class PruebaModelo390Frm : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;

    Modelo390Frm* Pantalla() { return qobject_cast<Modelo390Frm*>(BuscaPantalla("Modelo390Frm")); }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IVA");
        entorno->InsertaFactura("C", "C-1", "05/01/2026", "210", "1.210", "1.000", "21");
        entorno->InsertaFactura("P", "P-1", "10/08/2026", "42", "242", "200", "21");
        entorno->InsertaFactura("C", "C-2", "15/02/2026", "", "121", "", "21");  // no VAT, no net
        mensajes = std::make_unique<RegistroMensajes>();
        QVERIFY(AbrePrincipal(v));
    }

    void cleanup() {
        CierraPrueba(v, mensajes, entorno);
    }

    void anioCasillasYArchivos() {
        v->MenuModelo390_Click();
        Modelo390Frm* f = Pantalla();
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), QStringLiteral("Resumen Anual del IVA (Modelo 390)"));
        auto* anio = Control<QLineEdit>(f, "TxtAnio");

        // A year that is not one is told, and nothing is computed.
        Reemplaza(anio, "20x6");
        QTest::keyClick(anio, Qt::Key_F5);
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("El año no es válido: «20x6»."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QCOMPARE(mensajes->ultimo().botones, Botones::Aceptar);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(!f->Datos());
        QVERIFY(!Control<QPushButton>(f, "BtnFichero")->isEnabled());

        // The grid shows the boxes the command writes, under the form's headings.
        Reemplaza(anio, "26");
        QTest::keyClick(anio, Qt::Key_Return);
        QVERIFY(f->Datos());
        QCOMPARE(anio->text(), QStringLiteral("2026"));
        const Modelo390 esperado = LeeModelo390(*Conexion, 2026, "IVA");
        QStringList filas;
        auto* rejilla = Control<QTableView>(f, "DBGridCasillas");
        for (int i = 0; i < rejilla->model()->rowCount(); ++i)
            if (!rejilla->model()->index(i, 0).data().toString().isEmpty())
                filas << rejilla->model()->index(i, 0).data().toString() + '\t' + rejilla->model()->index(i, 2).data().toString();
        QCOMPARE(filas, esperado.LineasOrden().filter(QRegularExpression("^[0-9]")));
        QCOMPARE(rejilla->model()->index(0, 1).data().toString(), QStringLiteral("IVA DEVENGADO"));
        QVERIFY(filas.contains("06\t210,00"));
        QVERIFY(filas.contains("86\t168,00"));
        QCOMPARE(Control<QLabel>(f, "LblComprobacion")->text(), esperado.Comprobacion());
        auto* avisos = Control<QListWidget>(f, "LstAvisos");
        QVERIFY(avisos->item(0)->text().startsWith("Factura incompleta de Cobros C-2 del 15/02/2026"));
        QCOMPARE(avisos->count(), int(esperado.avisosPrevios.size() + esperado.avisos.size()));

        // The agency's file asks for the company's data first, then is written whole.
        const QString txt = entorno->Carpeta() + "/390.txt";
        QVERIFY(!f->GuardaFichero(txt));
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("Para el archivo del Modelo 390 falta el NIF de la empresa y el "
                                                          "nombre de la empresa (Datos de la Empresa)."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QVERIFY(!QFile::exists(txt));
        Conexion->Ejecutar("insert into DATOS_EMPRESA (NOMBRE, CIF) values ('Bazar Atlántico SL', 'B12345674')");
        QVERIFY(f->GuardaFichero(txt));
        QCOMPARE(ContenidoArchivo(txt),
                 Fichero390(esperado, {"B12345674", "Bazar Atlántico SL", "", ""}, false, VersionPrograma));
        const QString pdf = entorno->Carpeta() + "/390.pdf";
        QVERIFY(f->GuardaPdf(pdf));
        QCOMPARE(ContenidoArchivo(pdf).left(5), QByteArray("%PDF-"));
        QCOMPARE(mensajes->cuenta(), 2);
    }

    // With IGIC the menu says the 425 is not there yet, and opens nothing.
    void conIgic() {
        OpcionIva = QStringLiteral("IGIC");
        v->MenuModelo390_Click();
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("El resumen anual del IGIC (Modelo 425) no está disponible todavía."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QVERIFY(!Pantalla());
    }
};

QTEST_MAIN(PruebaModelo390Frm)
#include "Modelo390Frm_qtest.moc"
