// The picture list view: the thumbnails of pictureList side by side in one
// line that scrolls horizontally, each labelled with its effect name (its
// file name in GIF mode), with the empty-list hint, the per-picture effect
// combo on its hover panel and the 60 caption markers inside it. It is the
// user-interface side of platform/picture_list_view.h.
//
// The user's own actions on it reach the main window's list notifications
// (ui/picture_list_notifications.h): a selection change or the focus
// coming in (once the change is complete), a click, a double click, a
// right click (the context menu), and scrolling, during which the hover
// panel and the markers keep to their rows.
//
// User-interface thread only.
#pragma once

#include <QListWidget>

#include "platform/picture_list_view.h"

class QComboBox;
class QLabel;
class QMenu;

class PictureListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit PictureListWidget(QWidget* parent);
    ~PictureListWidget() override;

    QWidget* hoverPanel() const { return hoverPanel_; }
    QComboBox* effectCombo() const { return effectCombo_; }
    QLabel* emptyListHint() const { return emptyHint_; }
    QWidget* captionMarker(int slot) const { return markers_[slot]; }
    // The context menu shown on a right click (its items carry their ids).
    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }

    // The seam's operations.
    int insertRow(int index, const std::string& label, const RowIcon& icon);
    int rowState(int row) const;
    void setRowState(int row, int state, int mask);
    void swapRowIcons(int a, int b);
    ListPoint rowPosition(int row) const;
    ListRect rowIconRect(int row) const;
    int horizontalScroll() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void scheduleSelectionRefresh();

    QWidget* hoverPanel_;
    QComboBox* effectCombo_;
    QLabel* emptyHint_;
    QWidget* markers_[kCaptionMarkerSlots];
    QMenu* contextMenu_ = nullptr;
    bool refreshPending_ = false;
};

// Creates the list view in parent at its place, registers it and its parts
// under their ids and installs it as the program's list view.
PictureListWidget* createPictureListWidget(QWidget* parent);

// The list view, or null before it is created and after it is gone.
PictureListWidget* pictureListWidget();
