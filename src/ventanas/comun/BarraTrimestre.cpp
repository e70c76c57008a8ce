#include "ventanas/comun/BarraTrimestre.h"

#include "base/Mensajes.h"
#include "dominio/facturas/Trimestres.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "dominio/facturas/FacturasLogica.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
const QColor kAmarilloCaja(255, 255, 230);
}  // namespace

BarraTrimestre::BarraTrimestre(QWidget* pantalla, QWidget* barra) : QObject(pantalla), pantalla_(pantalla) {
    QPalette amarillo = barra->palette();
    amarillo.setColor(QPalette::Base, kAmarilloCaja);
    auto etiqueta = [&](int i, const QString& texto, int x, int ancho) {
        Lbls[i] = new QLabel(texto, barra);
        Lbls[i]->setObjectName(QStringLiteral("Lbls(%1)").arg(i));
        Lbls[i]->setGeometry(Px(x), Px(165), Px(ancho), Px(315));
        Lbls[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    auto caja = [&](int i, int x, int ancho, int limite, Utiles::Filtro filtro) {
        TxtOb[i] = new QLineEdit(barra);
        TxtOb[i]->setObjectName(QStringLiteral("TxtOb(%1)").arg(i));
        TxtOb[i]->setGeometry(Px(x), Px(165), Px(ancho), Px(315));
        TxtOb[i]->setMaxLength(limite);
        TxtOb[i]->setPalette(amarillo);
        TxtOb[i]->installEventFilter(this);
        ObjUtiles().AsignaFiltro(TxtOb[i], filtro);
    };
    etiqueta(0, QStringLiteral("Año"), 60, 420);
    caja(0, 555, 600, 4, Utiles::Filtro::Entero);
    CmbTrimestre = new QComboBox(barra);
    CmbTrimestre->setObjectName(QStringLiteral("CmbTrimestre"));
    CmbTrimestre->addItems(NombresTrimestre);
    CmbTrimestre->setGeometry(Px(1275), Px(150), Px(1680), Px(345));
    CmbTrimestre->installEventFilter(this);
    etiqueta(1, QStringLiteral("Desde Fecha"), 3030, 1080);
    caja(1, 4185, 1200, 10, Utiles::Filtro::Fecha);
    etiqueta(2, QStringLiteral("Hasta Fecha"), 5490, 1080);
    caja(2, 6645, 1200, 10, Utiles::Filtro::Fecha);
    connect(CmbTrimestre, QOverload<int>::of(&QComboBox::activated), this, [this](int) { CmbTrimestre_Click(); });
}

void BarraTrimestre::MueveFoco(QWidget* destino) {
    moviendo_ = true;
    destino->setFocus(Qt::OtherFocusReason);
    moviendo_ = false;
}

bool BarraTrimestre::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == CmbTrimestre && evento->type() == QEvent::KeyPress && EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        MueveFoco(TxtOb[1]);
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (objeto != TxtOb[i])
            continue;
        switch (evento->type()) {
        case QEvent::FocusIn:
            ObjUtiles().EntraCampo(TxtOb[i]);
            break;
        case QEvent::FocusOut: {
            // Only a move to another control of this window is leaving the
            // box; another window, a menu or closing are not.
            QWidget* nuevo = QApplication::focusWidget();
            if (!moviendo_ && !validando_ && nuevo && pantalla_->isAncestorOf(nuevo))
                TxtOb_Validate(i);
            break;
        }
        case QEvent::KeyPress: {
            if (!EsTeclaIntro(static_cast<QKeyEvent*>(evento)))
                break;
            if (!TxtOb_Validate(i))
                return true;
            if (i == 2) {
                moviendo_ = true;
                if (alIntroEnHasta)
                    alIntroEnHasta();
                moviendo_ = false;
            } else {
                MueveFoco(i == 0 ? static_cast<QWidget*>(CmbTrimestre) : TxtOb[2]);
            }
            return true;
        }
        default:
            break;
        }
        return false;
    }
    return QObject::eventFilter(objeto, evento);
}

bool BarraTrimestre::TxtOb_Validate(int indice) {
    QLineEdit* caja = TxtOb[indice];
    const QString texto = caja->text();
    if (texto.isEmpty())
        return true;
    // The year moves the dates to its quarter: only a year the user has just
    // typed may do that, never one that merely had the focus while he typed
    // dates of his own.
    if (indice == 0 && !caja->isModified())
        return true;
    validando_ = true;
    bool valida = true;
    if (indice == 0) {
        caja->setText(CompletaAnio(texto));
        CmbTrimestre_Click();
    } else if (auto fecha = NormalizaFecha(texto)) {
        caja->setText(*fecha);
    } else {
        Aviso(TextoFacturas::FechaNoValida);
        caja->setFocus(Qt::OtherFocusReason);
        valida = false;
    }
    validando_ = false;
    return valida;
}

bool BarraTrimestre::CompruebaCajaActiva() {
    for (int i = 0; i < 3; ++i)
        if (pantalla_->focusWidget() == TxtOb[i])
            return TxtOb_Validate(i);
    return true;
}

void BarraTrimestre::CmbTrimestre_Click() {
    // A year that makes no date leaves the range and the lists as they are.
    const QString anio = TxtOb[0]->text();
    if (anio.isEmpty() || !AnioValido(anio)) {
        Aviso(anio.isEmpty() ? TextoFacturas::FaltaAnio : TextoFacturas::AnioNoValido);
        if (TxtOb[0]->isVisible())
            TxtOb[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (auto r = FechasTrimestre(CmbTrimestre->currentIndex(), anio)) {
        TxtOb[1]->setText(r->desde);
        TxtOb[2]->setText(r->hasta);
    }
    if (alElegirTrimestre)
        alElegirTrimestre();
}

bool BarraTrimestre::CompruebaFechas() {
    switch (CompruebaBusqueda(TxtOb[1]->text(), TxtOb[2]->text())) {
    case Busqueda::FaltanFechas:
        Aviso(TextoFacturas::FaltanFechas);
        return false;
    case Busqueda::FechaNoValida:
        Aviso(TextoFacturas::FechaNoValida);
        TxtOb[NormalizaFecha(TxtOb[1]->text()) ? 2 : 1]->setFocus(Qt::OtherFocusReason);
        return false;
    case Busqueda::Valida:
        break;
    }
    return true;
}
