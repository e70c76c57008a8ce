#include "dominio/libros/ExportacionLibros.h"

#include <QtConcurrent/QtConcurrentRun>

ExportacionLibros::ExportacionLibros(QObject* parent) : QObject(parent) {
    connect(&vigilante_, &QFutureWatcher<ResultadoLibros>::finished, this, &ExportacionLibros::Acaba);
}

ExportacionLibros::~ExportacionLibros() {
    cancelada_ = true;
    vigilante_.waitForFinished();
}

void ExportacionLibros::Empieza(const QString& ruta, FormatoLibros formato, std::shared_ptr<const DatosLibros> datos) {
    if (enMarcha_)
        return;
    enMarcha_ = true;
    cancelada_ = false;
    resultado_ = {};
    vigilante_.setFuture(QtConcurrent::run([this, ruta, formato, datos = std::move(datos)] {
        return EscribeLibros(ruta, formato, *datos, [this](int hechas, int total) {
            emit Avance(hechas, total);
            return !cancelada_.load();
        });
    }));
}

void ExportacionLibros::Acaba() {
    resultado_ = vigilante_.result();
    enMarcha_ = false;
    emit Terminada();
}
