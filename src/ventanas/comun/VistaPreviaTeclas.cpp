#include "ventanas/comun/VistaPreviaTeclas.h"

#include <QAbstractButton>
#include <QShortcut>

#include <QApplication>
#include <QKeyEvent>

namespace {

// Lives as a child of its window, so it stops looking when the window goes.
class FiltroVistaPrevia : public QObject {
public:
    FiltroVistaPrevia(QWidget* ventana, std::function<bool(QWidget*, QKeyEvent*)> alPulsar)
        : QObject(ventana), ventana_(ventana), alPulsar_(std::move(alPulsar)) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress)
            return false;
        auto* w = qobject_cast<QWidget*>(objeto);
        if (!w || !(w == ventana_ || ventana_->isAncestorOf(w)) || QApplication::activeModalWidget())
            return false;
        return alPulsar_(w, static_cast<QKeyEvent*>(evento));
    }

private:
    QWidget* ventana_;
    std::function<bool(QWidget*, QKeyEvent*)> alPulsar_;
};

}  // namespace

void VistaPreviaTeclas(QWidget* ventana, std::function<bool(QWidget*, QKeyEvent*)> alPulsar) {
    qApp->installEventFilter(new FiltroVistaPrevia(ventana, std::move(alPulsar)));
}

void BotonCancelar(QWidget* ventana, QAbstractButton* boton) {
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), ventana);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(esc, &QShortcut::activated, boton, &QAbstractButton::click);
}
