#pragma once
// The lock keys' state for the status bar. On X11 the keyboard LEDs tell it;
// elsewhere the state follows the lock keys pressed while the program runs.
#include <QObject>

class EstadoTeclas : public QObject {
    Q_OBJECT
public:
    explicit EstadoTeclas(QObject* parent = nullptr);
    ~EstadoTeclas() override;

    bool BloqNum() const { return num_; }
    bool BloqMayus() const { return mayus_; }
    // Overwrite mode, toggled by the Insert key; off at start.
    bool Insertar() const { return ins_; }

    // Reads the LEDs again where the platform tells them.
    void Actualiza();

signals:
    void Cambiado();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool LeeLeds(bool& num, bool& mayus);
    bool num_ = false;
    bool mayus_ = false;
    bool ins_ = false;
};
