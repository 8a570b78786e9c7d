#include "ui/kit/color_chooser.h"

#include <QColorDialog>

#include "ui/kit/window_geometry.h"

int chooseColor(QWidget* owner, COLORREF* colour) {
    QColor start(*colour & 0xFF, *colour >> 8 & 0xFF, *colour >> 16 & 0xFF);
    QColorDialog dialog(start, owner);
    dialog.show();
    centerWindow(&dialog);
    if (dialog.exec() != QDialog::Accepted) return 0;
    QColor chosen = dialog.selectedColor();
    *colour = rgbColor(chosen.red(), chosen.green(), chosen.blue());
    return 1;
}
