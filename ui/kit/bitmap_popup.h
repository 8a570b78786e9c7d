// A picture shown alone in a borderless window in the middle of the
// screen, which fades out after a delay and then closes itself.
#pragma once

class QPixmap;
class QWidget;

// Shows the popup and returns it (it deletes itself when it has faded);
// null for an empty picture. After delay milliseconds its opacity drops
// from 255 in 9 steps of 30, one every 50 ms, and it closes.
QWidget* showBitmapPopup(QWidget* owner, const QPixmap& picture, int delay);
