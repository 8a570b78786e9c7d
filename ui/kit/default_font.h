// The one dialog font every control of the program uses, and fonts of
// one's own for single controls. The shared font is the stock 9-point
// dialog font in 宋体 at normal weight; on a screen above 96 DPI its pixel
// height is divided back down, so that texts keep fitting the fixed
// control geometry.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

// The stock pixel height (9 points at dpi) divided by the DPI factor
// f = (dpi - 96) x 1.041666 / 100 + 1, truncated; unchanged at 96 DPI or
// below.
int compensatedFontHeight(int height, int dpi);
// The stock dialog font's pixel height at dpi (9 points).
int stockFontHeight(int dpi);

// The shared font, built on first use from the primary screen's DPI.
const QFont& sharedDefaultFont();

// Gives widget the shared font; null is ignored.
void setDefaultFont(QWidget* widget);
// Gives every descendant of parent the shared font (not parent itself).
void setDefaultFontOnChildren(QWidget* parent);

// A font of its own for widget: the stock font with face (at most 31
// characters), pixel height (0 keeps the stock height), weight (CSS
// weights, 400 normal), underline and italic.
void setControlFont(QWidget* widget, const QString& face, int height, int weight, bool underline,
                    bool italic);
