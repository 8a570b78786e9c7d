// The automatic caption layouts of the list's context menu: every
// picture's caption position set in list order, each from the one before.
#pragma once

enum class CaptionLayout {
    EdgeDiagonal,   // on the edge, each in the corner opposite the last
    EdgeCross,      // on the edge, going round the corners
    InsetDiagonal,  // inset, each in the corner opposite the last
    InsetCross,     // inset, going round the corners
    CenterBottom,   // every caption at the centre bottom
};

// The first picture's position under layout, from the position it has.
int firstCaptionPosition(CaptionLayout layout, int position);
// A later picture's position under layout, from the picture before it.
int nextCaptionPosition(CaptionLayout layout, int previous);

// Sets every picture's caption position under layout, then the markers and,
// for a single selected picture, the position combo.
void arrangeCaptions(CaptionLayout layout);
