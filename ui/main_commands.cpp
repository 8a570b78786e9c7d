#include "ui/main_commands.h"

#include "net/service_host.h"

void registerMainCommands() {
    registerPictureCommands();
    registerOutputCommands();
    registerCaptionCommands();
    registerLogoCommands();
    registerMusicAndSettingsCommands();
}

bool hasSupportSite() { return !supportSiteUrl("").empty(); }
