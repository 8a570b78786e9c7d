// The caption sample ("文字示例") shows the chosen caption colours: with a
// caption box checked, the text colour of the colour combo's entry on its
// box colour; an entry without a box (equal colours) on the window colour,
// except white text on a white or near-white window, which shows on grey.
// With no caption box checked it is black on white.
#pragma once

#include <QColor>

class QWidget;

struct SampleColors {
    QColor text;
    QColor background;
};

// The colours for colour combo entry index (captionTextColors /
// captionBoxColors), whether a caption box is checked, and the window colour.
SampleColors captionSampleColors(int index, bool captionChecked, const QColor& window);

// Keeps sample's colours up to date: they are worked out from the caption
// controls each time it is painted.
void keepCaptionSampleColored(QWidget* sample);
