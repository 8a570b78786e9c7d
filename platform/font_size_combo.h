// The caption font-size combo's selected text, which the renderer reads
// when it draws a caption (every caption of a video uses the size selected
// at that moment). The user interface installs a handler that answers from
// its combo; until then (and in tests that install none) the answer is the
// combo's default, "36".
#pragma once

#include <string>

using FontSizeComboHandler = std::string (*)();

std::string fontSizeComboText();

// Installs the handler (null restores the default) and returns the previous one.
FontSizeComboHandler setFontSizeComboHandler(FontSizeComboHandler handler);
