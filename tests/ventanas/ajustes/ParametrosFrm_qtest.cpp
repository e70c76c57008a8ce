#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QLineEdit* Txt(QWidget* w, int i) { return Control(w, QStringLiteral("Txts(%1)").arg(i)); }

QVariant Celda(const QString& sql) {
    auto rs = Conexion->AbrirRegistros(sql);
    if (rs->Fin())
        return QStringLiteral("(sin fila)");
    const Valor& v = rs->Campo(0);
    return v.EsNulo() ? QVariant() : QVariant(v.Texto());
}

int FilasParametros() { return Celda(QStringLiteral("select count(*) from PARAMETROS")).toInt(); }

void Vacia(QLineEdit* caja) {
    caja->setFocus();
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Backspace);
}

}  // namespace

class ParametrosFrmTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> e;
    std::unique_ptr<RegistroMensajes> r;

private slots:
    void initTestCase() { InstalaSustitutosFuentes(); }
    void init() {
        e = std::make_unique<EntornoPruebas>();
        e->Conecta();
        r = std::make_unique<RegistroMensajes>();
    }
    void cleanup() {
        r.reset();
        e.reset();
    }

    void ControlesConSusTextosEtiquetasYLimites() {
        ParametrosFrm f;
        QCOMPARE(f.objectName(), QStringLiteral("ParametrosFrm"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Configuración de la Aplicación"));
        const char* etiquetas[] = {"Palabra Clave", "Repetir Palabra Clave", "Porcentaje del IVA por defecto"};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Control<QLabel>(&f, QStringLiteral("Lbls(%1)").arg(i))->text(), QString::fromUtf8(etiquetas[i]));
        QCOMPARE(Control<QLabel>(&f, "Lbls(4)")->text(), QStringLiteral("Frase al final del informe impreso (opcional)"));
        const QString opcion = Control<QLabel>(&f, "Lbls(3)")->text();
        QCOMPARE(opcion.size(), 84);
        QCOMPARE(opcion, ParametrosFrm::TextoOpcionIva());
        QVERIFY(opcion.startsWith(QStringLiteral("Opción IVA: sustituir la palabra \"IVA\" por") + QString(24, ' ') +
                                  QStringLiteral("(por ejemplo IGIC)")));

        struct Caja { int i; const char* tag; int longitud; bool asteriscos; };
        const Caja cajas[] = {{0, "PALABRA_CLAVE", 10, true}, {1, "PALABRA_CLAVE", 10, true},
                              {2, "IVA", 2, false}, {3, "OPCION_IVA", 8, false}};
        for (const Caja& c : cajas) {
            QLineEdit* t = Txt(&f, c.i);
            QCOMPARE(t->property("Tag").toString(), QString::fromLatin1(c.tag));
            QCOMPARE(LimiteDeCaja(t), c.longitud);
            QCOMPARE(t->echoMode() == QLineEdit::Password, c.asteriscos);
        }
        auto* frase = Control<QPlainTextEdit>(&f, "Txts(4)");
        QCOMPARE(frase->property("Tag").toString(), QStringLiteral("FRASE_FINAL"));
        QCOMPARE(frase->font().family(), QStringLiteral("Arial"));
        QCOMPARE(frase->font().pointSizeF(), 8.25);

        auto* marco = Control<QGroupBox>(&f, "FraRest");
        QCOMPARE(marco->title(), QStringLiteral("Restringir el acceso mediante la Palabra Clave a las siguientes pantallas"));
        QCOMPARE(Control<QCheckBox>(&f, "ChkRest(0)")->text(), QStringLiteral("Facturas"));
        QCOMPARE(Control<QCheckBox>(&f, "ChkRest(1)")->text(), QStringLiteral("Informes"));
        QCOMPARE(Control<QCheckBox>(&f, "ChkRest(0)")->parentWidget(), marco);
        QCOMPARE(Control<QCheckBox>(&f, "ChkRest(1)")->property("Tag").toString(), QStringLiteral("ACCESO_INFORMES"));
        QCOMPARE(Control<QPushButton>(&f, "BtnGrabar")->text(), QStringLiteral("&Grabar"));
        QCOMPARE(Control<QPushButton>(&f, "BtnSalir")->text(), QStringLiteral("&Salir"));
        QVERIFY(!Control<QPushButton>(&f, "BtnGrabar")->isDefault());
        QCOMPARE(Txt(&f, 0)->toolTip(),
                 QStringLiteral("La clave que aquí se escriba se empleará para acceder a pantallas restringidas"));
        QCOMPARE(Txt(&f, 1)->toolTip(), QStringLiteral("Debe coincidir con la palabra clave"));
        QVERIFY(Txt(&f, 3)->toolTip().endsWith(QStringLiteral("la palabra que debe aparecer en lugar de IVA (8 letras)")));
        QCOMPARE(frase->toolTip(),
                 QStringLiteral("Frase que puede imprimir al final del informe si lo desea, 100 caracteres máximo"));
        QCOMPARE(marco->toolTip(),
                 QStringLiteral("Permite visualizar los totales de ventas en el cierre de caja o impedir que se vean"));
    }

    void LaCajaDeLaPalabraTapaLosBlancosDeSuEtiqueta() {
        ParametrosFrm f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* etiqueta = Control<QLabel>(&f, "Lbls(3)");
        const QFontMetrics fm(etiqueta->font());
        const QString texto = etiqueta->text();
        const int antes = fm.horizontalAdvance(texto.left(texto.indexOf(QString(24, ' '))));
        const int blancos = fm.horizontalAdvance(QString(24, ' '));
        const QRect caja = Txt(&f, 3)->geometry();
        const int x0 = etiqueta->geometry().left() + antes;
        QVERIFY2(caja.left() >= x0 && caja.right() <= x0 + blancos,
                 qPrintable(QStringLiteral("%1..%2 fuera de %3..%4").arg(caja.left()).arg(caja.right()).arg(x0).arg(x0 + blancos)));
        QVERIFY(caja.width() >= blancos - 6);
        QVERIFY(caja.intersects(etiqueta->geometry()));
        QVERIFY(f.width() >= etiqueta->geometry().right());
        // The box is drawn over the label, not under it.
        QCOMPARE(f.childAt(caja.center()), static_cast<QWidget*>(Txt(&f, 3)));
    }

    void ElTabuladorSigueSuOrden() {
        ParametrosFrm f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        Txt(&f, 0)->setFocus();
        const QStringList esperado = {"Txts(1)", "Txts(2)", "TxtCopias", "Txts(3)", "Txts(4)", "BtnGrabar", "BtnSalir",
                                      "BtnBaseDatos", "ChkRest(0)", "ChkRest(1)", "Txts(0)"};
        for (const QString& nombre : esperado) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), nombre);
        }
    }

    void PrimeraVezMuestraLosValoresInicialesYGuardaLaFila() {
        ParametrosFrm f;
        f.show();
        QVERIFY(f.FaltaFila());
        QCOMPARE(Txt(&f, 0)->text(), QString());
        QCOMPARE(Txt(&f, 1)->text(), QString());
        QVERIFY(Txt(&f, 1)->isEnabled());
        QVERIFY(Control<QLabel>(&f, "Lbls(1)")->isEnabled());
        QCOMPARE(Txt(&f, 2)->text(), QStringLiteral("21"));
        QCOMPARE(Txt(&f, 3)->text(), QStringLiteral("IVA"));
        QCOMPARE(Control<QPlainTextEdit>(&f, "Txts(4)")->toPlainText(), QString());
        QVERIFY(!Control<QCheckBox>(&f, "ChkRest(0)")->isChecked());
        QVERIFY(!Control<QCheckBox>(&f, "ChkRest(1)")->isChecked());

        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->cuenta(), 1);
        QCOMPARE(r->ultimo().texto,
                 QStringLiteral("Datos actualizados. Reinicie la aplicación para que los cambios surtan efecto."));
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Configuración de la Aplicación"));
        QCOMPARE(r->ultimo().icono, Icono::Informacion);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(FilasParametros(), 1);
        QCOMPARE(Celda("select IVA || OPCION_IVA || ACCESO_FACTURAS || ACCESO_INFORMES from PARAMETROS").toString(),
                 QStringLiteral("21IVANN"));
        QVERIFY(Celda("select PALABRA_CLAVE from PARAMETROS").isNull());
        QVERIFY(Celda("select FRASE_FINAL from PARAMETROS").isNull());
        // The parameters in memory wait for the next start.
        QCOMPARE(IvaPorDefecto, short(0));
    }

    // A new database proposes the general rate of its tax: 7 for IGIC, 21 for
    // the rest, while the user has not typed another; a stored row is as it is.
    void PrimeraVezElPorcentajeSigueALaPalabra() {
        {
            ParametrosFrm f;
            f.show();
            const struct {
                const char* caja;
                const char* texto;
                const char* porcentaje;
            } pasos[] = {
                {"Txts(3)", "IGIC", "7"},  {"Txts(3)", "igic ", "7"}, {"Txts(3)", "IPSI", "21"},
                {"Txts(3)", "IGIC", "7"},  {"Txts(2)", "3", "3"},     {"Txts(3)", "IVA", "3"},
            };
            for (const auto& p : pasos) {
                Vacia(Control(&f, p.caja));
                Escribe(Control(&f, p.caja), QString::fromLatin1(p.texto));
                QCOMPARE(Txt(&f, 2)->text(), QString::fromLatin1(p.porcentaje));
            }
        }
        e->InsertaParametros(QStringLiteral("IVA"), 21);
        ParametrosFrm f;
        f.show();
        Vacia(Txt(&f, 3));
        Escribe(Txt(&f, 3), QStringLiteral("IGIC"));
        QCOMPARE(Txt(&f, 2)->text(), QStringLiteral("21"));
    }

    void UnaClaveGuardadaPideRepetirlaAlCambiarla() {
        {
            ParametrosFrm f;
            f.show();
            Escribe(Txt(&f, 0), QStringLiteral("Clave"));
            Escribe(Txt(&f, 1), QStringLiteral("Clave"));
            Escribe(Control<QPlainTextEdit>(&f, "Txts(4)"), QStringLiteral("Gràcies per l'encàrrec"));
            QTest::mouseClick(Control<QCheckBox>(&f, "ChkRest(0)"), Qt::LeftButton);
            QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
            QCOMPARE(f.result(), int(QDialog::Accepted));
        }
        const QString guardada = Celda("select PALABRA_CLAVE from PARAMETROS").toString();
        QVERIFY(guardada != QStringLiteral("Clave"));
        QCOMPARE(CodificarClave(false, guardada), QStringLiteral("Clave"));
        QCOMPARE(Celda("select FRASE_FINAL from PARAMETROS").toString(), QStringLiteral("Gràcies per l'encàrrec"));

        r->Limpia();
        ParametrosFrm f;
        f.show();
        QVERIFY(!f.FaltaFila());
        QCOMPARE(Txt(&f, 0)->text(), QStringLiteral("Clave"));
        QCOMPARE(Txt(&f, 1)->text(), QStringLiteral("Clave"));
        QCOMPARE(Txt(&f, 0)->displayText(), QStringLiteral("*****"));
        QCOMPARE(Txt(&f, 1)->displayText(), QStringLiteral("*****"));
        QVERIFY(!Txt(&f, 1)->isEnabled());
        QVERIFY(!Control<QLabel>(&f, "Lbls(1)")->isEnabled());
        QVERIFY(Control<QCheckBox>(&f, "ChkRest(0)")->isChecked());
        QVERIFY(!Control<QCheckBox>(&f, "ChkRest(1)")->isChecked());

        // Passing through the password box leaves the repeat box closed.
        QTest::keyClick(Txt(&f, 0), Qt::Key_Tab);
        QVERIFY(!Txt(&f, 1)->isEnabled());

        // One more character: the repeat box opens and keeps its old content.
        Txt(&f, 0)->setFocus();
        Txt(&f, 0)->end(false);
        QTest::keyClick(Txt(&f, 0), Qt::Key_2);
        QVERIFY(Txt(&f, 1)->isEnabled());
        QCOMPARE(Txt(&f, 1)->text(), QStringLiteral("Clave"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->textos(), QStringList{QStringLiteral("La palabra clave no coincide con la repetición.")});
        QCOMPARE(r->ultimo().icono, Icono::Informacion);
        QCOMPARE(r->ultimo().titulo, QStringLiteral("Fiscalino"));
        QVERIFY(f.isVisible());
        QCOMPARE(CodificarClave(false, Celda("select PALABRA_CLAVE from PARAMETROS").toString()), QStringLiteral("Clave"));

        Txt(&f, 1)->end(false);
        QTest::keyClick(Txt(&f, 1), Qt::Key_2);
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(CodificarClave(false, Celda("select PALABRA_CLAVE from PARAMETROS").toString()), QStringLiteral("Clave2"));
        QCOMPARE(FilasParametros(), 1);
    }

    void VaciarLaClaveVaciaLaRepeticionYGuardaNull() {
        e->InsertaParametros();
        Conexion->Ejecutar(QStringLiteral("update PARAMETROS set PALABRA_CLAVE = '") + CodificarClave(true, "ab") + "'");
        ParametrosFrm f;
        f.show();
        QVERIFY(!Txt(&f, 1)->isEnabled());
        Txt(&f, 0)->setFocus();
        Txt(&f, 0)->end(false);
        QTest::keyClick(Txt(&f, 0), Qt::Key_Backspace);
        QTest::keyClick(Txt(&f, 0), Qt::Key_Backspace);
        QCOMPARE(Txt(&f, 0)->text(), QString());
        QVERIFY(Txt(&f, 1)->isEnabled());
        QCOMPARE(Txt(&f, 1)->text(), QString());
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QVERIFY(Celda("select PALABRA_CLAVE from PARAMETROS").isNull());
    }

    void UnPorcentajeVacioSeRechaza() {
        e->InsertaParametros();
        ParametrosFrm f;
        f.show();
        QCOMPARE(Txt(&f, 2)->text(), QStringLiteral("21"));
        Vacia(Txt(&f, 2));
        Vacia(Txt(&f, 3));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->textos(),
                 QStringList{QStringLiteral("El campo 'Porcentaje del IVA por defecto' no puede quedar vacío.")});
        QCOMPARE(r->ultimo().icono, Icono::Informacion);
        QVERIFY(f.isVisible());
        QCOMPARE(Celda("select IVA from PARAMETROS").toString(), QStringLiteral("21"));

        // Only digits reach the percentage box.
        Escribe(Txt(&f, 2), QStringLiteral("a7,'"));
        QCOMPARE(Txt(&f, 2)->text(), QStringLiteral("7"));
        r->Limpia();
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->textos(), QStringList{QStringLiteral("El campo '") + ParametrosFrm::TextoOpcionIva() +
                                          QStringLiteral("' no puede quedar vacío.")});
        Escribe(Txt(&f, 3), QStringLiteral("IGIC"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(Celda("select IVA || OPCION_IVA from PARAMETROS").toString(), QStringLiteral("7IGIC"));
    }

    // The number of automatic copies belongs to this computer's settings:
    // it is checked with the rest, and stored only when the row is.
    void LasCopiasAutomaticasSeGuardanEnLosAjustes() {
        e->InsertaParametros();
        ParametrosFrm f;
        f.show();
        auto* copias = Control(&f, "TxtCopias");
        QCOMPARE(Control<QLabel>(&f, "LblCopias")->text(), QStringLiteral("Copias automáticas al salir (0: ninguna)"));
        QCOMPARE(copias->text(), QStringLiteral("7"));
        QVERIFY(copias->geometry().right() < f.width());
        Vacia(copias);
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->textos(), QStringList{QStringLiteral(
                                  "El campo 'Copias automáticas al salir (0: ninguna)' no puede quedar vacío.")});
        QVERIFY(f.isVisible());
        QCOMPARE(CopiasAutomaticas(), 7);

        Escribe(copias, QStringLiteral("x30"));
        QCOMPARE(copias->text(), QStringLiteral("30"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(CopiasAutomaticas(), 30);
        ParametrosFrm g;
        QCOMPARE(Control(&g, "TxtCopias")->text(), QStringLiteral("30"));
    }

    void UnaPalabraVaciaEnLaBaseSeMuestraComoIva() {
        e->InsertaParametros(QString());
        ParametrosFrm f;
        QCOMPARE(Txt(&f, 3)->text(), QStringLiteral("IVA"));
        QCOMPARE(r->cuenta(), 0);
    }

    void SalirNoGuardaNada() {
        ParametrosFrm f;
        f.show();
        Escribe(Txt(&f, 0), QStringLiteral("x"));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(FilasParametros(), 0);

        ParametrosFrm g;
        g.show();
        QTest::mouseClick(Control<QPushButton>(&g, "BtnSalir"), Qt::LeftButton);
        QVERIFY(!g.isVisible());
        QCOMPARE(FilasParametros(), 0);
        QCOMPARE(r->cuenta(), 0);
    }

    void EnterNoGuarda() {
        ParametrosFrm f;
        f.show();
        QTest::keyClick(Txt(&f, 3), Qt::Key_Return);
        QVERIFY(f.isVisible());
        QCOMPARE(FilasParametros(), 0);
        auto* frase = Control<QPlainTextEdit>(&f, "Txts(4)");
        frase->setFocus();
        QTest::keyClicks(frase, "a");
        QTest::keyClick(frase, Qt::Key_Return);
        QTest::keyClicks(frase, "b");
        QCOMPARE(frase->toPlainText(), QStringLiteral("a\nb"));
        QVERIFY(f.isVisible());
    }

    void LoQueNoSePuedeGuardarSeDiceSinTocarLaBase() {
        const QString nulo(QChar(0));
        const QString control = QStringLiteral(
            "' contiene caracteres que no se pueden guardar (caracteres de control, que no se ven, o caracteres "
            "incompletos). Bórrelos y vuelva a intentarlo.");
        const QString clave = QStringLiteral(
            "La palabra clave sólo puede llevar letras, números, espacios y los signos del teclado. No admite la «ú» "
            "ni la «ü» en minúscula (sí en mayúscula), ni emojis u otros símbolos especiales.");
        const struct {
            const char* caja;
            QString texto, mensaje;
        } casos[] = {
            {"Txts(0)", "ab" + nulo + "c", "El campo 'Palabra Clave" + control},
            {"Txts(0)", QStringLiteral("abcü"), clave},
            {"Txts(0)", QStringLiteral("ab😍"), clave},
            {"Txts(3)", "IG" + nulo + "IC",
             "El campo 'Opción IVA: sustituir la palabra \"IVA\" por (por ejemplo IGIC)" + control},
            {"Txts(4)", "Gracias" + nulo, "El campo 'Frase al final del informe impreso (opcional)" + control},
        };
        for (const auto& c : casos) {
            r->Limpia();
            ParametrosFrm f;
            f.show();
            QWidget* caja = Control<QWidget>(&f, QString::fromLatin1(c.caja));
            Pega(caja, c.texto);
            if (caja == Txt(&f, 0))
                Pega(Txt(&f, 1), c.texto);
            QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
            QCOMPARE(r->textos(), QStringList{c.mensaje});
            QCOMPARE(r->ultimo().icono, Icono::Informacion);
            QCOMPARE(r->ultimo().titulo, QStringLiteral("Fiscalino"));
            QVERIFY(f.isVisible());
            QCOMPARE(FilasParametros(), 0);
        }
    }

    void UnEmojiSeGuardaEnteroONoSeGuarda() {
        ParametrosFrm f;
        f.show();
        const QString cara = QString::fromUtf8("😍");
        Pega(Txt(&f, 3), "secretos" + cara);
        QCOMPARE(Txt(&f, 3)->text(), QStringLiteral("secretos"));
        Pega(Txt(&f, 3), "secreto" + cara);
        QCOMPARE(Txt(&f, 3)->text(), "secreto" + cara);
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(Celda("select OPCION_IVA from PARAMETROS").toString(), "secreto" + cara);
    }

    void UnFalloAlGuardarDejaLaPantallaAbiertaConSusDatos() {
        e->InsertaParametros();
        ParametrosFrm f;
        f.show();
        Conexion->Ejecutar(QStringLiteral("drop table PARAMETROS"));
        Vacia(Txt(&f, 3));
        Escribe(Txt(&f, 3), QStringLiteral("IGIC"));
        QTest::mouseClick(Control<QPushButton>(&f, "BtnGrabar"), Qt::LeftButton);
        QCOMPARE(r->cuenta(), 2);
        QVERIFY(r->mostrados()[0].texto.startsWith(QStringLiteral("Se produjo un error: ")));
        QCOMPARE(r->mostrados()[0].titulo, QStringLiteral("Error con la Base de Datos"));
        QCOMPARE(r->mostrados()[1].texto,
                 QStringLiteral("Este error es posible que sea debido a que la versión de su programa y de su base de "
                                "datos no sean la misma. Consulte con su distribuidor."));
        QVERIFY(f.isVisible());
        QCOMPARE(Txt(&f, 3)->text(), QStringLiteral("IGIC"));
    }
};

QTEST_MAIN(ParametrosFrmTest)
#include "ParametrosFrm_qtest.moc"
