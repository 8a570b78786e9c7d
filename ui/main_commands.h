// The main window's commands, registered with the command router in groups
// (one file each): the picture list and effects, the output size, pause and
// GIF mode, the captions and the logo, and the music, settings-file,
// preference and help commands.
#pragma once

#include <string>

// Registers every group; called once when the main window is built.
void registerMainCommands();

void registerPictureCommands();        // ui/picture_commands.cpp
void registerOutputCommands();         // ui/output_commands.cpp
void registerCaptionCommands();        // ui/caption_commands.cpp
void registerLogoCommands();           // ui/logo_commands.cpp
void registerMusicAndSettingsCommands();  // ui/commands_music_settings.cpp

// Whether the support site is set. Without one the commands that open its
// pages have nowhere to go and are shown greyed.
bool hasSupportSite();

// The caption sample shows the caption font of that display name.
void showCaptionSampleFont(const std::string& displayName);
// Every control of the logo group but its check box is usable exactly while
// the box is checked.
void enableLogoControls();
