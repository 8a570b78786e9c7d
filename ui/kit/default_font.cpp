#include "ui/kit/default_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace {

// Faces tried after the named one, for systems without the Windows fonts.
// The first stand-in is, like 宋体, a CJK face whose Latin letters and
// digits all take half a character's width, so blank-padded texts (the size
// presets, the position entries) line up in columns.
const QStringList kFallbackFaces = {"SimSun", "Noto Sans Mono CJK SC", "WenQuanYi Micro Hei",
                                    "Noto Sans CJK SC"};

int screenDpi() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

QFont stockFont(const QString& face) {
    QFont font;
    QStringList faces{face};
    faces += kFallbackFaces;
    font.setFamilies(faces);
    font.setPixelSize(stockFontHeight(screenDpi()));
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

int stockFontHeight(int dpi) { return static_cast<int>(std::lround(9.0 * dpi / 72.0)); }

int compensatedFontHeight(int height, int dpi) {
    if (dpi <= 96) return height;
    float factor = (dpi - 96) * 1.041666f / 100 + 1;
    return static_cast<int>(height / factor);
}

const QFont& sharedDefaultFont() {
    static const QFont font = [] {
        QFont built = stockFont(QString::fromUtf8("宋体"));
        built.setPixelSize(compensatedFontHeight(built.pixelSize(), screenDpi()));
        return built;
    }();
    return font;
}

void setDefaultFont(QWidget* widget) {
    if (widget) widget->setFont(sharedDefaultFont());
}

void setDefaultFontOnChildren(QWidget* parent) {
    if (!parent) return;
    for (QWidget* child : parent->findChildren<QWidget*>()) setDefaultFont(child);
}

void setControlFont(QWidget* widget, const QString& face, int height, int weight, bool underline,
                    bool italic) {
    if (!widget) return;
    QFont font = stockFont(face.left(31));
    if (height != 0) font.setPixelSize(std::abs(height));
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setUnderline(underline);
    font.setItalic(italic);
    widget->setFont(font);
}
