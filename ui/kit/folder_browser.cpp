#include "ui/kit/folder_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

#include "platform/message_box.h"

namespace {

// Qt's own dialog (not the desktop's), so the refusal can keep it open.
class FolderDialog : public QFileDialog {
public:
    FolderDialog(QWidget* owner, const QString& title, const QString& start)
        : QFileDialog(owner, title, start) {
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
    }

    void hideNewFolderButton() {
        if (auto* button = findChild<QToolButton*>("newFolderButton")) button->hide();
    }

protected:
    void accept() override {
        QString typed;
        auto* edit = findChild<QLineEdit*>("fileNameEdit");
        if (edit) typed = edit->text().trimmed();
        QString target = typed.isEmpty() ? directory().absolutePath() : directory().absoluteFilePath(typed);
        if (!QFileInfo(target).isDir()) {
            messageBox(this, "文件夹 '" + typed.toStdString() + "' 不存在", "提示", MB_ICONERROR);
            if (edit) edit->setFocus();  // the user corrects the name where it was typed
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

int browseForFolder(QWidget* owner, const std::string& title, std::string& path,
                    bool allowNewFolder) {
    FolderDialog dialog(owner, QString::fromStdString(title), QString::fromStdString(path));
    if (!allowNewFolder) dialog.hideNewFolderButton();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    path = QDir::cleanPath(dialog.selectedFiles().first()).toStdString();
    return 1;
}
