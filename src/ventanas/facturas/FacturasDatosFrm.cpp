#include "ventanas/facturas/FacturasDatosFrm.h"

#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "base/TextosAdmitidos.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Nif.h"
#include "dominio/facturas/TiposVigentes.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Utiles.h"
#include "dominio/facturas/FacturasLogica.h"
#include "ventanas/comun/PunteroOcupado.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QColor kAzulOpcional(205, 233, 254);

}  // namespace

FacturasDatosFrm::FacturasDatosFrm(bool nuevaFactura, const QString& idFactura, QWidget* parent)
    : QDialog(parent), nuevaFactura_(nuevaFactura), idFactura_(idFactura) {
    setObjectName(QStringLiteral("FacturasDatosFrm"));
    setWindowTitle(QStringLiteral("Introducción de Valores"));
    setModal(true);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto etiqueta = [&](int i, const QString& texto) {
        Lbls[i] = new QLabel(texto, this);
        Lbls[i]->setObjectName(QStringLiteral("Lbls(%1)").arg(i));
        return Lbls[i];
    };
    QPalette superior = palette();
    const QColor fondoAyuda = QToolTip::palette().color(QPalette::ToolTipBase);
    superior.setColor(QPalette::Base, fondoAyuda);
    superior.setColor(QPalette::Button, fondoAyuda);
    QPalette opcional = palette();
    opcional.setColor(QPalette::Base, kAzulOpcional);

    CmbTipo = new QComboBox(this);
    CmbTipo->setObjectName(QStringLiteral("CmbTipo"));
    CmbTipo->setProperty("Tag", QStringLiteral("TIPO"));
    CmbTipo->addItems({TipoCobros, TipoPagos});
    CmbTipo->setCurrentIndex(-1);
    CmbTipo->setPalette(superior);
    CmbTipo->installEventFilter(this);
    connect(CmbTipo, &QComboBox::currentIndexChanged, this, &FacturasDatosFrm::TipoCambiado);

    for (int i = 0; i < CamposEditor; ++i) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Txts(%1)").arg(i));
        t->setProperty("Tag", QString::fromLatin1(i < 7 ? ColumnasFactura[i] : ColumnasTercero[i - 7]));
        t->setPalette(i <= 3 ? superior : opcional);
        switch (FiltroDeCampo(i)) {
        case FiltroCampo::Fecha: ObjUtiles().AsignaFiltro(t, Utiles::Filtro::Fecha); break;
        case FiltroCampo::Importe: ObjUtiles().AsignaFiltro(t, Utiles::Filtro::Importe); break;
        case FiltroCampo::Porcentaje: ObjUtiles().AsignaFiltro(t, Utiles::Filtro::Porcentaje); break;
        case FiltroCampo::Pais: ObjUtiles().AsignaFiltro(t, Utiles::Filtro::Pais); break;
        case FiltroCampo::Ninguno: break;
        }
        t->installEventFilter(this);
        // The limit binds what is typed; what the program writes may be
        // longer (EscribeCampo), and no typing makes such a text longer still.
        ObjUtiles().LimitaCaracteres(t, Longitud(i));
        connect(t, &QLineEdit::textChanged, this, [this, t, i](const QString& texto) {
            ObjUtiles().LimitaCaracteres(t, qMax(Longitud(i), LongitudEnCaracteres(texto)));
        });
        Txts[i] = t;
    }
    CmbTipoId = new QComboBox(this);
    CmbTipoId->setObjectName(QStringLiteral("CmbTipoId"));
    CmbTipoId->setProperty("Tag", QStringLiteral("TIPO_ID_TERCERO"));
    for (const TipoIdentificacion& t : TiposIdentificacion)
        CmbTipoId->addItem(QLatin1String(t.codigo) + QLatin1Char(' ') + QString::fromUtf8(t.nombre),
                           QLatin1String(t.codigo));
    CmbTipoId->setCurrentIndex(-1);
    CmbTipoId->setPalette(opcional);
    CmbTipoId->setEnabled(false);
    CmbTipoId->installEventFilter(this);
    connect(Txts[CampoPais], &QLineEdit::textChanged, this, &FacturasDatosFrm::PaisCambiado);

    auto* rejilla = new QGridLayout;
    rejilla->setHorizontalSpacing(8);
    rejilla->setVerticalSpacing(6);
    rejilla->addWidget(etiqueta(11, QStringLiteral("Tipo")), 0, 0);
    rejilla->addWidget(CmbTipo, 0, 1);
    rejilla->addWidget(etiqueta(0, QStringLiteral("Factura")), 1, 0);
    rejilla->addWidget(Txts[0], 1, 1);
    rejilla->addWidget(etiqueta(1, QStringLiteral("Fecha Factura")), 1, 2);
    rejilla->addWidget(Txts[1], 1, 3);
    rejilla->addWidget(etiqueta(2, QStringLiteral("Importe IVA")), 2, 0);
    rejilla->addWidget(Txts[2], 2, 1);
    rejilla->addWidget(etiqueta(3, QStringLiteral("Importe Total (IVA incluido)")), 2, 2);
    rejilla->addWidget(Txts[3], 2, 3);

    auto* grupo = new QHBoxLayout;
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("Datos Opcionales para la factura"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Line2 = new QFrame(this);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    grupo->addWidget(Line1, 1);
    grupo->addWidget(Label1);
    grupo->addWidget(Line2, 1);
    rejilla->addLayout(grupo, 3, 0, 1, 4);

    rejilla->addWidget(etiqueta(4, QStringLiteral("Importe Neto")), 4, 0);
    rejilla->addWidget(Txts[4], 4, 1);
    rejilla->addWidget(etiqueta(5, QStringLiteral("% de IVA")), 4, 2);
    rejilla->addWidget(Txts[5], 4, 3, Qt::AlignLeft);
    rejilla->addWidget(etiqueta(6, QStringLiteral("Descripción")), 5, 0);
    rejilla->addWidget(Txts[6], 5, 1, 1, 3);
    // The counterparty, which the VAT books carry, after the invoice's own
    // fields; its country first, which decides how its NIF is checked.
    rejilla->addWidget(etiqueta(CampoPais, QStringLiteral("País")), 6, 0);
    rejilla->addWidget(Txts[CampoPais], 6, 1, Qt::AlignLeft);
    rejilla->addWidget(etiqueta(12, QStringLiteral("Tipo de identificación")), 6, 2);
    rejilla->addWidget(CmbTipoId, 6, 3);
    rejilla->addWidget(etiqueta(7, TituloNifTercero(QString())), 7, 0);
    rejilla->addWidget(Txts[7], 7, 1, Qt::AlignLeft);
    rejilla->addWidget(etiqueta(8, QStringLiteral("Fecha Operación")), 7, 2);
    rejilla->addWidget(Txts[8], 7, 3);
    rejilla->addWidget(etiqueta(9, TituloNombreTercero(QString())), 8, 0);
    rejilla->addWidget(Txts[9], 8, 1, 1, 3);
    rejilla->setColumnStretch(1, 1);
    Txts[CampoPais]->setFixedWidth(40);
    Txts[7]->setFixedWidth(140);
    Txts[8]->setFixedWidth(90);
    Txts[0]->setMinimumWidth(200);
    Txts[1]->setFixedWidth(90);
    Txts[3]->setFixedWidth(90);
    Txts[5]->setFixedWidth(40);
    CmbTipo->setFixedWidth(110);
    Txts[6]->setMinimumWidth(420);

    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    auto* barra = new QHBoxLayout(Picture2);
    barra->setContentsMargins(0, 0, 0, 0);
    BtnAceptar = new QPushButton(QStringLiteral("&Grabar"), Picture2);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnBorrar = new QPushButton(QStringLiteral("&Borrar"), Picture2);
    BtnBorrar->setObjectName(QStringLiteral("BtnBorrar"));
    BtnSalir = new QPushButton(QStringLiteral("&Cancelar"), Picture2);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    barra->addStretch(1);
    for (QPushButton* b : {BtnAceptar, BtnBorrar, BtnSalir}) {
        b->setMinimumWidth(100);
        // No default button: Enter belongs to the fields, and a button acts
        // on Enter only while it has the focus (see eventFilter).
        b->setAutoDefault(false);
        b->installEventFilter(this);
        // A click leaves the focus where it is, so the field being typed in
        // is checked before the button acts.
        b->setFocusPolicy(Qt::TabFocus);
        barra->addWidget(b);
    }
    barra->addStretch(1);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(rejilla);
    principal->addSpacing(6);
    principal->addWidget(Picture2);

    connect(BtnAceptar, &QPushButton::clicked, this, &FacturasDatosFrm::BtnAceptar_Click);
    connect(BtnBorrar, &QPushButton::clicked, this, &FacturasDatosFrm::BtnBorrar_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &FacturasDatosFrm::BtnSalir_Click);

    setTabOrder(CmbTipo, Txts[0]);
    QWidget* anterior = Txts[0];
    for (int i = CampoSiguiente(0); i >= 0; i = CampoSiguiente(i)) {
        setTabOrder(anterior, Txts[i]);
        anterior = Txts[i];
        if (i == CampoPais) {
            setTabOrder(anterior, CmbTipoId);
            anterior = CmbTipoId;
        }
    }
    setTabOrder(anterior, BtnAceptar);
    setTabOrder(BtnAceptar, BtnBorrar);
    setTabOrder(BtnBorrar, BtnSalir);
}

void FacturasDatosFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);

    if (!cargado_) {
        cargado_ = true;
        Form_Load();
    }
}

void FacturasDatosFrm::Form_Load() {
    ObjUtiles().PreparaFormulario(this, nullptr);
    Lbls[2]->setText(TituloImporteImpuesto(OpcionIva));
    Lbls[3]->setText(TituloTotalIncluido(OpcionIva));
    Lbls[5]->setText(TituloPorcentajeImpuesto(OpcionIva));
    if (nuevaFactura_) {
        EscribeCampo(1, EscribeFecha(QDate::currentDate()));
        EscribeCampo(5, QString::number(IvaPorDefecto));
        EscribeCampo(CampoPais, PaisEspana);
    } else {
        CargaFactura();
    }
    // Deleting belongs to an invoice that exists.
    BtnBorrar->setEnabled(!nuevaFactura_);
    CmbTipo->setFocus(Qt::OtherFocusReason);
}

void FacturasDatosFrm::CargaFactura() {
    PunteroOcupado ocupado;
    leida_.reset();
    try {
        auto rs = ConexionAbierta().AbrirRegistros(SqlLeeFactura(idFactura_));
        if (rs->Fin()) {
            ocupado.Restaura();
            Aviso(TextoFacturas::NoEncontrada);
            return;
        }
        const FilaFactura fila = LeeFilaFactura(*rs);
        // The row holds the seven fields, TIPO, then the counterparty's.
        for (int i = 0; i < CamposEditor; ++i)
            EscribeCampo(i, fila[static_cast<size_t>(i < 7 ? i : i + 1)].Texto());
        if (Txts[CampoPais]->text().isEmpty())
            EscribeCampo(CampoPais, PaisEspana);
        CmbTipoId->setCurrentIndex(CmbTipoId->findData(fila[12].Texto()));
        CmbTipo->setCurrentText(NombreTipo(fila[7]));
        rs->Cerrar();
        leida_ = fila;
    } catch (const ErrorBD& e) {
        ocupado.Restaura();
        MostrarErrorBD(e);
    }
}

void FacturasDatosFrm::EscribeCampo(int i, const QString& texto) {
    ObjUtiles().LimitaCaracteres(Txts[i], qMax(Longitud(i), LongitudEnCaracteres(texto)));
    Txts[i]->setText(texto);
}

int FacturasDatosFrm::Longitud(int i) const { return i < 7 ? LongitudesFactura[i] : LongitudesTercero[i - 7]; }

CamposTercero FacturasDatosFrm::Tercero() const {
    return {Txts[7]->text(), Txts[8]->text(), Txts[9]->text(), Txts[CampoPais]->text(),
            CmbTipoId->currentIndex() >= 0 ? CmbTipoId->currentData().toString() : QString()};
}

CamposFactura FacturasDatosFrm::Campos() const {
    CamposFactura c;
    for (int i = 0; i < 7; ++i)
        c[i] = Txts[i]->text();
    return c;
}

Importes FacturasDatosFrm::ImportesEditor() const {
    return {Txts[2]->text(), Txts[3]->text(), Txts[4]->text(), Txts[5]->text()};
}

void FacturasDatosFrm::CompletaImportes() {
    const auto fecha = FechaDelTipo(Campos(), Tercero());
    const Importes r =
        CalculaImportes(ImportesEditor(), ImpuestoDePalabra(OpcionIva), fecha.value_or(QDate::currentDate()));
    EscribeCampo(2, r.iva);
    EscribeCampo(4, r.neto);
    EscribeCampo(5, r.porcentaje);
}

// Only a foreign counterparty has a kind of identifier.
void FacturasDatosFrm::PaisCambiado() {
    const bool extranjero = EsPaisExtranjero(Txts[CampoPais]->text());
    CmbTipoId->setEnabled(extranjero);
    Lbls[12]->setEnabled(extranjero);
    if (!extranjero)
        CmbTipoId->setCurrentIndex(-1);
}

void FacturasDatosFrm::TipoCambiado() {
    Lbls[7]->setText(TituloNifTercero(CmbTipo->currentText()));
    Lbls[9]->setText(TituloNombreTercero(CmbTipo->currentText()));
}

int FacturasDatosFrm::IndiceCampo(const QObject* objeto) const {
    for (int i = 0; i < CamposEditor; ++i)
        if (objeto == Txts[i])
            return i;
    return -1;
}

void FacturasDatosFrm::MueveFoco(QWidget* destino) {
    moviendo_ = true;
    destino->setFocus(Qt::OtherFocusReason);
    moviendo_ = false;
}

bool FacturasDatosFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if ((objeto == CmbTipo || objeto == CmbTipoId) && evento->type() == QEvent::KeyPress &&
        EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        MueveFoco(objeto == CmbTipo ? Txts[0] : Txts[CampoSiguiente(CampoPais)]);
        return true;
    }
    if (auto* b = qobject_cast<QPushButton*>(objeto); b && evento->type() == QEvent::KeyPress &&
                                                      EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        b->click();
        return true;
    }
    const int i = IndiceCampo(objeto);
    if (i < 0)
        return QDialog::eventFilter(objeto, evento);
    switch (evento->type()) {
    case QEvent::FocusIn:
        ObjUtiles().EntraCampo(Txts[i]);
        break;
    case QEvent::FocusOut: {
        // Only a move to another control of the editor is leaving the field.
        QWidget* nuevo = QApplication::focusWidget();
        if (!moviendo_ && !validando_ && nuevo && isAncestorOf(nuevo))
            Txts_Validate(i);
        break;
    }
    case QEvent::KeyPress: {
        if (!EsTeclaIntro(static_cast<QKeyEvent*>(evento)))
            break;
        if (!Txts_Validate(i))
            return true;
        if (i == 3)
            CompletaImportes();
        const int siguiente = CampoSiguiente(i);
        if (i == CampoPais && CmbTipoId->isEnabled())
            MueveFoco(CmbTipoId);
        else
            MueveFoco(siguiente < 0 ? static_cast<QWidget*>(BtnAceptar) : Txts[siguiente]);
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(objeto, evento);
}

bool FacturasDatosFrm::Txts_Validate(int indice) {
    if (indice == 7) {
        RellenaTercero();
        return CompruebaNif();
    }
    if (indice == CampoPais)
        return CompruebaPais();
    if (FiltroDeCampo(indice) != FiltroCampo::Fecha)
        return true;
    auto fecha = CompruebaFecha(Txts[indice]->text());
    if (fecha) {
        if (*fecha != Txts[indice]->text())
            EscribeCampo(indice, *fecha);
        return true;
    }
    validando_ = true;
    Aviso(TextoFacturas::FechaNoValida);
    Txts[indice]->setFocus(Qt::OtherFocusReason);
    validando_ = false;
    return false;
}

bool FacturasDatosFrm::CompruebaFechaPendiente() { return Txts_Validate(1) && Txts_Validate(8); }

// Written as it is stored; a NIF that fails is warned about once, and the
// user stays in the field to look at it, free to go on as it is.
bool FacturasDatosFrm::CompruebaNif() {
    const QString nif = NormalizaNif(Txts[7]->text());
    if (nif != Txts[7]->text())
        EscribeCampo(7, nif);
    // The Spanish rules say nothing of another country's identifiers.
    const QString aviso = EsPaisExtranjero(Txts[CampoPais]->text()) ? QString() : AvisoNif(nif);
    if (aviso.isEmpty() || nif == nifAvisado_)
        return true;
    nifAvisado_ = nif;
    validando_ = true;
    MuestraMensaje(aviso, Botones::Aceptar, Icono::Exclamacion);
    Txts[7]->setFocus(Qt::OtherFocusReason);
    validando_ = false;
    return false;
}

void FacturasDatosFrm::RellenaTercero() {
    // What the user typed is never overwritten.
    if (!Txts[9]->text().trimmed().isEmpty())
        return;
    std::optional<TerceroConocido> t;
    try {
        t = RellenoDeTercero(BuscaTerceroConocido(ConexionAbierta(), Txts[7]->text()), Txts[9]->text(),
                             Txts[CampoPais]->text());
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return;
    }
    if (!t)
        return;
    EscribeCampo(9, t->nombre);
    if (t->pais != Txts[CampoPais]->text())
        EscribeCampo(CampoPais, t->pais);
    if (CmbTipoId->isEnabled() && !t->tipoId.isEmpty())
        CmbTipoId->setCurrentIndex(CmbTipoId->findData(t->tipoId));
}

bool FacturasDatosFrm::CompruebaTipo() {
    if (CmbTipo->currentIndex() >= 0)
        return true;
    Aviso(TextoFacturas::FaltaTipo);
    MueveFoco(CmbTipo);
    return false;
}

bool FacturasDatosFrm::CompruebaPais() {
    if (PaisValido(Txts[CampoPais]->text()))
        return true;
    validando_ = true;
    Aviso(TextoFacturas::PaisNoValido);
    Txts[CampoPais]->setFocus(Qt::OtherFocusReason);
    validando_ = false;
    return false;
}

// The books need the kind of a foreign identifier.
bool FacturasDatosFrm::CompruebaTipoId() {
    if (!CmbTipoId->isEnabled() || CmbTipoId->currentIndex() >= 0 || Txts[7]->text().isEmpty())
        return true;
    Aviso(TextoFacturas::FaltaTipoId);
    MueveFoco(CmbTipoId);
    return false;
}

// No invoice goes without its total, nor incomplete without the user's word;
// a rate not in force is saved only when the user says so.
bool FacturasDatosFrm::CompruebaImportes() {
    const FaltaEnImportes falta = QueFaltaEnImportes(ImportesEditor());
    if (falta == FaltaEnImportes::Total) {
        Aviso(AvisoCampoVacio(Lbls[3]->text()));
        MueveFoco(Txts[3]);
        return false;
    }
    const QString incompleta = PreguntaImportesIncompletos(falta, OpcionIva);
    if (!incompleta.isEmpty()) {
        switch (MuestraMensaje(incompleta, Botones::SiNoCancelar, Icono::Pregunta, QString(), Respuesta::Si)) {
        case Respuesta::Si: CompletaImportes(); break;
        case Respuesta::No: break;
        default: return false;
        }
    }
    const QString noVigente = PreguntaTipoNoVigente(Txts[5]->text(), OpcionIva, FechaDelTipo(Campos(), Tercero()));
    if (!noVigente.isEmpty() &&
        MuestraMensaje(noVigente, Botones::SiNo, Icono::Exclamacion, QString(), Respuesta::No) != Respuesta::Si) {
        MueveFoco(Txts[5]);
        return false;
    }
    return true;
}

void FacturasDatosFrm::BtnAceptar_Click() {
    if (!CompruebaFechaPendiente() || !CompruebaPais() || !CompruebaNif() || !CompruebaTipo() ||
        !CompruebaTipoId() || !ObjUtiles().CompruebaTextos(this))
        return;
    // An invoice that could not be read is never overwritten blind.
    if (!nuevaFactura_ && !leida_) {
        Aviso(TextoFacturas::NoEncontrada);
        return;
    }
    if (!CompruebaImportes())
        return;
    const CamposFactura campos = Campos();
    const CamposTercero tercero = TerceroParaGrabar(campos, Tercero());
    const QString tipo = CmbTipo->currentText();
    QString repetida;
    try {
        PunteroOcupado ocupado;
        repetida = PreguntaFacturaRepetida(ConexionAbierta(), campos, tipo, tercero,
                                           nuevaFactura_ ? QString() : idFactura_);
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return;
    }
    if (!repetida.isEmpty() &&
        MuestraMensaje(repetida, Botones::SiNo, Icono::Pregunta, QString(), Respuesta::No) != Respuesta::Si)
        return;
    Grabacion r;
    try {
        PunteroOcupado ocupado;
        r = nuevaFactura_ ? GrabaFacturaNueva(ConexionAbierta(), campos, tipo, tercero)
                          : GrabaCambiosFactura(ConexionAbierta(), campos, tipo, tercero, idFactura_, *leida_);
    } catch (const ErrorBD& e) {
        // Refused: the editor stays open with what was typed.
        MostrarErrorBD(e);
        return;
    }
    // Whatever was not stored stays in the editor.
    switch (r) {
    case Grabacion::Hecha: accept(); return;
    case Grabacion::NoGrabada: Aviso(TextoFacturas::NoGrabada); return;
    case Grabacion::NoEncontrada: Aviso(TextoFacturas::NoEncontrada); return;
    case Grabacion::Cambiada:
        if (MuestraMensaje(TextoFacturas::CambiadaPorOtro, Botones::SiNo, Icono::Exclamacion, QString(),
                           Respuesta::No) == Respuesta::Si)
            CargaFactura();
        return;
    }
}

void FacturasDatosFrm::BtnBorrar_Click() {
    if (!CompruebaFechaPendiente())
        return;
    if (nuevaFactura_ || idFactura_.isEmpty())
        return;
    const Respuesta r = MuestraMensaje(TextoFacturas::ConfirmaBorrado, Botones::SiNo, Icono::Ninguno, QString(),
                                       Respuesta::No);
    if (r == Respuesta::Si) {
        try {
            PunteroOcupado ocupado;
            ConexionAbierta().Ejecutar(SqlBorraFactura(idFactura_));
        } catch (const ErrorBD& e) {
            MostrarErrorBD(e);
            return;
        }
    }
    accept();
}

void FacturasDatosFrm::BtnSalir_Click() {
    if (!CompruebaFechaPendiente())
        return;
    reject();
}

void FacturasDatosFrm::done(int r) {
    nuevaFactura_ = false;
    idFactura_.clear();
    QDialog::done(r);
}
