#pragma once
// The button panel in the top left corner of the main window's client area.
#include <QWidget>

class QLabel;
class QToolButton;

class Menufrm : public QWidget {
    Q_OBJECT
public:
    explicit Menufrm(QWidget* parent = nullptr);

    // Lays the panel out against the main window's height.
    void Posiciona();
    // The panel became the active window: the other screens shrink to icons.
    void Form_Activate();
    // The focus on "Informe (F9)", where a new panel starts.
    void EnfocaInicio();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool Form_KeyDown(QKeyEvent* e);
    void BtnMenu_Click(int indice);
    void BtnSalir_Click();

    QToolButton* BtnMenu[2] = {};
    QToolButton* BtnSalir = nullptr;
    QLabel* LblInfo = nullptr;
    QLabel* LblTitulo = nullptr;
};
