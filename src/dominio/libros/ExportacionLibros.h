#pragma once
// The books written on a worker thread, so that the window keeps answering:
// the progress and the end come back as signals, and a cancel is seen by the
// writer at its next step, which then leaves no file behind.
#include "dominio/libros/ArchivoLibros.h"

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <memory>

class ExportacionLibros : public QObject {
    Q_OBJECT
public:
    explicit ExportacionLibros(QObject* parent = nullptr);
    // Cancels an export still running and waits for it to stop.
    ~ExportacionLibros() override;

    // Starts writing `datos` to `ruta`; ignored while another export runs.
    void Empieza(const QString& ruta, FormatoLibros formato, std::shared_ptr<const DatosLibros> datos);
    bool EnMarcha() const { return enMarcha_; }
    // The outcome, once Terminada has been emitted.
    const ResultadoLibros& Resultado() const { return resultado_; }

    // Asks the writer to stop; Terminada follows, Cancelado unless it had already finished.
    void Cancela() { cancelada_ = true; }

signals:
    // From the worker thread: a receiver in the window's thread gets it queued.
    void Avance(int hechas, int total);
    // In this object's thread, when the writer has stopped.
    void Terminada();

private:
    void Acaba();

    QFutureWatcher<ResultadoLibros> vigilante_;
    std::atomic<bool> cancelada_{false};
    bool enMarcha_ = false;
    ResultadoLibros resultado_;
};
