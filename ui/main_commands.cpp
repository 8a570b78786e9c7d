#include "ui/main_commands.h"

void registerMainCommands() {
    registerPictureCommands();
    registerOutputCommands();
    registerCaptionCommands();
    registerLogoCommands();
    registerMusicAndSettingsCommands();
}
