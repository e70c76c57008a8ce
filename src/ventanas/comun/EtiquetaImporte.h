#pragma once
// A label that shows an amount. A label cuts what does not fit at its edge,
// so that a long amount would read as a smaller one; this one shows where it
// is cut ("…"), and the whole amount in its tooltip.
#include <QLabel>

class EtiquetaImporte : public QLabel {
    Q_OBJECT
public:
    explicit EtiquetaImporte(const QString& texto, QWidget* parent = nullptr);

    // What the label shows: the whole text when it fits, else cut with "…".
    QString TextoVisible() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    QRect RectTexto() const;
};
