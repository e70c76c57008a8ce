#pragma once
// Twips (1/1440 inch) against pixels at a given logical dpi.

int PixelesDeTwips(double twips, double dpi);
double TwipsDePixeles(int pixeles, double dpi);
