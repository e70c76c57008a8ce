#pragma once
// The program's identity as the about box shows it. The developer's data
// are kept here and nowhere else.
#include <QString>

struct Identidad {
    QString titulo;          // "Fiscalino"
    int versionMayor;
    int versionMenor;
    QString descripcion;
    QString autor;
    QString correo;          // shown text
    QString enlaceCorreo;    // "mailto:" + address
    QString web;             // shown text, a full address
    QString enlaceWeb;
};

const Identidad& IdentidadPrograma();

// "Versión 1.0": each part a whole number without leading zeros.
QString LineaVersion(int mayor, int menor);
