#include "ventanas/comun/EtiquetaImporte.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

EtiquetaImporte::EtiquetaImporte(const QString& texto, QWidget* parent) : QLabel(texto, parent) {}

QRect EtiquetaImporte::RectTexto() const {
    // Where a label puts its text: inside its margin, and a frame keeps half an
    // "x" between the text and the side it is aligned to.
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int sangria = indent();
    if (sangria < 0 && frameWidth() > 0)
        sangria = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    if (sangria > 0) {
        if (alignment() & Qt::AlignLeft)
            r.setLeft(r.left() + sangria);
        if (alignment() & Qt::AlignRight)
            r.setRight(r.right() - sangria);
    }
    return r;
}

QString EtiquetaImporte::TextoVisible() const {
    const int ancho = RectTexto().width();
    if (fontMetrics().horizontalAdvance(text()) <= ancho)
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, ancho);
}

void EtiquetaImporte::paintEvent(QPaintEvent* e) {
    const QString visible = TextoVisible();
    if (visible == text()) {
        QLabel::paintEvent(e);
        return;
    }
    QFrame::paintEvent(e);
    QPainter p(this);
    style()->drawItemText(&p, RectTexto(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), visible, foregroundRole());
}

bool EtiquetaImporte::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* ayuda = static_cast<QHelpEvent*>(e);
        if (TextoVisible() != text())
            QToolTip::showText(ayuda->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}
