#pragma once
// The about box.
#include <QDialog>

class QLabel;
class QPushButton;

class AcercaDeFrm : public QDialog {
    Q_OBJECT
public:
    explicit AcercaDeFrm(QWidget* parent = nullptr);

    // Whether a link label shows its hovered state.
    static bool Subrayado(const QLabel* l);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QLabel* Lbls[6] = {};
    QLabel* LblTexto1 = nullptr;  // "LblTexto(1)"
    QLabel* LblVersion = nullptr;
    QLabel* LblDescripcion = nullptr;
    QLabel* LblAutor = nullptr;
    QLabel* LblEmail = nullptr;
    QLabel* LblWeb = nullptr;
    QLabel* Picture1 = nullptr;
    QPushButton* BtnAceptar = nullptr;

    void Form_Load();
    void Enlace_MouseMove(QLabel* l);
    void Form_MouseMove();
    void Enlace_Click(QLabel* l);
};
