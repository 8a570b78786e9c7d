#include "platform/picture_list_view.h"

#include <atomic>

namespace {
std::atomic<const PictureListViewHandler*> currentHandler{nullptr};
} // namespace

void setRowLabel(int row, const std::string& label) {
    const PictureListViewHandler* handler = currentHandler.load();
    if (handler && handler->setRowLabel) handler->setRowLabel(row, label);
}

void selectOnlyRow(int row) {
    const PictureListViewHandler* handler = currentHandler.load();
    if (handler && handler->selectOnlyRow) handler->selectOnlyRow(row);
}

const PictureListViewHandler* setPictureListViewHandler(const PictureListViewHandler* handler) {
    return currentHandler.exchange(handler);
}
