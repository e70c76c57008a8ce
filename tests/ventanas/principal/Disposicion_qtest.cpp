// Every screen as it shows on a 1280×1024 screen, at the size the program
// gives it and at double size (QT_SCALE_FACTOR=2): no control over another,
// none outside its window, no window outside the screen; no access key used
// twice in a window; every control reached with Tab. A picture of each case
// is left under capturas/ for a person to look at.
#include "ApoyoDisposicion.h"
#include "ApoyoPantallas.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/copias/Copias.h"
#include "datos/BaseDatos.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "ventanas/libros/LibrosRegistroFrm.h"
#include "ventanas/liquidacion/LiquidacionFrm.h"
#include "ventanas/declaraciones/ClientesProveedoresFrm.h"
#include "ventanas/declaraciones/ContactoFrm.h"
#include "ventanas/declaraciones/Modelo347Frm.h"
#include "ventanas/declaraciones/Modelo390Frm.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/AccesoFrm.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/copias/RestaurarCopiaFrm.h"
#include "ventanas/facturas/FacturasDatosFrm.h"
#include "ventanas/facturas/FacturasFrm.h"
#include "ventanas/principal/AcercaDeFrm.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "ventanas/principal/Menufrm.h"
#include "ventanas/ajustes/BaseDatosFrm.h"
#include "ventanas/ajustes/CopiaSeguridadFrm.h"
#include "ventanas/ajustes/DatosEmpresaFrm.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QDate>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryFile>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

QMdiSubWindow* Marco(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

// A screen, opened as the user opens it; what is checked is the window it returns.
struct Caso {
    const char* nombre;
    std::function<QWidget*(InicioMDIFrm*)> abre;
    Superpuestos permitidos;
};

template <class T>
QWidget* Dialogo(InicioMDIFrm* v) {
    auto* d = new T(v);
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->show();
    return d;
}

QWidget* Editor(InicioMDIFrm* v) {
    auto* d = new FacturasDatosFrm(true, QString(), v);
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->show();
    return d;
}

// The box of the tax word stands over the blanks of its label's caption.
const Superpuestos kCajaSobreBlancos = {{QStringLiteral("Lbls(3)"), QStringLiteral("Txts(3)")}};

const Caso kCasos[] = {
    {"menu", [](InicioMDIFrm* v) { return static_cast<QWidget*>(v); }, {}},
    {"menu_maximizado",
     [](InicioMDIFrm* v) {
         v->showMaximized();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"navegador",
     [](InicioMDIFrm* v) {
         v->MenuFacturas_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"navegador_maximizado",
     [](InicioMDIFrm* v) {
         v->showMaximized();
         v->MenuFacturas_Click();
         Marco(BuscaPantalla(QStringLiteral("FacturasFrm")))->showMaximized();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"mosaico_horizontal",
     [](InicioMDIFrm* v) {
         v->MenuFacturas_Click();
         v->MenuLiquidacion_Click();
         v->MenuListados_Click();
         Control<QAction>(v, "MenuVentanaItem(0)")->trigger();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"liquidacion",
     [](InicioMDIFrm* v) {
         v->MenuLiquidacion_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"modelo347",
     [](InicioMDIFrm* v) {
         v->MenuModelo347_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"clientes_proveedores",
     [](InicioMDIFrm* v) {
         v->MenuTerceros_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"modelo390",
     [](InicioMDIFrm* v) {
         v->MenuModelo390_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"listado",
     [](InicioMDIFrm* v) {
         v->MenuListados_Click();
         return static_cast<QWidget*>(v);
     },
     {}},
    {"editor", Editor, {}},
    {"configuracion", Dialogo<ParametrosFrm>, kCajaSobreBlancos},
    {"base_de_datos", Dialogo<BaseDatosFrm>, {}},
    {"libros", Dialogo<LibrosRegistroFrm>, {}},
    {"restaurar", Dialogo<RestaurarCopiaFrm>, {}},
    {"datos_empresa", Dialogo<DatosEmpresaFrm>, {}},
    {"copia", Dialogo<CopiaSeguridadFrm>, {}},
};

// Every window of the program, on its own, for its keys.
const std::pair<const char*, std::function<QWidget*()>> kVentanas[] = {
    {"InicioMDIFrm", [] { return static_cast<QWidget*>(new InicioMDIFrm()); }},
    {"Menufrm", [] { return static_cast<QWidget*>(new Menufrm()); }},
    {"FacturasFrm", [] { return static_cast<QWidget*>(new FacturasFrm()); }},
    {"FacturasDatosFrm", [] { return static_cast<QWidget*>(new FacturasDatosFrm(false, QString())); }},
    {"InfFacturasFrm", [] { return static_cast<QWidget*>(new InfFacturasFrm()); }},
    {"LiquidacionFrm", [] { return static_cast<QWidget*>(new LiquidacionFrm()); }},
    {"LibrosRegistroFrm", [] { return static_cast<QWidget*>(new LibrosRegistroFrm()); }},
    {"Modelo347Frm", [] { return static_cast<QWidget*>(new Modelo347Frm()); }},
    {"ClientesProveedoresFrm", [] { return static_cast<QWidget*>(new ClientesProveedoresFrm()); }},
    {"ContactoFrm", [] { return static_cast<QWidget*>(new ContactoFrm(QString(), QString())); }},
    {"Modelo390Frm", [] { return static_cast<QWidget*>(new Modelo390Frm()); }},
    {"IncidenciasLibrosFrm", [] { return static_cast<QWidget*>(new IncidenciasLibrosFrm({QStringLiteral("C-1")})); }},
    {"RestaurarCopiaFrm", [] { return static_cast<QWidget*>(new RestaurarCopiaFrm()); }},
    {"ParametrosFrm", [] { return static_cast<QWidget*>(new ParametrosFrm()); }},
    {"BaseDatosFrm", [] { return static_cast<QWidget*>(new BaseDatosFrm()); }},
    {"DatosEmpresaFrm", [] { return static_cast<QWidget*>(new DatosEmpresaFrm()); }},
    {"CopiaSeguridadFrm", [] { return static_cast<QWidget*>(new CopiaSeguridadFrm()); }},
    {"AcercaDeFrm", [] { return static_cast<QWidget*>(new AcercaDeFrm()); }},
    {"AccesoFrm", [] { return static_cast<QWidget*>(new AccesoFrm()); }},
};

}  // namespace

class PruebaDisposicion : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPruebas> entorno;
    std::unique_ptr<RegistroMensajes> mensajes;
    QPointer<InicioMDIFrm> v;

    void DatosDeUnTrimestre() {
        Conexion->Ejecutar(
            "insert into DATOS_EMPRESA (NOMBRE, CIF, DIRECCION) values ('Talleres Ibáñez SL', 'B12345674', 'Calle Mayor, 1')");
        const QDate hoy = QDate::currentDate();
        Conexion->Ejecutar("begin");
        for (int i = 0; i < 30; ++i)
            entorno->InsertaFactura(i % 2 ? "C" : "P", QStringLiteral("FACTURA-%1/%2").arg(i).arg(hoy.year()),
                                    EscribeFecha(hoy.addDays(-i % 20)), "1.234.567,89", "7.113.703,89");
        Conexion->Ejecutar("commit");
        // A copy whose name is long, as the restore leaves them.
        CopiaArchivoBD(OrigenCopia(), CarpetaCopia() + QStringLiteral("Fiscalino-antes-de-restaurar-20261207-101010.mdb"));
    }

private slots:
    void initTestCase() {
        InstalaSustitutosFuentes();
        EstableceFinPrograma([] {});
    }

    void init() {
        entorno = std::make_unique<EntornoPruebas>();
        entorno->Conecta();
        entorno->InsertaParametros();
        DatosDeUnTrimestre();
        mensajes = std::make_unique<RegistroMensajes>();
        // As the program starts: the window shown, then the stored size and state.
        v = new InicioMDIFrm();
        v->show();
        const EstadoVentana e = LeeEstadoVentana();
        v->AplicaTamano(e.ancho, e.alto, e.estado);
        QVERIFY(QTest::qWaitForWindowExposed(v));
    }

    void cleanup() {
        CancelaEsperasDeModales();
        delete v.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mensajes.reset();
        entorno.reset();
    }

    void nadaSeMontaNiSeSale_data() {
        QTest::addColumn<int>("caso");
        for (int i = 0; i < static_cast<int>(std::size(kCasos)); ++i)
            QTest::newRow(kCasos[i].nombre) << i;
    }
    void nadaSeMontaNiSeSale() {
        QFETCH(int, caso);
        const Caso& c = kCasos[caso];
        QWidget* w = c.abre(v);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(50);
        GuardaCaptura(w, QString::fromLatin1(c.nombre));
        const QStringList fallos = FallosDisposicion(w, c.permitidos);
        QVERIFY2(fallos.isEmpty(), qPrintable(fallos.join(QLatin1Char('\n'))));
        if (w != v)
            w->close();
    }

    void ningunaTeclaDeAccesoRepetida_data() {
        QTest::addColumn<int>("ventana");
        for (int i = 0; i < static_cast<int>(std::size(kVentanas)); ++i)
            QTest::newRow(kVentanas[i].first) << i;
    }
    void ningunaTeclaDeAccesoRepetida() {
        QFETCH(int, ventana);
        std::unique_ptr<QWidget> w(kVentanas[ventana].second());
        const QStringList repetidas = TeclasAccesoRepetidas(w.get());
        QVERIFY2(repetidas.isEmpty(), qPrintable(repetidas.join(QLatin1Char('\n'))));
    }

    void elTabuladorLlegaATodo_data() { ningunaTeclaDeAccesoRepetida_data(); }
    void elTabuladorLlegaATodo() {
        QFETCH(int, ventana);
        std::unique_ptr<QWidget> w(kVentanas[ventana].second());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QStringList sinTab = ControlesSinTabulador(w.get());
        QVERIFY2(sinTab.isEmpty(), qPrintable(sinTab.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char** argv) {
    // The screen of the users who found the faults: 1280×1024, 96 dpi.
    QTemporaryFile pantalla;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && pantalla.open()) {
        pantalla.write(R"({"screens": [{"name": "P1", "x": 0, "y": 0, "width": 1280, "height": 1024,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        pantalla.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(pantalla.fileName()));
    }
    QApplication app(argc, argv);
    PruebaDisposicion prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "Disposicion_qtest.moc"
