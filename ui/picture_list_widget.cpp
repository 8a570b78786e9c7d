#include "ui/picture_list_widget.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include "platform/command_ids.h"
#include "render/thumbnail.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window_tables.h"
#include "ui/picture_list_notifications.h"

namespace {

QPointer<PictureListWidget> theList;

// Icons stand in one line: the grid is one icon plus its spacing wide, and
// high enough for the icon and its label but never for two rows.
constexpr int kCellWidth = thumbnailWidth + 8;
constexpr int kCellHeight = thumbnailHeight + 20;
constexpr int kIconTop = 2;

// The hint shown on an empty list: how to add pictures.
QPixmap emptyListHintPixmap() {
    QPixmap pixmap(kEmptyHintWidth, kEmptyHintHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.setBrush(QColor(0xf7, 0xf7, 0xf7));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kEmptyHintWidth - 1, kEmptyHintHeight - 1), 6, 6);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawText(QRect(0, 0, kEmptyHintWidth, kEmptyHintHeight), Qt::AlignCenter,
                     QString::fromUtf8("点击 [添加图片] 添加商品图片\n或将图片拖放到这里"));
    return pixmap;
}

QWidget* makeCaptionMarker(QWidget* parent) {
    auto* marker = new QWidget(parent);
    marker->setGeometry(10, 10, kMarkerWidth, kMarkerHeight);
    marker->setEnabled(false);
    marker->hide();
    auto* text = new QLabel(QString::fromUtf8("文字"), marker);
    text->setGeometry(0, 0, kMarkerWidth, kMarkerHeight);
    text->setAlignment(Qt::AlignCenter);
    // White on black in every state: the marker itself is disabled, so
    // that clicks reach the row below it.
    text->setStyleSheet("QLabel { background-color: black; color: white; }");
    return marker;
}

void fillEffectCombo(QComboBox* combo) {
    combo->addItem(QString::fromUtf8("无动画"));
    for (const char* const* group : kEffectGroups) {
        combo->addItem(QString::fromUtf8(EFFECT_COMBO_SEPARATOR));
        for (const char* const* name = group; *name; ++name) combo->addItem(QString::fromUtf8(*name));
    }
}

// ---- The seam, answered by the widget ----

void qtSetRowLabel(int row, const std::string& label) {
    if (theList && row >= 0 && row < theList->count())
        theList->item(row)->setText(QString::fromStdString(label));
}
void qtSelectOnlyRow(int row) {
    if (!theList || row < 0 || row >= theList->count()) return;
    QModelIndex index = theList->model()->index(row, 0);
    theList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    theList->scrollTo(index);
}
int qtInsertRow(int index, const std::string& label, const RowIcon& icon) {
    return theList ? theList->insertRow(index, label, icon) : -1;
}
void qtDeleteRow(int row) {
    if (theList && row >= 0 && row < theList->count()) delete theList->takeItem(row);
}
void qtDeleteAllRows() {
    if (theList) theList->clear();
}
int qtRowCount() { return theList ? theList->count() : 0; }
int qtRowState(int row) { return theList ? theList->rowState(row) : 0; }
void qtSetRowState(int row, int state, int mask) {
    if (theList) theList->setRowState(row, state, mask);
}
void qtSwapRowIcons(int a, int b) {
    if (theList) theList->swapRowIcons(a, b);
}
void qtEnsureRowVisible(int row) {
    if (theList && row >= 0 && row < theList->count()) theList->scrollToItem(theList->item(row));
}
void qtArrangeRows() {
    if (theList) theList->doItemsLayout();
}
ListPoint qtRowPosition(int row) { return theList ? theList->rowPosition(row) : ListPoint(); }
ListRect qtRowIconRect(int row) { return theList ? theList->rowIconRect(row) : ListRect(); }
int qtHorizontalScroll() { return theList ? theList->horizontalScroll() : 0; }
int qtHitTest(int x, int y) {
    if (!theList) return -1;
    QModelIndex index = theList->indexAt(QPoint(x, y));
    return index.isValid() ? index.row() : -1;
}
void qtShowEmptyListHint(int shown) {
    if (theList) theList->emptyListHint()->setVisible(shown != 0);
}
void qtShowHoverPanel(int x, int y) {
    if (!theList) return;
    theList->hoverPanel()->move(x, y);
    theList->hoverPanel()->show();
    theList->hoverPanel()->raise();
}
void qtHideHoverPanel() {
    if (theList) theList->hoverPanel()->hide();
}
void qtMoveCaptionMarker(int slot, int x, int y) {
    if (theList && slot >= 0 && slot < kCaptionMarkerSlots) theList->captionMarker(slot)->move(x, y);
}
void qtShowCaptionMarker(int slot, int shown) {
    if (!theList || slot < 0 || slot >= kCaptionMarkerSlots) return;
    QWidget* marker = theList->captionMarker(slot);
    marker->setVisible(shown != 0);
    if (shown) marker->raise();
}

PictureListViewHandler makeQtView() {
    PictureListViewHandler view;
    view.setRowLabel = qtSetRowLabel;
    view.selectOnlyRow = qtSelectOnlyRow;
    view.insertRow = qtInsertRow;
    view.deleteRow = qtDeleteRow;
    view.deleteAllRows = qtDeleteAllRows;
    view.rowCount = qtRowCount;
    view.rowState = qtRowState;
    view.setRowState = qtSetRowState;
    view.swapRowIcons = qtSwapRowIcons;
    view.ensureRowVisible = qtEnsureRowVisible;
    view.arrangeRows = qtArrangeRows;
    view.rowPosition = qtRowPosition;
    view.rowIconRect = qtRowIconRect;
    view.horizontalScroll = qtHorizontalScroll;
    view.hitTest = qtHitTest;
    view.showEmptyListHint = qtShowEmptyListHint;
    view.showHoverPanel = qtShowHoverPanel;
    view.hideHoverPanel = qtHideHoverPanel;
    view.moveCaptionMarker = qtMoveCaptionMarker;
    view.showCaptionMarker = qtShowCaptionMarker;
    return view;
}
const PictureListViewHandler qtView = makeQtView();

} // namespace

PictureListWidget::PictureListWidget(QWidget* parent) : QListWidget(parent) {
    setGeometry(kPictureListGeometry.x, kPictureListGeometry.y, kPictureListGeometry.width,
                kPictureListGeometry.height + kScrollBarExtent);
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setIconSize(QSize(thumbnailWidth, thumbnailHeight));
    setGridSize(QSize(kCellWidth, kCellHeight));
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);

    QWidget* client = viewport();
    for (int slot = 0; slot < kCaptionMarkerSlots; ++slot) markers_[slot] = makeCaptionMarker(client);

    hoverPanel_ = new QWidget(client);
    hoverPanel_->setGeometry(0, 0, thumbnailWidth, kHoverPanelHeight);
    hoverPanel_->hide();
    effectCombo_ = new QComboBox(hoverPanel_);
    effectCombo_->setGeometry(0, 0, thumbnailWidth, kEffectComboHeight);
    fillEffectCombo(effectCombo_);

    emptyHint_ = new QLabel(client);
    emptyHint_->setGeometry(kEmptyHintX, (kScrollBarExtent + 131) / 2, kEmptyHintWidth,
                            kEmptyHintHeight);
    emptyHint_->setPixmap(emptyListHintPixmap());

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { scheduleSelectionRefresh(); });
}

PictureListWidget::~PictureListWidget() {
    if (theList == this) setPictureListViewHandler(nullptr);
}

int PictureListWidget::insertRow(int index, const std::string& label, const RowIcon& icon) {
    if (index < 0 || index > count()) return -1;
    QImage image(icon.rgba, icon.width, icon.height, icon.width * 4, QImage::Format_RGBA8888);
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(image.copy())),
                                     QString::fromStdString(label));
    insertItem(index, item);
    return index;
}

int PictureListWidget::rowState(int row) const {
    if (row < 0 || row >= count()) return 0;
    QModelIndex index = model()->index(row, 0);
    int state = selectionModel()->isSelected(index) ? ROW_SELECTED : 0;
    if (currentIndex() == index) state |= ROW_FOCUSED;
    return state;
}

void PictureListWidget::setRowState(int row, int state, int mask) {
    if (row < 0 || row >= count()) return;
    QModelIndex index = model()->index(row, 0);
    if (mask & ROW_SELECTED)
        selectionModel()->select(index, state & ROW_SELECTED ? QItemSelectionModel::Select
                                                             : QItemSelectionModel::Deselect);
    if (mask & ROW_FOCUSED) {
        if (state & ROW_FOCUSED)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        else if (currentIndex() == index)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void PictureListWidget::swapRowIcons(int a, int b) {
    if (a < 0 || b < 0 || a >= count() || b >= count()) return;
    QIcon first = item(a)->icon();
    item(a)->setIcon(item(b)->icon());
    item(b)->setIcon(first);
}

ListPoint PictureListWidget::rowPosition(int row) const {
    if (row < 0 || row >= count()) return {};
    QRect rect = visualRect(model()->index(row, 0));
    return {rect.x() + horizontalOffset(), rect.y() + verticalOffset()};
}

ListRect PictureListWidget::rowIconRect(int row) const {
    if (row < 0 || row >= count()) return {};
    QRect rect = visualRect(model()->index(row, 0));
    ListRect icon;
    icon.left = rect.x() + (rect.width() - thumbnailWidth) / 2;
    icon.top = rect.y() + kIconTop;
    icon.right = icon.left + thumbnailWidth;
    icon.bottom = icon.top + thumbnailHeight;
    return icon;
}

int PictureListWidget::horizontalScroll() const { return horizontalOffset(); }

void PictureListWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_) showListContextMenu(contextMenu_, event->globalPos());
}

void PictureListWidget::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    onPictureListClicked();
}

void PictureListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    onPictureListDoubleClicked();
}

void PictureListWidget::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    QTimer::singleShot(0, this, [] { onPictureListFocused(); });
}

void PictureListWidget::scrollContentsBy(int dx, int dy) {
    QListWidget::scrollContentsBy(dx, dy);
    // The panel and the markers belong to rows: they follow them at every step.
    onPictureListScrollEnded();
}

// Once the change is complete: a removal deselects rows on its way, and
// the records must not be read before it has removed theirs too.
void PictureListWidget::scheduleSelectionRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        onPictureListSelectionChanged();
    });
}

PictureListWidget* createPictureListWidget(QWidget* parent) {
    auto* list = new PictureListWidget(parent);
    theList = list;
    registerControl(IDC_PICTURE_LIST, list);
    registerControl(IDC_HOVER_PANEL, list->hoverPanel());
    registerControl(IDC_ITEM_EFFECT, list->effectCombo());
    registerControl(IDC_EMPTY_LIST_HINT, list->emptyListHint());
    bindCommand(list->effectCombo(), IDC_ITEM_EFFECT);
    setPictureListViewHandler(&qtView);
    return list;
}

PictureListWidget* pictureListWidget() { return theList.data(); }
