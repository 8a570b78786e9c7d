#include "ui/kit/file_dialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStringList>
#include <QTreeView>
#include <string>

#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "foundation/text.h"
#include "platform/message_box.h"
#include "platform/ui_thread.h"

namespace {

// The advice closing each refusal differs between the single-file dialogs
// and the multi-file one.
struct RefusalTexts {
    const char* folderAdvice;
    const char* pathAdvice;
};
const RefusalTexts kSingleFile = {"修改文件夹路径长度", "修改文件路径长度"};
const RefusalTexts kManyFiles = {"修改文件夹名称", "修改文件名称"};

void refuse(void* owner, const std::string& what, const std::string& advice, int length,
            const std::string& text) {
    std::string limit = std::to_string(kMaxPathLength);
    std::string box = what + "长度不能大于 " + limit + " 个字符！\n\n当前" + what + "长度：" +
                      std::to_string(length) + " 个字符\n" + text + "\n\n解决方案：" + advice +
                      "，使其长度不超过 " + limit +
                      " 个字符。\n\n提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。";
    messageBox(owner, box, "提示", MB_ICONERROR);
}

struct FolderPart {
    std::string folder;  // without the final "/", "/" for the root
    int nameOffset;      // GBK length of the folder with its "/"
};

FolderPart folderPartOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", 0};
    std::string withSlash = path.substr(0, slash + 1);
    return {slash == 0 ? "/" : path.substr(0, slash), gbk_length(withSlash.c_str())};
}

// Wide and tall enough that a file's name, size, type and date can be read
// side by side; smaller screens get most of their available area.
QSize pickerSize(const QWidget* owner) {
    QSize size(860, 540);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    return size;
}

// Qt sizes the size, type and date columns from short English samples, so
// sizes in KiB and type names in other languages are cut. Each folder the
// dialog loads fits those columns to what they show; the name column takes
// the width left over.
void fitDetailColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>("treeView");
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!view || !model) return;
    view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view] {
        for (int column = 1; column < view->header()->count(); ++column) view->resizeColumnToContents(column);
    });
}

std::vector<std::string> qtPicker(const FileDialogRequest& request) {
    QFileDialog dialog(static_cast<QWidget*>(request.owner), QString::fromStdString(request.title),
                       QString::fromStdString(request.folder));
    dialog.resize(pickerSize(static_cast<QWidget*>(request.owner)));
    fitDetailColumns(dialog);
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << qtNameFilter(filter);
    if (filters.isEmpty()) filters << qtNameFilter({"所有文件 (*.*)", "*"});
    dialog.setNameFilters(filters);
    switch (request.kind) {
    case FileDialogKind::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        break;
    case FileDialogKind::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileDialogKind::OpenMany:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    }
    if (!request.file.empty()) dialog.selectFile(QString::fromStdString(request.file));
    std::vector<std::string> chosen;
    if (dialog.exec() != QDialog::Accepted) return chosen;
    for (const QString& path : dialog.selectedFiles()) chosen.push_back(path.toStdString());
    return chosen;
}

FilePicker currentPicker = qtPicker;

// The picker runs on the user-interface thread whoever asks.
std::vector<std::string> pick(const FileDialogRequest& request) {
    std::vector<std::string> chosen;
    runOnUiThread([&] { chosen = currentPicker(request); });
    return chosen;
}

// The name as it will be written: with the default extension when it does
// not end with it, so that the length rules see the whole name.
std::string withDefaultExtension(std::string path, const std::string& extension) {
    if (extension.empty()) return path;
    const std::string suffix = "." + extension;
    if (!str_ends_with_nocase(path.c_str(), suffix.c_str())) path += suffix;
    return path;
}

int qtSaveFileDialog(void* owner, const std::string& title, const std::vector<FileFilter>& filters,
                     const std::string& defaultExtension, std::string& folder, std::string& file) {
    std::vector<std::string> chosen =
        pick({FileDialogKind::Save, owner, title, filters, defaultExtension, folder, file});
    if (chosen.empty()) return 0;
    return acceptChosenFile(owner, withDefaultExtension(chosen.front(), defaultExtension), folder,
                            file);
}

int qtOpenFileDialog(void* owner, const std::string& title, const std::vector<FileFilter>& filters,
                     std::string& folder, std::string& file) {
    std::vector<std::string> chosen =
        pick({FileDialogKind::Open, owner, title, filters, "", folder, file});
    if (chosen.empty()) return 0;
    return acceptChosenFile(owner, chosen.front(), folder, file);
}

int qtOpenFilesDialog(void* owner, const std::string& title, const std::vector<FileFilter>& filters,
                      std::string& folder, std::vector<std::string>& files) {
    std::vector<std::string> chosen =
        pick({FileDialogKind::OpenMany, owner, title, filters, "", folder, ""});
    if (chosen.empty()) return 0;
    return acceptChosenFiles(owner, chosen, folder, files);
}

} // namespace

FilePicker setFilePicker(FilePicker picker) {
    FilePicker previous = currentPicker;
    currentPicker = picker ? picker : qtPicker;
    return previous == qtPicker ? nullptr : previous;
}

int acceptChosenFile(void* owner, const std::string& path, std::string& folder, std::string& file) {
    FolderPart part = folderPartOf(path);
    if (part.nameOffset > kMaxPathLength) {
        refuse(owner, "文件夹路径", kSingleFile.folderAdvice, part.nameOffset, part.folder);
        file.clear();
        return 0;
    }
    folder = part.folder;
    int length = gbk_length(path.c_str());
    if (length > kMaxPathLength) {
        refuse(owner, "文件路径", kSingleFile.pathAdvice, length, path);
        file.clear();
        return 0;
    }
    file = path;
    return 1;
}

int acceptChosenFiles(void* owner, const std::vector<std::string>& paths, std::string& folder,
                      std::vector<std::string>& files) {
    if (paths.empty()) return 0;
    FolderPart part = folderPartOf(paths.front());
    if (part.nameOffset > kMaxPathLength) {
        refuse(owner, "文件夹路径", kManyFiles.folderAdvice, part.nameOffset, part.folder);
        return 0;
    }
    folder = part.folder;
    for (const std::string& path : paths) {
        int length = gbk_length(path.c_str());
        if (length > kMaxPathLength) {
            refuse(owner, "文件路径", kManyFiles.pathAdvice, length, path);
            return 0;
        }
        files.push_back(path);
    }
    return 1;
}

QString qtNameFilter(const FileFilter& filter) {
    QString name = QString::fromStdString(filter.name).trimmed();
    if (name.endsWith(')')) {
        qsizetype open = name.lastIndexOf('(');
        if (open >= 0) name = name.left(open).trimmed();
    }
    QStringList patterns = QString::fromStdString(filter.pattern).split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    return name + " (" + patterns.join(' ') + ")";
}

void installFileDialogs() {
    setSaveFileDialogHandler(qtSaveFileDialog);
    setOpenFileDialogHandler(qtOpenFileDialog);
    setOpenFilesDialogHandler(qtOpenFilesDialog);
}
