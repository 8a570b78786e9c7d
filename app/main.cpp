#include <QApplication>

#include "platform/ui_thread.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/kit/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/prompt.h"
#include "ui/ui_thread_runner.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installUiThreadRunner();
    installCommandRouter();
    installWindowControls();
    installPromptLayer();
    installFileDialogs();
    MainWindow window;
    window.setWindowTitle("Tevrako(V10.5)");
    window.show();
    return app.exec();
}
