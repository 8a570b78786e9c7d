#include "ui/kit/list_box.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <algorithm>

namespace {

bool validRow(QListWidget* box, int index) { return index >= 0 && index < box->count(); }

bool singleSelection(QListWidget* box) {
    return box->selectionMode() == QAbstractItemView::SingleSelection ||
           box->selectionMode() == QAbstractItemView::NoSelection;
}

} // namespace

int listboxAddString(QListWidget* box, const QString& text) {
    box->addItem(text);
    int index = box->count() - 1;
    if (index == 0) box->setCurrentRow(0);
    return index;
}

int listboxInsertString(QListWidget* box, int index, const QString& text) {
    if (index < 0 || index > box->count()) index = box->count();
    box->insertItem(index, text);
    return index;
}

int listboxDeleteString(QListWidget* box, int index) {
    if (!validRow(box, index)) return -1;
    delete box->takeItem(index);
    return box->count();
}

QString listboxGetText(QListWidget* box, int index) {
    return validRow(box, index) ? box->item(index)->text() : QString();
}

int listboxSelectString(QListWidget* box, const QString& text) {
    for (int i = 0; i < box->count(); ++i) {
        if (box->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
            listboxSelect(box, i);
            return i;
        }
    }
    return -1;
}

int listboxGetCount(QListWidget* box) { return box->count(); }

int listboxGetCurrent(QListWidget* box) {
    QList<QListWidgetItem*> selected = box->selectedItems();
    if (singleSelection(box)) return selected.isEmpty() ? -1 : box->row(selected.first());
    if (selected.isEmpty()) return -1;
    QListWidgetItem* current = box->currentItem();
    if (current && current->isSelected()) return box->row(current);
    int first = box->count();
    for (QListWidgetItem* item : selected) first = std::min(first, box->row(item));
    return first;
}

void listboxSelect(QListWidget* box, int index) {
    if (!validRow(box, index)) return;
    if (singleSelection(box)) box->setCurrentRow(index);
    else box->item(index)->setSelected(true);
}

void listboxReplaceString(QListWidget* box, int index, const QString& text) {
    if (validRow(box, index)) box->item(index)->setText(text);
}

int listViewGetFocusedSelected(QAbstractItemView* view) {
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection) return -1;
    QModelIndex current = view->currentIndex();
    if (current.isValid() && selection->isSelected(current)) return current.row();
    QModelIndexList rows = selection->selectedIndexes();
    if (rows.isEmpty()) return -1;
    int first = rows.first().row();
    for (const QModelIndex& index : rows) first = std::min(first, index.row());
    return first;
}

void listViewSelectItem(QAbstractItemView* view, int row) {
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection || !view->model()) return;
    QModelIndex index = view->model()->index(row, 0, view->rootIndex());
    if (!index.isValid()) return;
    if (listViewGetFocusedSelected(view) == row) selection->clearSelection();
    selection->select(index, QItemSelectionModel::Select);
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    view->scrollTo(index, QAbstractItemView::EnsureVisible);
}
