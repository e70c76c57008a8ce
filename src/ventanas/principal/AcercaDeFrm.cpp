#include "ventanas/principal/AcercaDeFrm.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Recursos.h"
#include "ventanas/comun/Utiles.h"
#include "dominio/principal/AcercaDeLogica.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {
const QColor kAzulClaro(0xD9, 0xEE, 0xFF);
const QColor kColorEnlace(68, 109, 217);

// The look-alike faces run a little wider than the ones the sizes were made
// for: a one-line label grows to its text, as far as the dialog's edge.
void AnchoParaTexto(QLabel* l) {
    const int texto = l->fontMetrics().horizontalAdvance(l->text());
    const int hastaElBorde = l->parentWidget()->width() - l->x();
    if (texto > l->width())
        l->resize(qMin(texto, hastaElBorde), l->height());
}

void PonColor(QLabel* l, const QColor& c) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, c);
    l->setPalette(p);
}
}  // namespace

AcercaDeFrm::AcercaDeFrm(QWidget* parent) : QDialog(parent) {
    IniciaRecursos();
    setObjectName(QStringLiteral("AcercaDeFrm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(5010), Px(3705));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    setMouseTracking(true);

    struct Rotulo { int indice; const char* texto; double x, y, an, al; };
    const Rotulo rotulos[] = {
        {0, "Título de la aplicación", 870, 180, 1935, 195},
        {3, "Versión", 870, 780, 645, 195},
        {1, "Descripción de la aplicación", 870, 1380, 2430, 195},
        {2, "Desarrollada por", 870, 2115, 1410, 195},
        {4, "e-Mail", 270, 2715, 525, 195},
        {5, "Web", 2580, 2715, 405, 195},
    };
    for (const Rotulo& r : rotulos) {
        auto* l = new QLabel(QString::fromUtf8(r.texto), this);
        l->setObjectName(QStringLiteral("Lbls(%1)").arg(r.indice));
        l->setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25, true));
        QPalette p = l->palette();
        p.setColor(QPalette::Window, kAzulClaro);
        l->setPalette(p);
        l->setAutoFillBackground(true);
        l->setGeometry(RectTwips(r.x, r.y, r.an, r.al));
        Lbls[r.indice] = l;
    }

    auto etiqueta = [this](const QString& nombre, double x, double y, double an, double al) {
        auto* l = new QLabel(this);
        l->setObjectName(nombre);
        l->setGeometry(RectTwips(x, y, an, al));
        return l;
    };
    LblTexto1 = etiqueta(QStringLiteral("LblTexto(1)"), 1140, 435, 3075, 195);
    LblTexto1->setText(QStringLiteral("Fiscalino  -  Declaración Trimestral del IVA"));
    LblVersion = etiqueta(QStringLiteral("LblVersion"), 1140, 1050, 1500, 195);
    LblDescripcion = etiqueta(QStringLiteral("LblDescripcion"), 1140, 1650, 3750, 420);
    LblDescripcion->setWordWrap(true);
    LblDescripcion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblAutor = etiqueta(QStringLiteral("LblAutor"), 1140, 2400, 1650, 195);
    LblEmail = etiqueta(QStringLiteral("LblEmail"), 540, 2970, 1935, 195);
    LblWeb = etiqueta(QStringLiteral("LblWeb"), 2850, 2970, 1905, 195);
    for (QLabel* l : {LblEmail, LblWeb}) {
        l->setMouseTracking(true);
        l->installEventFilter(this);
        PonColor(l, Qt::black);
    }

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(IconoAplicacion().pixmap(32, 32));
    Picture1->setGeometry(RectTwips(180, 180, 540, 540));
    Picture1->setAlignment(Qt::AlignCenter);

    BtnAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(RectTwips(60, 3315, 4905, 348));
    BtnAceptar->setDefault(true);
    // Esc closes the dialog through reject(), the same as this button.
    connect(BtnAceptar, &QPushButton::clicked, this, &QDialog::accept);

    Form_Load();
}

void AcercaDeFrm::Form_Load() {
    ObjUtiles().PreparaFormulario(this, nullptr);
    const Identidad& id = IdentidadPrograma();
    setWindowTitle(QStringLiteral("Acerca de ") + id.titulo);
    LblVersion->setText(LineaVersion(id.versionMayor, id.versionMenor));
    LblVersion->adjustSize();
    LblDescripcion->setText(id.descripcion);
    LblAutor->setText(id.autor);
    LblEmail->setText(id.correo);
    LblWeb->setText(id.web);
    for (QLabel* l : {LblTexto1, LblAutor, LblEmail, LblWeb})
        AnchoParaTexto(l);
    for (QLabel* l : Lbls)
        AnchoParaTexto(l);
}

bool AcercaDeFrm::Subrayado(const QLabel* l) { return l->font().underline(); }

void AcercaDeFrm::Enlace_MouseMove(QLabel* l) {
    if (Subrayado(l))
        return;
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    PonColor(l, kColorEnlace);
    l->setCursor(Qt::WhatsThisCursor);
}

void AcercaDeFrm::Form_MouseMove() {
    for (QLabel* l : {LblEmail, LblWeb}) {
        if (!Subrayado(l))
            continue;
        QFont f = l->font();
        f.setUnderline(false);
        l->setFont(f);
        PonColor(l, Qt::black);
        l->unsetCursor();
    }
}

void AcercaDeFrm::Enlace_Click(QLabel* l) {
    const Identidad& id = IdentidadPrograma();
    // Nothing happens when the desktop has no handler for the address.
    QDesktopServices::openUrl(QUrl(l == LblEmail ? id.enlaceCorreo : id.enlaceWeb));
}

bool AcercaDeFrm::eventFilter(QObject* objeto, QEvent* evento) {
    auto* l = qobject_cast<QLabel*>(objeto);
    if (l && (l == LblEmail || l == LblWeb)) {
        if (evento->type() == QEvent::MouseMove) {
            Enlace_MouseMove(l);
            return true;
        }
        if (evento->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton && l->rect().contains(static_cast<QMouseEvent*>(evento)->position().toPoint())) {
            Enlace_Click(l);
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void AcercaDeFrm::mouseMoveEvent(QMouseEvent* e) {
    // Only the background counts: a move over another label or the button is theirs.
    if (!childAt(e->position().toPoint()))
        Form_MouseMove();
    QDialog::mouseMoveEvent(e);
}
