// "Copiar datos al servidor" on the database screen, against the test server:
// what was copied is told in words and amounts as the program writes them.
#include "ApoyoPantallas.h"

#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "informes/Fuentes.h"
#include "ventanas/ajustes/BaseDatosFrm.h"

#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

class PruebaCopiarAlServidor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!PruebasEnServidor())
            QSKIP("sólo con un servidor de pruebas");
        InstalaSustitutosFuentes();
    }

    void ElResultadoSeLeeEnEspanol_data() {
        QTest::addColumn<int>("facturas");
        QTest::addColumn<bool>("empresa");
        QTest::addColumn<QString>("resumen");
        QTest::newRow("una") << 1 << false
                             << "1 factura (bases 24.651,38; cuotas 5.176,79; totales 29.828,17)\n"
                                "Configuración de la aplicación: 1 registro\n"
                                "Datos de la empresa: ningún registro";
        QTest::newRow("dos") << 2 << true
                             << "2 facturas (bases 49.302,76; cuotas 10.353,58; totales 59.656,34)\n"
                                "Configuración de la aplicación: 1 registro\n"
                                "Datos de la empresa: 1 registro";
        QTest::newRow("ninguna") << 0 << false
                                 << "Ninguna factura\n"
                                    "Configuración de la aplicación: 1 registro\n"
                                    "Datos de la empresa: ningún registro";
    }

    void ElResultadoSeLeeEnEspanol() {
        QFETCH(int, facturas);
        QFETCH(bool, empresa);
        QFETCH(QString, resumen);
        EntornoPruebas e;
        const QUrl servidor(RutaBaseDatos());  // a new, empty database
        FijaRutaBaseDatos(e.Carpeta() + QStringLiteral("/aqui.mdb"));
        e.Conecta();
        e.InsertaParametros();
        for (int i = 0; i < facturas; ++i)
            e.InsertaFactura("C", QStringLiteral("C-%1").arg(i), "06/12/2026", "5.176,79", "29.828,17", "24.651,38",
                             "21");
        if (empresa)
            Conexion->Ejecutar(QStringLiteral("insert into DATOS_EMPRESA (NOMBRE) values ('Taller')"));
        RegistroMensajes r;
        r.Responde(Respuesta::Si);

        BaseDatosFrm f;
        f.show();
        QTest::mouseClick(Control<QRadioButton>(&f, "OptServidor"), Qt::LeftButton, {}, QPoint(8, Control<QRadioButton>(&f, "OptServidor")->height() / 2));
        Reemplaza(Control<QLineEdit>(&f, "TxtServidor"), QUrlQuery(servidor).queryItemValue(QStringLiteral("host")));
        Reemplaza(Control<QLineEdit>(&f, "TxtPuerto"), QStringLiteral("5432"));
        Reemplaza(Control<QLineEdit>(&f, "TxtBase"), servidor.path().mid(1));
        Reemplaza(Control<QLineEdit>(&f, "TxtUsuario"), servidor.userName());
        QTest::mouseClick(Control<QPushButton>(&f, "BtnCopiar"), Qt::LeftButton);

        QCOMPARE(r.cuenta(), 2);
        const Mensaje m = r.ultimo();
        QCOMPARE(m.texto, QStringLiteral("Datos copiados al servidor; coinciden con los de este equipo:\n") + resumen);
        QCOMPARE(m.icono, Icono::Informacion);
        QCOMPARE(m.botones, Botones::Aceptar);
        QCOMPARE(m.titulo, QStringLiteral("Fiscalino"));
    }
};

QTEST_MAIN(PruebaCopiarAlServidor)
#include "CopiarAlServidor_qtest.moc"
