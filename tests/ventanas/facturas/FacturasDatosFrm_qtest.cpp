// The invoice editor on its own, on a real database file.
#include "ApoyoCajas.h"
#include "ApoyoFacturas.h"
#include "ApoyoPruebas.h"

#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "dominio/facturas/Facturas.h"
#include "informes/Fuentes.h"

#include <QStyle>
#include <QToolTip>
#include <QtTest>
#include <memory>

namespace {

std::unique_ptr<Registros> LeeUnica() {
    return Conexion->AbrirRegistros(QStringLiteral("select * from FACTURAS"));
}

QString UltimoId() {
    auto rs = Conexion->AbrirRegistros(QStringLiteral("select max(ID) from FACTURAS"));
    return rs->Campo(0).Texto();
}

}  // namespace

class PruebaFacturasDatosFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    std::unique_ptr<FacturasDatosFrm> dlg;

    FacturasDatosFrm* Abre(bool nueva, const QString& id = QString()) {
        dlg = std::make_unique<FacturasDatosFrm>(nueva, id);
        dlg->show();
        Activa(dlg.get());
        return dlg.get();
    }
    QLineEdit* Campo(int i) { return Control<QLineEdit>(dlg.get(), QStringLiteral("Txts(%1)").arg(i)); }
    QComboBox* Tipo() { return Control<QComboBox>(dlg.get(), QStringLiteral("CmbTipo")); }
    QPushButton* Boton(const char* n) { return Control<QPushButton>(dlg.get(), QString::fromLatin1(n)); }
    void Enfoca(int i) {
        Campo(i)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(Foco(), Campo(i));
    }
    // A total completed by Enter, which every invoice saved needs.
    void Total(const QString& total = QStringLiteral("121")) {
        Enfoca(3);
        Reescribe(total);
        Intro();
    }

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        OpcionIva = QStringLiteral("IVA");
        IvaPorDefecto = 10;
        mensajes = std::make_unique<RegistroMensajes>();
    }

    void cleanup() {
        dlg.reset();
        mensajes.reset();
        entorno.reset();
    }

    void facturaNuevaEmpiezaConHoyYElIvaPorDefecto() {
        Abre(true);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Introducción de Valores"));
        QVERIFY(dlg->isModal());
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTipo"));
        QCOMPARE(Tipo()->currentIndex(), -1);
        QCOMPARE(Tipo()->count(), 2);
        QCOMPARE(Tipo()->itemText(0), QStringLiteral("Cobros"));
        QCOMPARE(Tipo()->itemText(1), QStringLiteral("Pagos"));
        QCOMPARE(Campo(1)->text(), EscribeFecha(QDate::currentDate()));
        QCOMPARE(Campo(5)->text(), QStringLiteral("10"));
        for (int i : {0, 2, 3, 4, 6})
            QVERIFY(Campo(i)->text().isEmpty());
        QVERIFY(!Boton("BtnBorrar")->isEnabled());
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void controlesTitulosYColores() {
        Abre(true);
        const QStringList etiquetas{"Factura", "Fecha Factura", "Importe IVA", "Importe Total (IVA incluido)",
                                    "Importe Neto", "% del IVA", "Descripción"};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(Control<QLabel>(dlg.get(), QStringLiteral("Lbls(%1)").arg(i))->text(), etiquetas[i]);
        QCOMPARE(Control<QLabel>(dlg.get(), "Lbls(11)")->text(), QStringLiteral("Tipo"));
        QCOMPARE(Control<QLabel>(dlg.get(), "Label1")->text(), QStringLiteral("Datos Opcionales para la factura"));
        QVERIFY(Control<QFrame>(dlg.get(), "Line1"));
        QVERIFY(Control<QFrame>(dlg.get(), "Line2"));
        QCOMPARE(Boton("BtnAceptar")->text(), QStringLiteral("&Grabar"));
        QCOMPARE(Boton("BtnBorrar")->text(), QStringLiteral("&Borrar"));
        QCOMPARE(Boton("BtnSalir")->text(), QStringLiteral("&Cancelar"));
        const QColor ayuda = QToolTip::palette().color(QPalette::ToolTipBase);
        QCOMPARE(Tipo()->palette().color(QPalette::Base), ayuda);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Campo(i)->palette().color(QPalette::Base), ayuda);
        for (int i = 4; i < 7; ++i)
            QCOMPARE(Campo(i)->palette().color(QPalette::Base), QColor(205, 233, 254));
        // The rate: two digits before the comma, 99,99 in all.
        const int limites[] = {50, 10, 12, 12, 12, 2, 255};
        const char* columnas[] = {"COD_FACTURA", "FECHA_FACTURA", "IMPORTE_IVA", "IMPORTE_TOTAL",
                                  "IMPORTE_NETO", "IVA", "DESCRIPCION"};
        QCOMPARE(Campo(5)->maxLength(), 5);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(LimiteDeCaja(Campo(i)), limites[i]);
            QCOMPARE(Campo(i)->property("Tag").toString(), QString::fromLatin1(columnas[i]));
        }
        for (const char* b : {"BtnAceptar", "BtnBorrar", "BtnSalir"})
            QVERIFY(!Boton(b)->isDefault());
    }

    void ordenDeTabulacion() {
        entorno->InsertaFactura("P", "P-1", "01/01/2008", "1", "2");
        Abre(false, UltimoId());
        QStringList visitados{NombreFoco()};
        for (int i = 0; i < 14; ++i) {
            Pulsa(Qt::Key_Tab);
            visitados << NombreFoco();
        }
        // The counterparty's fields come after the invoice's own, before the
        // buttons, its country first; the kind of identifier only for another country.
        QCOMPARE(visitados, QStringList({"CmbTipo", "Txts(0)", "Txts(1)", "Txts(2)", "Txts(3)", "Txts(4)", "Txts(5)",
                                         "Txts(6)", "Txts(10)", "Txts(7)", "Txts(8)", "Txts(9)", "BtnAceptar",
                                         "BtnBorrar", "BtnSalir"}));
        Enfoca(10);
        Reescribe("pt");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTipoId"));
        Pulsa(Qt::Key_Tab);
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(7)"));
    }

    void introVisitaLosCamposSinGrabar() {
        Abre(true);
        Teclea("c");
        QStringList visitados{NombreFoco()};
        for (int i = 0; i < 12; ++i) {
            if (NombreFoco() == QLatin1String("Txts(3)"))
                Teclea("121");
            Intro();
            visitados << NombreFoco();
        }
        QCOMPARE(visitados, QStringList({"CmbTipo", "Txts(0)", "Txts(1)", "Txts(2)", "Txts(3)", "Txts(4)", "Txts(5)",
                                         "Txts(6)", "Txts(10)", "Txts(7)", "Txts(8)", "Txts(9)", "BtnAceptar"}));
        QVERIFY(dlg->isVisible());
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"));
        QCOMPARE(rs->Campo(0).Numero(), 0.0);
        // Enter on the focused button is pressing it.
        Intro();
        QVERIFY(!dlg->isVisible());
        rs = Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"));
        QCOMPARE(rs->Campo(0).Numero(), 1.0);
    }

    void completaSoloConIntroEnElTotal_data() {
        QTest::addColumn<QString>("iva");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("pct");
        QTest::addColumn<QStringList>("esperado");  // fields 2, 4, 5 after Enter in the total
        QTest::newRow("regla B") << "" << "121" << "21" << QStringList{"21,00", "100,00", "21"};
        QTest::newRow("regla A pisa el porcentaje") << "21" << "121" << "7" << QStringList{"21", "100", "21"};
        QTest::newRow("miles") << "" << "1.210" << "21" << QStringList{"210,00", "1000,00", "21"};
        QTest::newRow("solo el total") << "" << "121" << "" << QStringList{"", "", ""};
        QTest::newRow("porcentaje de tres cifras") << "210" << "100" << "" << QStringList{"210", "-110", "-191"};
    }

    void completaSoloConIntroEnElTotal() {
        QFETCH(QString, iva);
        QFETCH(QString, total);
        QFETCH(QString, pct);
        QFETCH(QStringList, esperado);
        Abre(true);
        Enfoca(2);
        Reescribe(iva);
        Enfoca(5);
        Reescribe(pct);
        Enfoca(3);
        Reescribe(total);
        // Leaving by Tab completes nothing.
        Pulsa(Qt::Key_Tab);
        QCOMPARE(Campo(4)->text(), QString());
        Enfoca(3);
        Intro();
        QCOMPARE(QStringList({Campo(2)->text(), Campo(4)->text(), Campo(5)->text()}), esperado);
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(4)"));
    }

    void introEnOtroCampoNoCompleta() {
        Abre(true);
        Enfoca(3);
        Teclea("121");
        Enfoca(2);
        Intro();
        QCOMPARE(Campo(4)->text(), QString());
        Intro();  // Enter in the total itself
        QCOMPARE(Campo(4)->text(), QStringLiteral("110,00"));
        Enfoca(4);
        Reescribe("");
        Enfoca(5);
        Intro();
        QCOMPARE(Campo(4)->text(), QString());
    }

    void limitesDeLoTecleado() {
        Abre(true);
        Enfoca(5);
        Reescribe("123");
        QCOMPARE(Campo(5)->text(), QStringLiteral("12"));
        Enfoca(2);
        Teclea("12a,5'");
        QCOMPARE(Campo(2)->text(), QStringLiteral("12,5"));
        Enfoca(1);
        Reescribe("1/2/08x'");
        QCOMPARE(Campo(1)->text(), QStringLiteral("1/2/08"));
        // The rate takes a decimal comma and two decimals, no more.
        Enfoca(5);
        Reescribe("9,555");
        QCOMPARE(Campo(5)->text(), QStringLiteral("9,55"));
        Reescribe("7.5");
        QCOMPARE(Campo(5)->text(), QStringLiteral("75"));
        Reescribe("7");
        Pulsa(Qt::Key_Period, Qt::KeypadModifier);
        Teclea("5,");
        QCOMPARE(Campo(5)->text(), QStringLiteral("7,5"));
        // What the program writes may be longer; typing stays bound.
        Enfoca(2);
        Reescribe("9999");
        Enfoca(3);
        Reescribe("10000");
        Intro();
        QCOMPARE(Campo(5)->text(), QStringLiteral("999900"));
        Enfoca(5);
        Pulsa(Qt::Key_End);
        Pulsa(Qt::Key_Backspace);
        Teclea("9");
        QCOMPARE(Campo(5)->text(), QStringLiteral("99990"));
        Pulsa(Qt::Key_Backspace);
        Teclea("5");
        QCOMPARE(Campo(5)->text(), QStringLiteral("99995"));
        Teclea("5");
        QCOMPARE(Campo(5)->text(), QStringLiteral("99995"));
    }

    void grabaNuevaConApostrofos() {
        Abre(true);
        Teclea("P");
        Intro();
        Teclea("a'b");
        Total();
        Enfoca(6);
        Teclea("O'Donnell");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        auto rs = LeeUnica();
        QCOMPARE(rs->Campo("COD_FACTURA").Texto(), QStringLiteral("a'b"));
        QCOMPARE(rs->Campo("DESCRIPCION").Texto(), QStringLiteral("O'Donnell"));
        QCOMPARE(rs->Campo("TIPO").Texto(), QStringLiteral("P"));
        QCOMPARE(rs->Campo("IVA").Texto(), QStringLiteral("10"));
        QCOMPARE(rs->Campo("IMPORTE_TOTAL").Texto(), QStringLiteral("121"));
    }

    void textoPegadoConCaracteresDeControlNoSeGraba() {
        Abre(true);
        Teclea("P");
        Intro();
        Teclea("F-1");
        Pega(Campo(6), QStringLiteral("pegado") + QChar(0) + QStringLiteral("de otro programa"));
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(mensajes->ultimo().texto,
                 QStringLiteral("El campo 'Descripción' contiene caracteres que no se pueden guardar (caracteres de "
                                "control, que no se ven, o caracteres incompletos). Bórrelos y vuelva a intentarlo."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(Foco(), Campo(6));
        QCOMPARE(Campo(0)->text(), QStringLiteral("F-1"));
        QVERIFY(Conexion->AbrirRegistros(QStringLiteral("select * from FACTURAS"))->Fin());
    }

    void unEmojiCuentaUnCaracterEnElLimite() {
        Abre(true);
        Teclea("P");
        Intro();
        const QString cara = QString::fromUtf8("😍");
        Pega(Campo(0), QString(50, 'x') + cara);
        QCOMPARE(Campo(0)->text(), QString(50, 'x'));
        Pega(Campo(0), QString(49, 'x') + cara);
        QCOMPARE(Campo(0)->text(), QString(49, 'x') + cara);
        Total();
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(LeeUnica()->Campo("COD_FACTURA").Texto(), QString(49, 'x') + cara);
    }

    void fechaVaciaSeGuardaComoNulo() {
        Abre(true);
        Teclea("p");
        Enfoca(1);
        Reescribe("");
        Intro();
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(2)"));
        Total();
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        auto rs = LeeUnica();
        QVERIFY(rs->Campo("FECHA_FACTURA").EsNulo());
        QCOMPARE(rs->Campo("TIPO").Texto(), QStringLiteral("P"));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void fechaNoValidaBloqueaCadaBoton() {
        entorno->InsertaFactura("C", "C-1", "06/12/2007", "21", "121");
        Abre(false, UltimoId());
        Enfoca(1);
        Reescribe("31/02/2007");
        for (const char* b : {"BtnAceptar", "BtnBorrar", "BtnSalir"}) {
            QTest::mouseClick(Boton(b), Qt::LeftButton);
            QVERIFY2(dlg->isVisible(), b);
            QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
        }
        QCOMPARE(mensajes->cuenta(), 3);
        for (const Mensaje& m : mensajes->mostrados())
            QCOMPARE(m.texto, QStringLiteral("Esa fecha no es válida."));
        // Leaving the field by Tab is refused too.
        Pulsa(Qt::Key_Tab);
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
        QCOMPARE(mensajes->cuenta(), 4);
        auto rs = LeeUnica();
        QCOMPARE(rs->Campo("FECHA_FACTURA").Texto(), QStringLiteral("06/12/2007"));
        Reescribe("6-12-07");
        Pulsa(Qt::Key_Tab);
        QCOMPARE(Campo(1)->text(), QStringLiteral("06/12/2007"));
        QCOMPARE(mensajes->cuenta(), 4);
    }

    void teclaDeAccesoConFechaNoValida() {
        Abre(true);
        Teclea("c");
        Total();
        Enfoca(1);
        Reescribe("32/01/2008");
        Pulsa(Qt::Key_G, Qt::AltModifier);
        QTest::qWait(QApplication::style()->styleHint(QStyle::SH_Widget_Animation_Duration) + 200);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos(), QStringList({"Esa fecha no es válida."}));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(1)"));
        Reescribe("31/01/2008");
        Pulsa(Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(!dlg->isVisible());
        QCOMPARE(LeeUnica()->Campo("FECHA_FACTURA").Texto(), QStringLiteral("31/01/2008"));
    }

    void escConFechaNoValidaCierraSinGrabar() {
        Abre(true);
        Enfoca(1);
        Reescribe("32/01/2008");
        Pulsa(Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 0);
        auto rs = Conexion->AbrirRegistros(QStringLiteral("select count(*) from FACTURAS"));
        QCOMPARE(rs->Campo(0).Numero(), 0.0);
    }

    void cargaUnaFacturaExistente() {
        entorno->InsertaFactura("C", "C-7", "06/12/2007", "21", "121", "100", "21");
        Abre(false, UltimoId());
        QCOMPARE(Tipo()->currentText(), QStringLiteral("Cobros"));
        const QStringList esperados{"C-7", "06/12/2007", "21", "121", "100", "21", ""};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(Campo(i)->text(), esperados[i]);
        QVERIFY(Boton("BtnBorrar")->isEnabled());
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTipo"));
        // The defaults of a new invoice do not apply.
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void tipoDesconocidoSeMuestraComoPagos() {
        Conexion->Ejecutar(QStringLiteral(
            "insert into FACTURAS (COD_FACTURA, IMPORTE_TOTAL, TIPO) values ('X-1', '10', 'Z')"));
        Abre(false, UltimoId());
        QCOMPARE(Tipo()->currentText(), QStringLiteral("Pagos"));
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QCOMPARE(LeeUnica()->Campo("TIPO").Texto(), QStringLiteral("P"));
    }

    void facturaQueNoExiste() {
        Abre(false, QStringLiteral("999"));
        QCOMPARE(mensajes->textos(), QStringList({"No se encontró la información de la factura."}));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(dlg->isVisible());
        for (int i = 0; i < 7; ++i)
            QVERIFY(Campo(i)->text().isEmpty());
    }

    void cerrarDejaLasPropiedadesLimpias_data() {
        QTest::addColumn<QString>("boton");
        QTest::newRow("Grabar") << "BtnAceptar";
        QTest::newRow("Cancelar") << "BtnSalir";
        QTest::newRow("Esc") << "";
    }

    void cerrarDejaLasPropiedadesLimpias() {
        QFETCH(QString, boton);
        entorno->InsertaFactura("P", "P-1", "01/01/2008", "21", "121", "100", "21");
        Abre(false, UltimoId());
        Enfoca(0);
        Reescribe("cambio");
        if (boton.isEmpty())
            Pulsa(Qt::Key_Escape);
        else
            QTest::mouseClick(Control<QPushButton>(dlg.get(), boton), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QVERIFY(!dlg->NuevaFactura());
        QVERIFY(dlg->IdFactura().isEmpty());
        QCOMPARE(LeeUnica()->Campo("COD_FACTURA").Texto(),
                 boton == QLatin1String("BtnAceptar") ? QStringLiteral("cambio") : QStringLiteral("P-1"));
    }

    void sinTipoNoGrabaYConservaLoEscrito() {
        Abre(true);
        Intro();
        Teclea("F-1");
        Enfoca(3);
        Teclea("121");
        Intro();
        for (int vez : {1, 2}) {
            // A click, then the access key, which presses the button a moment later.
            if (vez == 1)
                QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
            else
                Pulsa(Qt::Key_G, Qt::AltModifier);
            QTRY_COMPARE(mensajes->cuenta(), vez);
            QVERIFY(dlg->isVisible());
            QCOMPARE(mensajes->textos().last(), QStringLiteral("Indique si la factura es de Pagos o de Cobros."));
            QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
            QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
            QCOMPARE(NombreFoco(), QStringLiteral("CmbTipo"));
            QCOMPARE(Campo(0)->text(), QStringLiteral("F-1"));
            QCOMPARE(Campo(4)->text(), QStringLiteral("110,00"));
            QVERIFY(LeeUnica()->Fin());
        }
        Teclea("c");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(LeeUnica()->Campo("TIPO").Texto(), QStringLiteral("C"));
        QCOMPARE(mensajes->cuenta(), 2);
        QCOMPARE(LeeUnica()->Campo("COD_FACTURA").Texto(), QStringLiteral("F-1"));
    }

    void cambiadaPorOtraInstanciaNoSePisa() {
        entorno->InsertaFactura("P", "P-1", "06/12/2007", "21", "121", "100", "21");
        const QString id = UltimoId();
        Abre(false, id);
        // A second instance of the program on the same file saves first.
        auto otra = ConexionBD::Abrir(CadenaConexion());
        const CamposFactura deLaOtra{"P-1", "06/12/2007", "21", "121", "100", "21", "de la otra"};
        otra->Ejecutar(SqlActualizaFactura(deLaOtra, TipoPagos, id));
        Enfoca(3);
        Reescribe("242");
        // No: the editor stays as it is, nothing is stored.
        mensajes->Responde(Respuesta::No);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 1);
        const Mensaje m = mensajes->ultimo();
        QCOMPARE(m.texto, QStringLiteral("Otro usuario ha modificado esta factura mientras usted la tenía "
                                         "abierta, y sus cambios no se han grabado.\n\n¿Desea cargar la factura "
                                         "tal como está guardada ahora? Se perderá lo que ha escrito."));
        QCOMPARE(m.botones, Botones::SiNo);
        QCOMPARE(m.porDefecto, Respuesta::No);
        QCOMPARE(m.icono, Icono::Exclamacion);
        QCOMPARE(m.titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(Campo(3)->text(), QStringLiteral("242"));
        QCOMPARE(Campo(6)->text(), QString());
        auto rs = LeeUnica();
        QCOMPARE(rs->Campo("DESCRIPCION").Texto(), QStringLiteral("de la otra"));
        QCOMPARE(rs->Campo("IMPORTE_TOTAL").Texto(), QStringLiteral("121"));
        // Yes: the invoice as it stands now, which can then be changed.
        mensajes->Responde(Respuesta::Si);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(Campo(3)->text(), QStringLiteral("121"));
        QCOMPARE(Campo(6)->text(), QStringLiteral("de la otra"));
        Enfoca(3);
        Reescribe("242");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 2);
        rs = LeeUnica();
        QCOMPARE(rs->Campo("DESCRIPCION").Texto(), QStringLiteral("de la otra"));
        QCOMPARE(rs->Campo("IMPORTE_TOTAL").Texto(), QStringLiteral("242"));
    }

    void borradaMientrasSeEditaNoSeDaPorGrabada_data() {
        QTest::addColumn<bool>("antesDeAbrir");
        QTest::newRow("mientras está abierta") << false;
        QTest::newRow("antes de abrirla") << true;
    }

    void borradaMientrasSeEditaNoSeDaPorGrabada() {
        QFETCH(bool, antesDeAbrir);
        entorno->InsertaFactura("C", "C-1", "06/12/2007", "21", "121");
        const QString id = UltimoId();
        auto otra = ConexionBD::Abrir(CadenaConexion());
        if (antesDeAbrir)
            otra->Ejecutar(SqlBorraFactura(id));
        Abre(false, id);
        if (!antesDeAbrir)
            otra->Ejecutar(SqlBorraFactura(id));
        Teclea("c");
        Enfoca(0);
        Reescribe("C-1b");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos().last(), QStringLiteral("No se encontró la información de la factura."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(Campo(0)->text(), QStringLiteral("C-1b"));
        QVERIFY(LeeUnica()->Fin());
    }

    void camposDelTercero() {
        Abre(true);
        const QStringList tags{"NIF_TERCERO", "FECHA_OPERACION", "NOMBRE_TERCERO"};
        const int limites[] = {20, 10, 40};
        for (int i = 7; i < 10; ++i) {
            QCOMPARE(Campo(i)->palette().color(QPalette::Base), QColor(205, 233, 254));
            QCOMPARE(Campo(i)->property("Tag").toString(), tags[i - 7]);
            QCOMPARE(LimiteDeCaja(Campo(i)), limites[i - 7]);
            QVERIFY(Campo(i)->text().isEmpty());
        }
        auto etiquetas = [this] {
            QStringList r;
            for (int i = 7; i < 10; ++i)
                r << Control<QLabel>(dlg.get(), QStringLiteral("Lbls(%1)").arg(i))->text();
            return r;
        };
        // The captions name the customer or the supplier as the type says.
        QCOMPARE(etiquetas(), QStringList({"NIF", "Fecha Operación", "Nombre"}));
        Teclea("c");
        QCOMPARE(etiquetas(), QStringList({"NIF Cliente", "Fecha Operación", "Nombre Cliente"}));
        Pulsa(Qt::Key_Down);
        QCOMPARE(etiquetas(), QStringList({"NIF Proveedor", "Fecha Operación", "Nombre Proveedor"}));
    }

    void nifSeEscribeComoSeGuardaYUnAvisoDetieneUnaVez() {
        Abre(true);
        Teclea("c");
        Total();
        Enfoca(7);
        Teclea("12.345.678-a");
        Intro();
        QCOMPARE(Campo(7)->text(), QStringLiteral("12345678A"));
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(mensajes->ultimo().texto, QStringLiteral("El NIF 12345678A no es correcto: la letra de control debería "
                                                          "ser Z. Puede grabar la factura igualmente si está seguro de él."));
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QCOMPARE(mensajes->ultimo().botones, Botones::Aceptar);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(7)"));
        // Once told, the user goes on with it as it is.
        Intro();
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(8)"));
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 1);
        QCOMPARE(LeeUnica()->Campo("NIF_TERCERO").Texto(), QStringLiteral("12345678A"));
    }

    // A known NIF left fills the name not typed yet, and the country while the box holds Spain.
    void nifConocidoRellenaNombreYPais_data() {
        QTest::addColumn<QString>("nif");
        QTest::addColumn<QString>("nombre");  // typed before
        QTest::addColumn<QString>("pais");    // typed before
        QTest::addColumn<QStringList>("queda");  // name, country, kind of identifier
        QTest::newRow("español") << "12.345.678-z" << "" << "" << QStringList{"Ana Pérez", "ES", ""};
        QTest::newRow("extranjero") << "FR12345678901" << "" << "ES" << QStringList{"Société Dupont", "FR", "02"};
        QTest::newRow("país tecleado") << "FR12345678901" << "" << "BE" << QStringList{"Société Dupont", "BE", ""};
        QTest::newRow("nombre tecleado") << "12345678Z" << "Otra SL" << "ES" << QStringList{"Otra SL", "ES", ""};
        QTest::newRow("desconocido") << "00000000T" << "" << "" << QStringList{"", "", ""};
    }
    void nifConocidoRellenaNombreYPais() {
        QFETCH(QString, nif);
        QFETCH(QString, nombre);
        QFETCH(QString, pais);
        QFETCH(QStringList, queda);
        Conexion->Ejecutar("insert into TERCEROS (NIF, NOMBRE) values ('12345678Z', 'Ana Pérez')");
        Conexion->Ejecutar(
            "insert into TERCEROS (NIF, NOMBRE, PAIS, TIPO_ID) values ('FR12345678901', 'Société Dupont', 'FR', '02')");
        Abre(true);
        Teclea("c");
        Enfoca(9);
        Teclea(nombre);
        Enfoca(10);
        Reescribe(pais);
        Enfoca(7);
        Teclea(nif);
        Intro();
        QCOMPARE(mensajes->cuenta(), 0);
        auto* tipoId = Control<QComboBox>(dlg.get(), "CmbTipoId");
        QCOMPARE((QStringList{Campo(9)->text(), Campo(10)->text(), tipoId->currentData().toString()}), queda);
    }

    void nifQueFallaAlGrabarSinSalirDelCampo() {
        Abre(true);
        Teclea("p");
        Total();
        Enfoca(7);
        Teclea("fr 123");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos(), QStringList({"El NIF FR123 no tiene la forma de un DNI, NIE o CIF español. Si es "
                                                  "un identificador extranjero, puede grabar la factura igualmente."}));
        QVERIFY(LeeUnica()->Fin());
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(LeeUnica()->Campo("NIF_TERCERO").Texto(), QStringLiteral("FR123"));
    }

    void fechaDeOperacion_data() {
        QTest::addColumn<QString>("tecleada");
        QTest::addColumn<QString>("guardada");  // "" for Null
        QTest::newRow("otra fecha") << "30-11-07" << "30/11/2007";
        QTest::newRow("la de la factura") << "6/12/07" << "";
        QTest::newRow("vacía") << "" << "";
    }

    void fechaDeOperacion() {
        QFETCH(QString, tecleada);
        QFETCH(QString, guardada);
        Abre(true);
        Teclea("c");
        Enfoca(1);
        Reescribe("06/12/2007");
        Total();
        Enfoca(8);
        Reescribe("31/11/2007");
        Intro();
        QCOMPARE(mensajes->textos(), QStringList({"Esa fecha no es válida."}));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(8)"));
        Reescribe(tecleada);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(LeeUnica()->Campo("FECHA_OPERACION").Texto(), guardada);
    }

    void cargaYCambiaElTercero() {
        Conexion->Ejecutar(SqlInsertaFactura({"C-7", "06/12/2007", "21", "121", "100", "21", ""}, TipoCobros,
                                             {"B12345674", "30/11/2007", "Talleres O'Hara"}));
        Abre(false, UltimoId());
        QCOMPARE(QStringList({Campo(7)->text(), Campo(8)->text(), Campo(9)->text()}),
                 QStringList({"B12345674", "30/11/2007", "Talleres O'Hara"}));
        Enfoca(9);
        Reescribe("");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        auto rs = LeeUnica();
        QVERIFY(rs->Campo("NOMBRE_TERCERO").EsNulo());
        QCOMPARE(rs->Campo("NIF_TERCERO").Texto(), QStringLiteral("B12345674"));
        QCOMPARE(mensajes->cuenta(), 0);
    }

    void repetidaPreguntaAntesDeGrabar() {
        // The same supplier's F-1 in the year of a new invoice (today's).
        const QDate hoy = QDate::currentDate();
        Conexion->Ejecutar(SqlInsertaFactura({"F-1", QStringLiteral("01/01/%1").arg(hoy.year()), "21", "121", "", "", ""},
                                             TipoPagos, {"B12345674", "", ""}));
        Abre(true);
        Teclea("p");
        Intro();
        Teclea("F-1");
        Total();
        Enfoca(7);
        Teclea("b-12345674");
        // No: nothing is stored and the editor keeps what was typed.
        mensajes->Responde(Respuesta::No);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Ya existe una factura de Pagos del NIF B12345674 con el "
                                                                "código F-1 en el año %1.\n\n¿Desea grabarla de todas "
                                                                "formas?").arg(hoy.year())});
        QCOMPARE(mensajes->ultimo().botones, Botones::SiNo);
        QCOMPARE(mensajes->ultimo().porDefecto, Respuesta::No);
        QCOMPARE(mensajes->ultimo().icono, Icono::Pregunta);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(Campo(0)->text(), QStringLiteral("F-1"));
        QCOMPARE(LeeUnica()->NumFilas(), 1);
        // Yes: stored all the same.
        mensajes->Responde(Respuesta::Si);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 2);
        QCOMPARE(LeeUnica()->NumFilas(), 2);
    }

    void sinTotalNoSeGraba() {
        OpcionIva = QStringLiteral("IGIC");
        Abre(true);
        Teclea("c");
        Intro();
        Teclea("F-1");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos(),
                 QStringList{"El campo 'Importe Total (IGIC incluido)' no puede quedar vacío."});
        QCOMPARE(mensajes->ultimo().icono, Icono::Informacion);
        QCOMPARE(mensajes->ultimo().botones, Botones::Aceptar);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(3)"));
        QVERIFY(LeeUnica()->Fin());
    }

    void incompletaPreguntaAlGrabar_data() {
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<QString>("guardada");  // VAT amount, net, rate; "" when nothing is stored
        QTest::newRow("Sí: se completa") << int(Respuesta::Si) << "21|100|21";
        QTest::newRow("No: tal cual") << int(Respuesta::No) << "||21";
        QTest::newRow("Cancelar: nada") << int(Respuesta::Cancelar) << "";
    }

    void incompletaPreguntaAlGrabar() {
        QFETCH(int, respuesta);
        QFETCH(QString, guardada);
        Abre(true);
        Teclea("c");
        Enfoca(5);
        Reescribe("21");
        Enfoca(3);
        Teclea("121");
        // Tab never completes; the save asks.
        Pulsa(Qt::Key_Tab);
        QCOMPARE(Campo(2)->text(), QString());
        mensajes->Responde(Respuesta(respuesta));
        Pulsa(Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(mensajes->cuenta(), 1);
        const Mensaje m = mensajes->ultimo();
        QCOMPARE(m.texto, QStringLiteral("La factura no tiene calculado el importe del IVA. ¿Desea calcularlo a partir "
                                         "del total y el porcentaje?"));
        QCOMPARE(m.botones, Botones::SiNoCancelar);
        QCOMPARE(m.porDefecto, Respuesta::Si);
        QCOMPARE(m.icono, Icono::Pregunta);
        QCOMPARE(m.titulo, QStringLiteral("Fiscalino"));
        if (guardada.isEmpty()) {
            QVERIFY(dlg->isVisible());
            QCOMPARE(Campo(2)->text(), QString());
            QVERIFY(LeeUnica()->Fin());
            return;
        }
        QTRY_VERIFY(!dlg->isVisible());
        auto rs = LeeUnica();
        QCOMPARE(QStringList({rs->Campo("IMPORTE_IVA").Texto(), rs->Campo("IMPORTE_NETO").Texto(),
                              rs->Campo("IVA").Texto()})
                     .join('|'),
                 guardada);
        QCOMPARE(rs->Campo("IMPORTE_TOTAL").Texto(), QStringLiteral("121"));
    }

    void tipoNoVigentePreguntaAntesDeGrabar() {
        // Today: VAT 100, rate 10 %; the total changed to 1.210,00 gives 9 %.
        entorno->InsertaFactura("C", "C-1", "15/07/2026", "100", "1.100", "1000", "10");
        Abre(false, UltimoId());
        Total("1.210,00");
        QCOMPARE(Campo(5)->text(), QStringLiteral("9"));
        mensajes->Responde(Respuesta::No);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        QCOMPARE(mensajes->textos(), QStringList{"El 9 % no es un tipo de IVA vigente el 15/07/2026. ¿Desea grabar la "
                                                 "factura de todos modos?"});
        QCOMPARE(mensajes->ultimo().botones, Botones::SiNo);
        QCOMPARE(mensajes->ultimo().porDefecto, Respuesta::No);
        QCOMPARE(mensajes->ultimo().icono, Icono::Exclamacion);
        QCOMPARE(mensajes->ultimo().titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(5)"));
        QCOMPARE(LeeUnica()->Campo("IVA").Texto(), QStringLiteral("10"));
        // By the operation date when there is one; yes saves it as it is.
        Enfoca(8);
        Teclea("30/12/2025");
        mensajes->Responde(Respuesta::Si);
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->textos().last(), QStringLiteral("El 9 % no es un tipo de IVA vigente el 30/12/2025. ¿Desea "
                                                           "grabar la factura de todos modos?"));
        QCOMPARE(LeeUnica()->Campo("IVA").Texto(), QStringLiteral("9"));
    }

    void igicConDecimales() {
        OpcionIva = QStringLiteral("IGIC");
        Abre(true);
        Teclea("c");
        Enfoca(1);
        Reescribe("15/07/2026");
        Enfoca(2);
        Teclea("9,50");
        Total("109,50");
        QCOMPARE(Campo(5)->text(), QStringLiteral("9,5"));
        QCOMPARE(Campo(4)->text(), QStringLiteral("100"));
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(mensajes->cuenta(), 0);
        QCOMPARE(LeeUnica()->Campo("IVA").Numero(), 9.5);
    }

    void terceroDeOtroPais() {
        Abre(true);
        auto* tipoId = Control<QComboBox>(dlg.get(), "CmbTipoId");
        QCOMPARE(Campo(10)->text(), QStringLiteral("ES"));
        QCOMPARE(Control<QLabel>(dlg.get(), "Lbls(10)")->text(), QStringLiteral("País"));
        QCOMPARE(Control<QLabel>(dlg.get(), "Lbls(12)")->text(), QStringLiteral("Tipo de identificación"));
        QVERIFY(!tipoId->isEnabled());
        QStringList tipos;
        for (int i = 0; i < tipoId->count(); ++i)
            tipos << tipoId->itemText(i);
        QCOMPARE(tipos, QStringList({"02 NIF-IVA", "03 Pasaporte", "04 Documento oficial", "05 Certificado de residencia",
                                     "06 Otro"}));
        Teclea("c");
        Total();
        Enfoca(10);
        Reescribe("f1r");
        QCOMPARE(Campo(10)->text(), QStringLiteral("FR"));
        Intro();
        Intro();  // from the kind of identifier, left empty, to the NIF
        // Another country's identifier is not held to the Spanish rules, but needs its kind.
        Teclea("fr12345678901");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{"Indique el tipo de identificación del tercero de otro país."});
        QCOMPARE(NombreFoco(), QStringLiteral("CmbTipoId"));
        Teclea("0");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        auto rs = LeeUnica();
        QCOMPARE(rs->Campo("PAIS_TERCERO").Texto() + "|" + rs->Campo("TIPO_ID_TERCERO").Texto() + "|" +
                     rs->Campo("NIF_TERCERO").Texto(),
                 QStringLiteral("FR|02|FR12345678901"));
        // Read again as stored; a country of one letter is no country.
        Abre(false, UltimoId());
        QCOMPARE(Control<QComboBox>(dlg.get(), "CmbTipoId")->currentText(), QStringLiteral("02 NIF-IVA"));
        Enfoca(10);
        Reescribe("E");
        QTest::mouseClick(Boton("BtnAceptar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos().last(),
                 QStringLiteral("Escriba el país con las dos letras de su código (ES para España, FR para Francia...)."));
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(10)"));
    }

    void introEnElTipoPasaAlCodigo() {
        Abre(true);
        Teclea("p");
        QCOMPARE(Tipo()->currentText(), QStringLiteral("Pagos"));
        Intro();
        QCOMPARE(NombreFoco(), QStringLiteral("Txts(0)"));
        QVERIFY(dlg->isVisible());
    }
};

QTEST_MAIN(PruebaFacturasDatosFrm)
#include "FacturasDatosFrm_qtest.moc"
