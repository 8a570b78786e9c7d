// The main window: a fixed-size top-level window whose client area is
// 919 x 508 pixels above the status bar. Its controls are placed at fixed
// positions by createMainWindowContents; its events (close, drop, resize,
// keys) go to handleMainWindowEvent.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

constexpr int kMainClientWidth = 919;
constexpr int kMainClientHeight = 508;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Creates the window (hidden) and its contents, and sets hwndMain.
    MainWindow();
    ~MainWindow() override;

protected:
    bool event(QEvent* event) override;
};

// Builds every control, menu and table of the main window into it, once.
void createMainWindowContents(MainWindow* window);

// The main window's own handling of an event (close, drop, resize, ...).
// True when the event was handled and must not go on to QWidget.
bool handleMainWindowEvent(MainWindow* window, QEvent* event);

// Files dropped on the main window, in drop order: existing files whose names
// end in jpg, jpeg, png, gif, bmp or tbi (any case, dot or not) are added
// until the list is full, which is said once; other files and folders are
// skipped.
void dropPictureFiles(const std::vector<std::string>& paths);
bool isDroppablePicture(const std::string& path);

// The main window, or null before it exists and after it is gone.
MainWindow* mainWindow();
