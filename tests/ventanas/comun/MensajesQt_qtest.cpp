// The program's message boxes behind the message seam.
#include "ApoyoPantallas.h"

#include "base/Mensajes.h"
#include "ventanas/comun/MensajesQt.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class PruebaMensajesQt : public QObject {
    Q_OBJECT

    struct Vista {
        QString titulo, texto, porDefecto;
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        QStringList botones;
    };

    // Looks at the box that opens, then presses `boton` (a caption) or `tecla`.
    static void Mira(Vista& v, const QString& boton, int tecla = 0) {
        AlAbrirModal([&v, boton, tecla](QWidget* m) {
            auto* caja = qobject_cast<QMessageBox*>(m);
            QVERIFY(caja);
            v.titulo = caja->windowTitle();
            v.texto = caja->text();
            v.icono = caja->icon();
            for (QAbstractButton* b : caja->buttons())
                v.botones << b->text();
            v.botones.sort();
            if (caja->defaultButton())
                v.porDefecto = caja->defaultButton()->text();
            if (tecla) {
                QTest::keyClick(caja, Qt::Key(tecla));
                return;
            }
            for (QAbstractButton* b : caja->buttons())
                if (b->text() == boton)
                    QTest::mouseClick(b, Qt::LeftButton);
        });
    }

private slots:
    void initTestCase() { InstalaCajasDeMensaje(); }
    void cleanup() { CancelaEsperasDeModales(); }

    void PreguntaSiNo() {
        Vista v;
        Mira(v, QStringLiteral("&No"));
        const Respuesta r = MuestraMensaje(QStringLiteral("¿Seguro que desea salir de la aplicación?"), Botones::SiNo,
                                           Icono::Pregunta);
        QCOMPARE(r, Respuesta::No);
        QCOMPARE(v.titulo, QStringLiteral("Fiscalino"));
        QCOMPARE(v.texto, QStringLiteral("¿Seguro que desea salir de la aplicación?"));
        QCOMPARE(v.icono, QMessageBox::Question);
        QCOMPARE(v.botones, (QStringList{"&No", "&Sí"}));
        QCOMPARE(v.porDefecto, QStringLiteral("&Sí"));
    }

    void EnterDaElBotonPorDefecto() {
        Vista v;
        Mira(v, QString(), Qt::Key_Return);
        QCOMPARE(MuestraMensaje(QStringLiteral("x"), Botones::SiNo, Icono::Pregunta, QString(), Respuesta::No),
                 Respuesta::No);
        QCOMPARE(v.porDefecto, QStringLiteral("&No"));
    }

    void AvisoConTituloPropio() {
        Vista v;
        Mira(v, QStringLiteral("Aceptar"));
        QCOMPARE(MuestraMensaje(QStringLiteral("Atención"), Botones::Aceptar, Icono::Informacion,
                                QStringLiteral("Primera ejecución - CONFIGURACIÓN")),
                 Respuesta::Aceptar);
        QCOMPARE(v.titulo, QStringLiteral("Primera ejecución - CONFIGURACIÓN"));
        QCOMPARE(v.icono, QMessageBox::Information);
        QCOMPARE(v.botones, QStringList{"Aceptar"});
    }

    void SinIconoYEscCancela() {
        Vista v;
        Mira(v, QString(), Qt::Key_Escape);
        QCOMPARE(MuestraMensaje(QStringLiteral("¿Seguir?"), Botones::AceptarCancelar), Respuesta::Cancelar);
        QCOMPARE(v.icono, QMessageBox::NoIcon);
        QCOMPARE(v.botones, (QStringList{"Aceptar", "Cancelar"}));
    }

    void TresBotones() {
        Vista v;
        Mira(v, QStringLiteral("Cancelar"));
        QCOMPARE(MuestraMensaje(QStringLiteral("¿Guardar?"), Botones::SiNoCancelar, Icono::Exclamacion),
                 Respuesta::Cancelar);
        QCOMPARE(v.icono, QMessageBox::Warning);
        QCOMPARE(v.botones, (QStringList{"&No", "&Sí", "Cancelar"}));
    }
};

QTEST_MAIN(PruebaMensajesQt)
#include "MensajesQt_qtest.moc"
