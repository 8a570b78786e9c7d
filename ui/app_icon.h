// The program's icon: the main window's and every dialog's.
#pragma once

#include <QIcon>

const QIcon& appIcon();
