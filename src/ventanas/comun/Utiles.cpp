#include "ventanas/comun/Utiles.h"

#include "base/MedidasLogica.h"

#include "base/Mensajes.h"
#include "base/TextosAdmitidos.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

const char* const kPropiedadFiltro = "fiscalinoFiltro";
const char* const kPropiedadCentrar = "fiscalinoCentrarEnMarco";

// Control characters (backspace, Tab, Enter, Esc, the Ctrl+letter codes of
// copy and paste) and delete always pass.
bool EsTeclaDeEdicion(int t) { return (t >= 0 && t < 32) || t == 127; }
bool EsDigito(int t) { return t >= '0' && t <= '9'; }

QRegularExpression PatronFiltro(Utiles::Filtro f) {
    switch (f) {
    case Utiles::Filtro::Fecha: return QRegularExpression(QStringLiteral("[0-9/.\\-]*"));
    case Utiles::Filtro::Entero: return QRegularExpression(QStringLiteral("[0-9]*"));
    case Utiles::Filtro::Importe: return QRegularExpression(QStringLiteral("-?[0-9.]*(,[0-9]*)?"));
    case Utiles::Filtro::Porcentaje: return QRegularExpression(QStringLiteral("[0-9]{0,2}(,[0-9]{0,2})?"));
    case Utiles::Filtro::Pais: return QRegularExpression(QStringLiteral("[A-Z]{0,2}"));
    }
    return QRegularExpression();
}

// Letters in capitals whichever way they came (typed, pasted, dropped).
class ValidadorMayusculas : public QRegularExpressionValidator {
public:
    using QRegularExpressionValidator::QRegularExpressionValidator;
    State validate(QString& texto, int& cursor) const override {
        texto = texto.toUpper();
        return QRegularExpressionValidator::validate(texto, cursor);
    }
};

// The length limit in whole characters: what a paste or a key adds beyond
// it goes, as with a plain length limit, but never half a character.
class ValidadorLongitud : public QValidator {
public:
    ValidadorLongitud(int limite, QObject* padre) : QValidator(padre), limite_(limite) {}
    void Limite(int limite) { limite_ = limite; }
    State validate(QString& texto, int& cursor) const override {
        RecortaACaracteres(texto, cursor, limite_);
        return Acceptable;
    }

private:
    int limite_;
};

// The caption that names a box in a message: its buddy label, or the label
// of the same index ("Lbls(3)" for "Txts(3)").
QString NombreCaja(QWidget* formulario, QWidget* caja) {
    const auto etiquetas = formulario->findChildren<QLabel*>();
    for (QLabel* l : etiquetas)
        if (l->buddy() == caja)
            return l->text().remove(QLatin1Char('&')).simplified();
    QString nombre = caja->objectName();
    if (nombre.startsWith(QLatin1String("Txts("))) {
        nombre.replace(0, 4, QStringLiteral("Lbls"));
        for (QLabel* l : etiquetas)
            if (l->objectName() == nombre)
                return l->text().remove(QLatin1Char('&')).simplified();
    }
    return caja->accessibleName();
}

}  // namespace

Utiles& ObjUtiles() {
    static Utiles* u = new Utiles();
    return *u;
}

void Utiles::PreparaFormulario(QWidget* formulario, QWidget* referencia) {
    if (!formulario)
        return;
    // A form that set its own size keeps it.
    if (!formulario->testAttribute(Qt::WA_Resized))
        formulario->adjustSize();
    QScreen* pantalla = nullptr;
    QRect zona;
    if (referencia && referencia->isVisible() && !referencia->isMinimized()) {
        zona = referencia->frameGeometry();
        pantalla = referencia->screen();
    }
    if (!pantalla)
        pantalla = QGuiApplication::primaryScreen();
    const QRect disponible = pantalla ? pantalla->availableGeometry() : QRect();
    if (!zona.isValid())
        zona = disponible;
    if (!zona.isValid())
        return;
    QRect r(QPoint(0, 0), formulario->frameGeometry().size());
    r.moveCenter(zona.center());
    // Never past the screen's edges, the title bar first.
    formulario->move(DentroDe(r, disponible).topLeft());
}

void Utiles::PreparaFormularioMDI(QWidget* hija, QWidget*) {
    if (!hija)
        return;
    // The frame centres it again once it has its final size (and, when it is
    // not in the frame yet, when it enters).
    hija->setProperty(kPropiedadCentrar, true);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(hija->parentWidget()))
        CentraEnMarco(sub);
}

void Utiles::CentraEnMarco(QMdiSubWindow* sub) {
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area)
        return;
    const QSize zona = area->viewport()->size();
    int x = (zona.width() - sub->width()) / 2;
    int y = (zona.height() - sub->height()) / 2;
    sub->move(qMax(0, x), qMax(0, y));
}

bool Utiles::PideCentrarEnMarco(QWidget* hija) {
    return hija && hija->property(kPropiedadCentrar).toBool();
}

void Utiles::EntraCampo(QLineEdit* campo) {
    if (!campo)
        return;
    campo->selectAll();
    // A click that gave the focus places the cursor after this call: select again once it is done.
    QPointer<QLineEdit> p(campo);
    QTimer::singleShot(0, campo, [p] {
        if (p && p->hasFocus())
            p->selectAll();
    });
}

void Utiles::TeclaFecha(int& tecla) {
    if (EsTeclaDeEdicion(tecla) || EsDigito(tecla) || tecla == '/' || tecla == '-' || tecla == '.')
        return;
    tecla = 0;
}

void Utiles::TeclaEntero(int& tecla) {
    if (EsTeclaDeEdicion(tecla) || EsDigito(tecla))
        return;
    tecla = 0;
}

void Utiles::TeclaImporte(int& tecla, const QString& texto) {
    if (EsTeclaDeEdicion(tecla) || EsDigito(tecla))
        return;
    if (tecla == ',' && !texto.contains(QLatin1Char(',')))
        return;
    if (tecla == '-' && !texto.contains(QLatin1Char('-')))
        return;
    tecla = 0;
}

void Utiles::TeclaPorcentaje(int& tecla, const QString& texto) {
    if (EsTeclaDeEdicion(tecla) || EsDigito(tecla))
        return;
    if (tecla == ',' && !texto.contains(QLatin1Char(',')))
        return;
    tecla = 0;
}

void Utiles::TeclaLetra(int& tecla) {
    if (EsTeclaDeEdicion(tecla) || (tecla >= 'a' && tecla <= 'z') || (tecla >= 'A' && tecla <= 'Z'))
        return;
    tecla = 0;
}

bool Utiles::CamposVacios(const QList<QLineEdit*>& campos, int, int, int) {
    for (QLineEdit* c : campos)
        if (c && c->text().trimmed().isEmpty())
            return true;
    return false;
}

void Utiles::AsignaFiltro(QLineEdit* campo, Filtro filtro) {
    campo->setProperty(kPropiedadFiltro, static_cast<int>(filtro));
    if (filtro == Filtro::Pais)
        campo->setValidator(new ValidadorMayusculas(PatronFiltro(filtro), campo));
    else
        campo->setValidator(new QRegularExpressionValidator(PatronFiltro(filtro), campo));
    campo->installEventFilter(this);
}

bool Utiles::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto* campo = qobject_cast<QLineEdit*>(objeto);
    if (!campo)
        return false;
    auto* k = static_cast<QKeyEvent*>(evento);
    if (k->text().isEmpty() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    int tecla = k->text().at(0).unicode();
    switch (static_cast<Filtro>(campo->property(kPropiedadFiltro).toInt())) {
    case Filtro::Fecha: TeclaFecha(tecla); break;
    case Filtro::Entero: TeclaEntero(tecla); break;
    case Filtro::Pais: TeclaLetra(tecla); break;
    case Filtro::Importe:
    case Filtro::Porcentaje: {
        const bool importe = static_cast<Filtro>(campo->property(kPropiedadFiltro).toInt()) == Filtro::Importe;
        // The text as it would stand without the selection the key replaces.
        QString t = campo->text();
        if (campo->hasSelectedText())
            t.remove(campo->selectionStart(), campo->selectedText().size());
        // The keypad's decimal key writes the decimal comma.
        const bool comaTeclado = tecla == '.' && (k->modifiers() & Qt::KeypadModifier);
        if (comaTeclado)
            tecla = ',';
        if (importe)
            TeclaImporte(tecla, t);
        else
            TeclaPorcentaje(tecla, t);
        // A minus only at the start.
        const int donde = campo->hasSelectedText() ? campo->selectionStart() : campo->cursorPosition();
        if (tecla == '-' && donde != 0)
            tecla = 0;
        if (comaTeclado) {
            if (tecla)
                campo->insert(QStringLiteral(","));
            return true;
        }
        break;
    }
    }
    return tecla == 0;
}

bool EsTeclaIntro(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

void Utiles::LimitaCaracteres(QLineEdit* campo, int caracteres) {
    auto* propio = dynamic_cast<ValidadorLongitud*>(const_cast<QValidator*>(campo->validator()));
    if (campo->validator() && !propio) {
        campo->setMaxLength(caracteres);
        return;
    }
    if (propio)
        propio->Limite(caracteres);
    else
        campo->setValidator(new ValidadorLongitud(caracteres, campo));
    // Room for the halves of every character; the validator keeps the count.
    campo->setMaxLength(2 * caracteres);
}

bool Utiles::CompruebaTextos(QWidget* formulario) {
    for (QWidget* caja : formulario->findChildren<QWidget*>()) {
        QString texto;
        bool variasLineas = false;
        if (auto* l = qobject_cast<QLineEdit*>(caja)) {
            texto = l->text();
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(caja)) {
            texto = p->toPlainText();
            variasLineas = true;
        } else {
            continue;
        }
        if (TextoAdmitido(texto, variasLineas))
            continue;
        Aviso(MensajeTextoNoAdmitido(NombreCaja(formulario, caja)));
        caja->setFocus(Qt::OtherFocusReason);
        if (auto* l = qobject_cast<QLineEdit*>(caja))
            l->selectAll();
        return false;
    }
    return true;
}
