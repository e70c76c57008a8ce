#include "ui/common/Utiles.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QWidget>

namespace {

const char* const kPropiedadFiltro = "fiscalinoFiltro";

bool EsTeclaDeEdicion(int t) { return t == 8 || t == 9 || t == 13 || t == 27 || t == 0; }
bool EsDigito(int t) { return t >= '0' && t <= '9'; }

QRegularExpression PatronFiltro(Utiles::Filtro f) {
    switch (f) {
    case Utiles::Filtro::Fecha: return QRegularExpression(QStringLiteral("[0-9/.\\-]*"));
    case Utiles::Filtro::Entero: return QRegularExpression(QStringLiteral("[0-9]*"));
    case Utiles::Filtro::Importe: return QRegularExpression(QStringLiteral("-?[0-9.]*(,[0-9]*)?"));
    }
    return QRegularExpression();
}

}  // namespace

Utiles& ObjUtiles() {
    static Utiles* u = new Utiles();
    return *u;
}

void Utiles::PreparaFormulario(QWidget* formulario, QWidget* referencia) {
    if (!formulario)
        return;
    formulario->adjustSize();
    QRect zona;
    if (referencia && referencia->isVisible())
        zona = referencia->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen())
        zona = s->availableGeometry();
    if (zona.isValid()) {
        QRect r = formulario->frameGeometry();
        r.moveCenter(zona.center());
        formulario->move(r.topLeft());
    }
}

void Utiles::PreparaFormularioMDI(QWidget* hija, QWidget*) {
    if (!hija)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(hija->parentWidget()))
        sub->move(0, 0);
}

void Utiles::EntraCampo(QLineEdit* campo) {
    if (campo)
        campo->selectAll();
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

bool Utiles::CamposVacios(const QList<QLineEdit*>& campos, int, int, int) {
    for (QLineEdit* c : campos)
        if (c && c->text().isEmpty())
            return true;
    return false;
}

void Utiles::AsignaFiltro(QLineEdit* campo, Filtro filtro) {
    campo->setProperty(kPropiedadFiltro, static_cast<int>(filtro));
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
    case Filtro::Importe: {
        // The text as it would stand without the selection the key replaces.
        QString t = campo->text();
        if (campo->hasSelectedText())
            t.remove(campo->selectionStart(), campo->selectedText().size());
        TeclaImporte(tecla, t);
        // A minus only at the start.
        if (tecla == '-' && campo->cursorPosition() != 0 && !campo->hasSelectedText())
            tecla = 0;
        break;
    }
    }
    return tecla == 0;
}
