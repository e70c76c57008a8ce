#pragma once
// The one road by which the program shows a message and reads the answer.
// The core knows no widgets: the program plugs its message boxes in with
// InstalaPresentador, and the tests plug in a recorder (RegistroMensajes).
#include <QString>
#include <QList>
#include <functional>

extern const QString TituloAplicacion;  // "Fiscalino"

enum class Botones { Aceptar, SiNo, AceptarCancelar, SiNoCancelar };
enum class Icono { Ninguno, Informacion, Pregunta, Exclamacion, Critico };
enum class Respuesta { Aceptar, Cancelar, Si, No };

struct Mensaje {
    QString texto;
    Botones botones = Botones::Aceptar;
    Icono icono = Icono::Ninguno;
    Respuesta porDefecto = Respuesta::Aceptar;  // the button Enter presses
    QString titulo;
};

using Presentador = std::function<Respuesta(const Mensaje&)>;

// Returns the presenter that was installed before.
Presentador InstalaPresentador(Presentador p);

// Shows a message through the installed presenter. With no presenter the
// default answer is returned. The default button is the first one unless given.
Respuesta MuestraMensaje(const QString& texto, Botones botones = Botones::Aceptar,
                         Icono icono = Icono::Ninguno, const QString& titulo = QString(),
                         Respuesta porDefecto = Respuesta::Aceptar);

// Information notice: OK button, information icon, the application's title.
void Aviso(const QString& texto);

// Records every message shown while it lives and answers them from a queue
// (the default button when the queue is empty). Restores the previous
// presenter when destroyed. Meant for tests.
class RegistroMensajes {
public:
    RegistroMensajes();
    ~RegistroMensajes();
    RegistroMensajes(const RegistroMensajes&) = delete;
    RegistroMensajes& operator=(const RegistroMensajes&) = delete;

    void Responde(Respuesta r) { respuestas_.append(r); }
    // Runs before each answer is given, e.g. to look at the windows behind the box.
    void AlMostrar(std::function<void(const Mensaje&)> f) { alMostrar_ = std::move(f); }

    const QList<Mensaje>& mostrados() const { return mostrados_; }
    QStringList textos() const;
    int cuenta() const { return mostrados_.size(); }
    const Mensaje& ultimo() const { return mostrados_.last(); }
    void Limpia() { mostrados_.clear(); }

private:
    QList<Mensaje> mostrados_;
    QList<Respuesta> respuestas_;
    std::function<void(const Mensaje&)> alMostrar_;
    Presentador anterior_;
};
