// The Qt side of platform/wait_cursor.h: the wait cursor over the whole
// program while a long task runs on the user-interface thread, and repaints
// (no user input) during it.
#pragma once

void installWaitCursor();
