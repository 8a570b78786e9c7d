// The toolbar buttons whose tooltips say more than their labels.
#pragma once

#include <QString>

class QObject;

// The tooltip of a toolbar command, or an empty text for the buttons whose
// tooltip is their label.
QString toolbarTooltip(int id);

// Gives the toolbar's actions and buttons under root their tooltips.
void applyToolbarTooltips(QObject* root);
