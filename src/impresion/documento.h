#pragma once
// What a print job draws: pages of texts, each placed at a row and a column (both may be
// fractional) in a fixed-pitch face with a size in points and a weight. The writers of
// the printer, PDF, HTML and RTF outputs all place the texts through the same geometry, so
// every destination shows the page alike.
//
// Geometry (millimetres from the top left corner of the printable area):
//   y = row * 4.081632653061225 + 7.272727272727273
//   x = column * points / 4.75 + 6.486486486486486
// A column is as wide as one character of the text's own size, so a 14-point text at a
// column stands further right than a 6-point text at the same column.
#include <string>
#include <vector>

namespace impresion {

// Letter paper, portrait.
inline constexpr double kAnchoPaginaMm = 215.9;
inline constexpr double kAltoPaginaMm = 279.4;

struct TextoImpreso {
    double fila = 0;
    double columna = 0;
    std::string texto;  // Windows-1252
    double puntos = 6;
    bool negrita = false;
    bool operator==(const TextoImpreso&) const = default;
};

struct Pagina {
    std::vector<TextoImpreso> textos;
};

struct Documento {
    std::string nombre;
    std::vector<Pagina> paginas;
};

double y_mm(double fila);
double x_mm(double columna, double puntos);
// The width of `caracteres` characters of a fixed-pitch face of that size.
double ancho_mm(std::size_t caracteres, double puntos);

}  // namespace impresion
