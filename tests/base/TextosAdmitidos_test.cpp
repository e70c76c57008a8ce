#include "base/TextosAdmitidos.h"

#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

namespace {

const QString kCara = QString::fromUtf8("😍");
const QChar kMitadAlta = kCara[0];
const QChar kMitadBaja = kCara[1];

}  // namespace

TEST(TextosAdmitidos, SinCaracteresDeControlNiMitades) {
    const struct {
        QString texto;
        bool unaLinea, variasLineas;
    } casos[] = {
        {"Factura de López, S.L. (10 %) €", true, true},
        {"secreto" + kCara + " y familia 👨‍👩‍👧", true, true},
        {"", true, true},
        {QString("a") + QChar(0) + "b", false, false},
        {"a\tb", false, false},
        {"a\nb", false, true},
        {"a\r\nb", false, false},
        {QString("a") + QChar(0x7F), false, false},
        {QString("a") + QChar(0x85), false, false},
        {QString("a") + kMitadAlta, false, false},
        {kMitadBaja + QString("a"), false, false},
        {QString("a") + QChar(0xFFFF), false, false},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(TextoAdmitido(c.texto), c.unaLinea) << c.texto.toStdString();
        EXPECT_EQ(TextoAdmitido(c.texto, true), c.variasLineas) << c.texto.toStdString();
    }
    EXPECT_EQ(MensajeTextoNoAdmitido("Descripción"),
              "El campo 'Descripción' contiene caracteres que no se pueden guardar (caracteres de control, que no se "
              "ven, o caracteres incompletos). Bórrelos y vuelva a intentarlo.");
}

TEST(TextosAdmitidos, LosLimitesCuentanCaracteresEnteros) {
    EXPECT_EQ(LongitudEnCaracteres("secreto" + kCara), 8);
    EXPECT_EQ(LongitudEnCaracteres(""), 0);
    const struct {
        QString texto;
        int cursor, limite;
        QString queda;
        int cursorFinal;
    } casos[] = {
        // A whole emoji fits as the eighth character.
        {"secreto" + kCara, 9, 8, "secreto" + kCara, 9},
        // What does not fit goes from the end of the insertion, whole.
        {"secretos" + kCara, 10, 8, "secretos", 8},
        {"ab" + kCara + kCara + "cd", 6, 5, "ab" + kCara + "cd", 4},
        {"abcdef", 3, 4, "adef", 1},
        // The half a box's own limit left is never kept.
        {"secreto" + QString(kMitadAlta), 8, 8, "secreto", 7},
        {QString(kMitadBaja) + "ab", 0, 8, "ab", 0},
        // A text written at the end (cursor past it) is cut at its end.
        {"abcdefghij", 10, 8, "abcdefgh", 8},
        {"abc", 0, 2, "ab", 0},
    };
    for (const auto& c : casos) {
        QString t = c.texto;
        int cursor = c.cursor;
        RecortaACaracteres(t, cursor, c.limite);
        EXPECT_EQ(t, c.queda) << c.texto.toStdString();
        EXPECT_EQ(cursor, c.cursorFinal) << c.texto.toStdString();
    }
}
