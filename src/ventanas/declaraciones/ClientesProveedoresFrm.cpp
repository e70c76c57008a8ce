#include "ventanas/declaraciones/ClientesProveedoresFrm.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "datos/motor/Registros.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/declaraciones/Terceros.h"
#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/Lienzo.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/comun/VistaPreviaTeclas.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QCloseEvent>

namespace {

// Layout of the window, in twips.
constexpr int kAncho = 10080;
constexpr int kAlto = 7200;
constexpr int kAltoBarraSuperior = 645;
constexpr int kAltoBarraInferior = 525;
constexpr int kAltoEdicion = 1500;
constexpr int kAltoRejillaMinimo = 1500;
constexpr int kAltoRejilla = kAlto - kAltoBarraSuperior - kAltoEdicion - kAltoBarraInferior - 120;
constexpr int kAltoMinimo = kAlto - (kAltoRejilla - kAltoRejillaMinimo);
// NIF, name, postal code, country, invoices, collected, paid; the name takes what is left.
constexpr int kAnchos[] = {1450, 2800, 900, 600, 850, 1350, 1350};

const QColor kRojoAviso(160, 0, 0);

}  // namespace

ClientesProveedoresFrm::ClientesProveedoresFrm(QWidget* parent) : QWidget(parent) {
    PreparaPantalla(this, QStringLiteral("ClientesProveedoresFrm"), QStringLiteral("Clientes y Proveedores"));
    resize(Px(kAncho), Px(kAlto));
    lienzo_ = CreaLienzo(this, QSize(Px(kAncho), Px(kAltoMinimo)));
    lienzo_->installEventFilter(this);

    Picture2 = new QWidget(lienzo_);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    LblAnio = new QLabel(QStringLiteral("Totales del añ&o"), Picture2);
    LblAnio->setObjectName(QStringLiteral("LblAnio"));
    LblAnio->setGeometry(RectTwips(120, 180, 1320, 255));
    TxtAnio = new QLineEdit(Picture2);
    TxtAnio->setObjectName(QStringLiteral("TxtAnio"));
    TxtAnio->setMaxLength(4);
    TxtAnio->setGeometry(RectTwips(1500, 135, 800, 330));
    LblAnio->setBuddy(TxtAnio);
    LblBuscar = new QLabel(QStringLiteral("&Buscar (NIF o nombre)"), Picture2);
    LblBuscar->setObjectName(QStringLiteral("LblBuscar"));
    LblBuscar->setGeometry(RectTwips(2640, 180, 1800, 255));
    TxtBuscar = new QLineEdit(Picture2);
    TxtBuscar->setObjectName(QStringLiteral("TxtBuscar"));
    TxtBuscar->setMaxLength(40);
    TxtBuscar->setClearButtonEnabled(true);
    LblBuscar->setBuddy(TxtBuscar);

    DBGridTerceros = new QTableView(lienzo_);
    DBGridTerceros->setObjectName(QStringLiteral("DBGridTerceros"));
    Modelo = RejillaRegistros(DBGridTerceros, ColumnasTerceros());
    DBGridTerceros->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridTerceros->setSelectionMode(QAbstractItemView::SingleSelection);

    // The row chosen, to change.
    LblNif = Rotulo(lienzo_, QStringLiteral("LblNif"));
    LblAvisoNif = new QLabel(lienzo_);
    LblAvisoNif->setObjectName(QStringLiteral("LblAvisoNif"));
    QPalette rojo = LblAvisoNif->palette();
    rojo.setColor(QPalette::WindowText, kRojoAviso);
    LblAvisoNif->setPalette(rojo);
    auto caja = [this](QLabel*& etiqueta, QLineEdit*& txt, const char* nombre, const QString& texto, int largo) {
        etiqueta = new QLabel(texto, lienzo_);
        etiqueta->setObjectName(QStringLiteral("Lbl") + QLatin1String(nombre));
        txt = new QLineEdit(lienzo_);
        txt->setObjectName(QStringLiteral("Txt") + QLatin1String(nombre));
        txt->setMaxLength(largo);
        etiqueta->setBuddy(txt);
        txt->installEventFilter(this);
    };
    caja(LblNombre, TxtNombre, "Nombre", QStringLiteral("&Nombre"), 40);
    caja(LblCodigoPostal, TxtCodigoPostal, "CodigoPostal", QStringLiteral("&Código postal"), 10);
    caja(LblPais, TxtPais, "Pais", QStringLiteral("&País (vacío: España)"), 2);

    Picture1 = new QWidget(lienzo_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    BtnGrabar = BotonBarra(Picture1, QStringLiteral("BtnGrabar"), QStringLiteral("&Grabar"), QRect(60, 45, 2160, 435));
    BtnCerrar = BotonBarra(Picture1, QStringLiteral("BtnCerrar"), QStringLiteral("&Salir  (Esc)"),
                           QRect(2300, 45, 2160, 435));
    BotonesSinFoco(this, {BtnGrabar, BtnCerrar});
    TxtAnio->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(TxtNombre), static_cast<QWidget*>(TxtCodigoPostal),
                       static_cast<QWidget*>(TxtPais), static_cast<QWidget*>(BtnGrabar)})
        w->setEnabled(false);

    connect(TxtBuscar, &QLineEdit::textChanged, this, [this] { Filtra(); });
    connect(DBGridTerceros->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ClientesProveedoresFrm::FilaElegida);
    connect(BtnGrabar, &QPushButton::clicked, this, &ClientesProveedoresFrm::BtnGrabar_Click);
    connect(BtnCerrar, &QPushButton::clicked, this, &ClientesProveedoresFrm::BtnCerrar_Click);
    BotonCancelar(this, BtnCerrar);

    setTabOrder(TxtAnio, TxtBuscar);
    setTabOrder(TxtBuscar, DBGridTerceros);
    setTabOrder(DBGridTerceros, TxtNombre);
    setTabOrder(TxtNombre, TxtCodigoPostal);
    setTabOrder(TxtCodigoPostal, TxtPais);
    setTabOrder(TxtPais, BtnGrabar);
    setTabOrder(BtnGrabar, BtnCerrar);
    ColocaControles();
}

ClientesProveedoresFrm::~ClientesProveedoresFrm() { Modelo->EstableceRegistros(nullptr); }

QSize ClientesProveedoresFrm::sizeHint() const { return QSize(Px(kAncho), Px(kAlto)); }

void ClientesProveedoresFrm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (cargado_)
        return;
    cargado_ = true;
    ObjUtiles().PreparaFormularioMDI(this, VentanaPrincipal());
    TxtAnio->setText(QString::number(QDate::currentDate().year()));
    ActualizaDatos();
    TxtBuscar->setFocus(Qt::OtherFocusReason);
}

void ClientesProveedoresFrm::ColocaControles() {
    const int ancho = lienzo_->width();
    const int masAlto = lienzo_->height() - Px(kAlto);
    Picture2->setGeometry(0, 0, ancho, Px(kAltoBarraSuperior));
    TxtBuscar->setGeometry(Px(4500), Px(135), qMax(Px(2000), ancho - Px(4620)), Px(330));
    Picture1->setGeometry(0, lienzo_->height() - Px(kAltoBarraInferior), ancho, Px(kAltoBarraInferior));
    const int altoRejilla = Px(kAltoRejilla) + masAlto;
    DBGridTerceros->setGeometry(Px(60), Px(kAltoBarraSuperior), ancho - Px(120), altoRejilla);
    const int y = Px(kAltoBarraSuperior + 60) + altoRejilla;
    LblNif->setGeometry(Px(60), y, Px(3000), Px(255));
    LblAvisoNif->setGeometry(Px(3120), y, ancho - Px(3180), Px(255));
    LblNombre->setGeometry(Px(60), y + Px(360), Px(1500), Px(255));
    TxtNombre->setGeometry(Px(1620), y + Px(315), ancho - Px(1680), Px(330));
    LblCodigoPostal->setGeometry(Px(60), y + Px(780), Px(1500), Px(255));
    TxtCodigoPostal->setGeometry(Px(1620), y + Px(735), Px(1000), Px(330));
    LblPais->setGeometry(Px(2900), y + Px(780), Px(1900), Px(255));
    TxtPais->setGeometry(Px(4860), y + Px(735), Px(500), Px(330));
    int fijos = 0;
    for (int i = 0; i < 7; ++i)
        if (i != 1)
            fijos += Px(kAnchos[i]);
    const int util = DBGridTerceros->width() - 2 * DBGridTerceros->frameWidth() -
                     DBGridTerceros->verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < 7; ++i)
        DBGridTerceros->setColumnWidth(i, i == 1 ? qMax(Px(kAnchos[1]), util - fijos) : Px(kAnchos[i]));
}

bool ClientesProveedoresFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lienzo_ && evento->type() == QEvent::Resize) {
        ColocaControles();
        return false;
    }
    if (evento->type() == QEvent::KeyPress && EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        // Enter in the year reads the list again; in a box of the change, keeps it.
        if (objeto == TxtAnio) {
            ActualizaDatos();
            return true;
        }
        if (objeto == TxtNombre || objeto == TxtCodigoPostal || objeto == TxtPais) {
            BtnGrabar->click();
            return true;
        }
        if (auto* b = qobject_cast<QPushButton*>(objeto)) {
            b->click();
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void ClientesProveedoresFrm::ActualizaDatos() {
    QString error;
    const int anio = LeeAnioDeclaracion(TxtAnio->text(), &error);
    if (!anio) {
        MuestraMensaje(error, Botones::Aceptar, Icono::Exclamacion);
        TxtAnio->setFocus();
        return;
    }
    TxtAnio->setText(QString::number(anio));
    const FilaTercero* actual = Actual();
    const QString nif = actual ? actual->nif : QString();
    PunteroOcupado cursor;
    try {
        std::vector<FilaTercero> nuevas = LeeResumenTerceros(ConexionAbierta(), anio);
        // The grid lets go of the rows before they are replaced.
        Modelo->EstableceRegistros(nullptr);
        visibles_.clear();
        rs_.reset();
        filas_ = std::move(nuevas);
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return;
    }
    Filtra(nif);
}

void ClientesProveedoresFrm::Filtra(const QString& nifActual) {
    const FilaTercero* actual = Actual();
    const QString nif = nifActual.isEmpty() && actual ? actual->nif : nifActual;
    std::vector<const FilaTercero*> visibles;
    for (const FilaTercero& f : filas_)
        if (CoincideBusqueda(f, TxtBuscar->text()))
            visibles.push_back(&f);
    auto rs = RegistrosTerceros(visibles);
    Modelo->EstableceRegistros(rs.get());
    rs_ = std::move(rs);
    visibles_ = std::move(visibles);
    int fila = visibles_.empty() ? -1 : 0;
    for (size_t i = 0; i < visibles_.size(); ++i)
        if (visibles_[i]->nif == nif)
            fila = static_cast<int>(i);
    DBGridTerceros->setCurrentIndex(fila < 0 ? QModelIndex() : Modelo->index(fila, 0));
    FilaElegida();
}

const FilaTercero* ClientesProveedoresFrm::Actual() const {
    const int fila = DBGridTerceros->currentIndex().row();
    return fila >= 0 && fila < static_cast<int>(visibles_.size()) ? visibles_[static_cast<size_t>(fila)] : nullptr;
}

QStringList ClientesProveedoresFrm::NifsVisibles() const {
    QStringList r;
    for (const FilaTercero* f : visibles_)
        r << f->nif;
    return r;
}

DatosTercero ClientesProveedoresFrm::Escrito() const {
    return {TxtNombre->text(), TxtPais->text(), TxtCodigoPostal->text()};
}

bool ClientesProveedoresFrm::HayCambios() const {
    return !nifMostrado_.isEmpty() && mostrado_ && TerceroCambiado(*mostrado_, Escrito());
}

bool ClientesProveedoresFrm::GuardaEscrito(const QString& nif) {
    const CambioTercero c = CompruebaTercero(Escrito());
    if (!c.error.isEmpty()) {
        MuestraMensaje(c.error, Botones::Aceptar, Icono::Exclamacion);
        return false;
    }
    PunteroOcupado cursor;
    try {
        if (!GuardaTercero(ConexionAbierta(), nif, c.datos)) {
            cursor.Restaura();
            Aviso(QStringLiteral("El cliente o proveedor ") + nif + QStringLiteral(" ya no está en la base de datos."));
        }
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return false;
    }
    return true;
}

bool ClientesProveedoresFrm::GuardaCambiosPendientes(bool conCancelar) {
    if (!HayCambios())
        return true;
    const Respuesta r = MuestraMensaje(PreguntaCambiosTercero(nifMostrado_),
                                       conCancelar ? Botones::SiNoCancelar : Botones::SiNo, Icono::Pregunta,
                                       QString(), Respuesta::Si);
    if (r == Respuesta::Cancelar)
        return false;
    return r == Respuesta::No || GuardaEscrito(nifMostrado_);
}

void ClientesProveedoresFrm::closeEvent(QCloseEvent* e) {
    if (!GuardaCambiosPendientes(true)) {
        e->ignore();
        return;
    }
    nifMostrado_.clear();
    QWidget::closeEvent(e);
}

void ClientesProveedoresFrm::FilaElegida() {
    const FilaTercero* f = Actual();
    // A change left in the boxes is asked about before another row replaces it;
    // once kept, the list is read again with the row just chosen.
    // A change that cannot be kept takes the user back to it, still typed.
    if ((!f || f->nif != nifMostrado_) && HayCambios()) {
        const QString anterior = nifMostrado_;
        const DatosTercero escrito = Escrito();
        if (GuardaCambiosPendientes(false)) {
            QTimer::singleShot(0, this, [this] { ActualizaDatos(); });
        } else {
            QTimer::singleShot(0, this, [this, anterior, escrito] {
                Filtra(anterior);
                if (nifMostrado_ != anterior)
                    return;
                TxtNombre->setText(escrito.nombre);
                TxtCodigoPostal->setText(escrito.codigoPostal);
                TxtPais->setText(escrito.pais);
                TxtNombre->setFocus();
            });
        }
    }
    for (QWidget* w : {static_cast<QWidget*>(TxtNombre), static_cast<QWidget*>(TxtCodigoPostal),
                       static_cast<QWidget*>(TxtPais), static_cast<QWidget*>(BtnGrabar)})
        w->setEnabled(f != nullptr);
    LblNif->setText(f ? QStringLiteral("NIF: ") + f->nif : QString());
    LblAvisoNif->setText(f ? AvisoNifTercero(f->nif, f->datos.pais) : QString());
    // A longer text kept by another program is shown whole, never cut by the box.
    auto escribe = [](QLineEdit* caja, const QString& texto, int largo) {
        caja->setMaxLength(qMax(largo, static_cast<int>(texto.size())));
        caja->setText(texto);
    };
    escribe(TxtNombre, f ? f->datos.nombre : QString(), 40);
    escribe(TxtCodigoPostal, f ? f->datos.codigoPostal : QString(), 10);
    escribe(TxtPais, f ? f->datos.pais : QString(), 2);
    nifMostrado_ = f ? f->nif : QString();
    mostrado_ = std::make_unique<DatosTercero>(Escrito());
}

void ClientesProveedoresFrm::BtnGrabar_Click() {
    const FilaTercero* f = Actual();
    if (f && GuardaEscrito(f->nif))
        ActualizaDatos();
}

void ClientesProveedoresFrm::BtnCerrar_Click() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
