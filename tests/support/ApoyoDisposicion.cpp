#include "ApoyoDisposicion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

namespace {

QString Nombre(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString Texto(const QRect& r) {
    return QStringLiteral("(%1,%2 %3×%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Panels that only hold controls; every other toolkit widget is one control
// whose inner parts are the toolkit's business. The first toolkit class up a
// screen's own class decides.
bool EsContenedor(const QWidget* w) {
    static const QStringList contenedores = {"QWidget", "QFrame",  "QGroupBox", "QStatusBar", "QMainWindow",
                                             "QDialog", "QSplitter", "QStackedWidget", "QDialogButtonBox"};
    for (const QMetaObject* m = w->metaObject(); m; m = m->superClass())
        if (m->className()[0] == 'Q')
            return contenedores.contains(QLatin1String(m->className()));
    return true;
}

// Inside a window, below it: no window of its own between.
bool EsDeLaVentana(const QWidget* w, const QWidget* ventana) {
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        if (p == ventana)
            return true;
        if (p->isWindow() || p->windowType() == Qt::SubWindow)
            return false;
    }
    return false;
}

class Revision {
public:
    explicit Revision(const Superpuestos& permitidos) : permitidos_(permitidos) {}
    QStringList fallos;

    // `ventana`'s controls against each other and against its edges.
    void Ventana(QWidget* ventana) {
        struct Pieza {
            QWidget* w;
            QRect r;
        };
        QList<Pieza> piezas;
        std::function<void(QWidget*, const QRect&)> recorre = [&](QWidget* padre, const QRect& limite) {
            for (QObject* o : padre->children()) {
                auto* w = qobject_cast<QWidget*>(o);
                if (!w || w->isWindow() || w->isHidden())
                    continue;
                const QRect r(w->mapTo(ventana, QPoint(0, 0)), w->size());
                if (r.isEmpty()) {
                    if (!EsContenedor(w))
                        fallos << Nombre(ventana) + QStringLiteral(": ") + Nombre(w) + QStringLiteral(" no se ve (sin tamaño)");
                    continue;
                }
                if (!limite.contains(r))
                    fallos << Nombre(ventana) + QStringLiteral(": ") + Nombre(w) + QStringLiteral(" ") + Texto(r) +
                                  QStringLiteral(" se sale de ") + Nombre(padre) + QStringLiteral(" ") + Texto(limite);
                if (auto* area = qobject_cast<QMdiArea*>(w)) {
                    piezas << Pieza{w, r};
                    Marco(area);
                } else if (auto* desplazable = qobject_cast<QScrollArea*>(w); desplazable && desplazable->widget()) {
                    piezas << Pieza{w, r};
                    Ventana(desplazable->widget());
                } else if (!EsContenedor(w)) {
                    piezas << Pieza{w, r};
                } else {
                    // A frame with a caption is seen; a bare panel is not.
                    if (qobject_cast<QGroupBox*>(w))
                        piezas << Pieza{w, r};
                    recorre(w, r);
                }
            }
        };
        recorre(ventana, ventana->rect());
        for (int i = 0; i < piezas.size(); ++i)
            for (int j = i + 1; j < piezas.size(); ++j) {
                const Pieza& a = piezas[i];
                const Pieza& b = piezas[j];
                if (!a.r.intersects(b.r) || a.w->isAncestorOf(b.w) || b.w->isAncestorOf(a.w) || Permitido(a.w, b.w))
                    continue;
                fallos << Nombre(ventana) + QStringLiteral(": ") + Nombre(a.w) + QStringLiteral(" ") + Texto(a.r) +
                              QStringLiteral(" se monta sobre ") + Nombre(b.w) + QStringLiteral(" ") + Texto(b.r);
            }
    }

    // The child windows of a frame: inside its client area, each a window.
    void Marco(QMdiArea* area) {
        const QRect zona = area->viewport()->rect();
        for (QMdiSubWindow* s : area->subWindowList()) {
            if (!s->isVisible() || s->isMinimized() || !s->widget())
                continue;
            if (!zona.contains(s->geometry()))
                fallos << Nombre(s->widget()) + QStringLiteral(" ") + Texto(s->geometry()) +
                              QStringLiteral(" se sale del área de la ventana principal ") + Texto(zona);
            Ventana(s->widget());
        }
    }

private:
    bool Permitido(const QWidget* a, const QWidget* b) const {
        for (const auto& p : permitidos_)
            if ((p.first == a->objectName() && p.second == b->objectName()) ||
                (p.first == b->objectName() && p.second == a->objectName()))
                return true;
        return false;
    }
    Superpuestos permitidos_;
};

void AnadeTecla(QMap<QKeySequence, QStringList>& usos, const QString& texto, const QString& quien) {
    const QKeySequence tecla = QKeySequence::mnemonic(texto);
    if (!tecla.isEmpty())
        usos[tecla] << quien;
}

QStringList Repetidas(const QString& ventana, const QMap<QKeySequence, QStringList>& usos) {
    QStringList r;
    for (auto i = usos.cbegin(); i != usos.cend(); ++i)
        if (i.value().size() > 1)
            r << ventana + QStringLiteral(": ") + i.key().toString() + QStringLiteral(" en ") +
                     i.value().join(QStringLiteral(", "));
    return r;
}

}  // namespace

QStringList FallosDisposicion(QWidget* ventana, const Superpuestos& permitidos) {
    Revision r(permitidos);
    if (ventana->isWindow() && ventana->isVisible()) {
        const QRect pantalla = ventana->screen()->availableGeometry();
        if (!pantalla.contains(ventana->frameGeometry()))
            r.fallos << Nombre(ventana) + QStringLiteral(" ") + Texto(ventana->frameGeometry()) +
                            QStringLiteral(" no cabe en la pantalla ") + Texto(pantalla);
    }
    r.Ventana(ventana);
    return r.fallos;
}

QStringList TeclasAccesoRepetidas(QWidget* ventana) {
    QMap<QKeySequence, QStringList> usos;
    QStringList r;
    for (QWidget* w : ventana->findChildren<QWidget*>()) {
        if (!EsDeLaVentana(w, ventana) || !w->isVisibleTo(ventana))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            AnadeTecla(usos, b->text(), Nombre(w));
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            AnadeTecla(usos, l->text(), Nombre(w));
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            AnadeTecla(usos, g->title(), Nombre(w));
        else if (auto* barra = qobject_cast<QMenuBar*>(w)) {
            QMap<QKeySequence, QStringList> menus;
            for (QAction* a : barra->actions()) {
                AnadeTecla(menus, a->text(), a->text());
                if (QMenu* m = a->menu()) {
                    QMap<QKeySequence, QStringList> items;
                    for (QAction* i : m->actions())
                        if (!i->isSeparator())
                            AnadeTecla(items, i->text(), i->text());
                    r << Repetidas(a->text(), items);
                }
            }
            r << Repetidas(Nombre(w), menus);
        }
    }
    r << Repetidas(Nombre(ventana), usos);
    return r;
}

QStringList ControlesSinTabulador(QWidget* ventana) {
    QList<QWidget*> esperados;
    for (QWidget* w : ventana->findChildren<QWidget*>())
        if (EsDeLaVentana(w, ventana) && w->isVisible() && w->isEnabled() && !w->focusProxy() &&
            (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            esperados << w;
    QList<QWidget*> alcanzados;
    QWidget* inicio = QApplication::focusWidget();
    if (inicio && EsDeLaVentana(inicio, ventana)) {
        alcanzados << inicio;
        for (int i = 0; i < 2 * esperados.size() + 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* foco = QApplication::focusWidget();
            if (!foco || !EsDeLaVentana(foco, ventana) || foco == inicio)
                break;
            alcanzados << foco;
        }
    }
    QStringList r;
    for (QWidget* w : esperados)
        if (!alcanzados.contains(w))
            r << Nombre(w);
    return r;
}

void GuardaCaptura(QWidget* ventana, const QString& nombre) {
    const QByteArray escala = qgetenv("QT_SCALE_FACTOR");
    QDir carpeta(QDir::current().filePath(QStringLiteral("capturas/escala") +
                                          (escala.isEmpty() ? QStringLiteral("1") : QString::fromLatin1(escala))));
    carpeta.mkpath(QStringLiteral("."));
    ventana->grab().save(carpeta.filePath(nombre + QStringLiteral(".png")));
}
