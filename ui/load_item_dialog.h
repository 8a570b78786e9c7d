// The load-item dialog "加载宝贝图片": where the item pictures come from (a
// marketplace item address or picture addresses) and, when the service
// offers them, which kind of item pictures to take. It is created on first
// use and then kept hidden between runs: the address is emptied at every
// opening, the picture type stays as last chosen.
//
// Its layout follows itemPictureMode and itemPictureTypes: mode 6 asks for
// picture addresses only; types 3 offers the colour-variant pictures.
// Addresses of the wholesale marketplace are refused with a notice that
// points to the browser extension, and the dialog stays open.
//
// User-interface thread only.
#pragma once

#include "platform/load_item_dialog.h"

#include <QDialog>

class ActivationFocus;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

constexpr int kLoadItemDialogWidth = 431;
constexpr int kLoadItemDialogHeight = 163;

class LoadItemDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadItemDialog(QWidget* owner);

    // Applies the mode-6 layout when the mode asks for it, empties the
    // address and keeps result as the record this run fills.
    void prepare(LoadItemRequest* result);

    QLabel* typeLabel;
    QComboBox* typeCombo;
    QLabel* addressLabel;
    QLineEdit* addressEdit;
    QLabel* link;
    QPushButton* okButton;
    QPushButton* cancelButton;

    // Cancel and Escape: the request is not confirmed.
    void reject() override;

protected:
    // Closed by the window manager: the record keeps what the caller set.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A click in the address edit selects the whole address.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();
    void addressChanged();
    void openExtensionPage();

    LoadItemRequest* result = nullptr;
    ActivationFocus* focus = nullptr;
};

// Runs the dialog modally over owner (a QWidget, or null) and leaves the
// answer in result: ok 1 with the trimmed address and the picture type, or
// ok 0 after Cancel. Does nothing while a run is already open.
void runLoadItemPicturesDialog(void* owner, LoadItemRequest* result);

// Shows the dialog's link to get picture addresses with a browser extension
// (the service's mode 6 asks for it; the link is visible from the start).
void showLoadItemDialogLink();

// Puts runLoadItemPicturesDialog behind showLoadItemPicturesDialog
// (platform/load_item_dialog.h), which the item-picture loaders call.
void installLoadItemDialog();

// The dialog, or null before its first run.
LoadItemDialog* loadItemDialog();
// Destroys the dialog; the next run builds it anew from the current
// service settings (tests).
void destroyLoadItemDialog();
