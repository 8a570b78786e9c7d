// Tooltips: a plain one on a control, and balloon tips shown under a
// window until closed or for a while. Shown balloon tips are kept in a
// table (guarded by a lock); at most 7 are open at once: the eighth closes
// all the others first.
#pragma once

#include <QPointer>
#include <QString>

class QWidget;

enum : int { TIP_ICON_NONE = 0, TIP_ICON_INFO = 1, TIP_ICON_WARNING = 2, TIP_ICON_ERROR = 3 };

struct TooltipRecord {
    QPointer<QWidget> window;  // the balloon
};

// The control shows text when hovered; false for a null control or empty text.
bool addToolTip(QWidget* control, const QString& text);

// A balloon (not yet shown) at the bottom edge of anchor's window, across
// from the cursor when atCursor is set, else from the window's middle; the
// title (bold, with the icon) only when not empty.
QWidget* createTrackingTooltip(QWidget* anchor, const QString& text, const QString& title,
                               int icon, bool atCursor);

// Shows a balloon and records it; null for a null anchor.
TooltipRecord* showTrackedTooltip(QWidget* anchor, const QString& text, const QString& title,
                                  int icon, bool atCursor);
// Shows a balloon that closes itself after delay milliseconds (it is not
// recorded).
void showTimedTooltip(QWidget* anchor, const QString& text, const QString& title, int icon,
                      bool atCursor, int delay);

// Closes the balloon and frees the record.
void closeTooltip(TooltipRecord* record);
void closeAllTooltips();
// Balloons recorded and not yet closed.
int openTooltipCount();
