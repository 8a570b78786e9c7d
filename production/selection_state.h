// The refresh of everything that follows the picture list's selection (the
// toolbar's move and remove buttons, the caption controls, status-bar part
// 1, the effect combo over the row). The picture list model installs it;
// timing and the checks before generation call it after they change a
// pause or an effect. Until it is installed the call does nothing.
#pragma once

using SelectionStateHandler = void (*)();

void updateSelectionState();

// Installs the refresh (null: nothing) and returns the previous one.
SelectionStateHandler setSelectionStateHandler(SelectionStateHandler handler);
