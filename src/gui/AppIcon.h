// The application's icon, drawn at run time: a recorder lens on the line's blue.
#pragma once

#include <QIcon>

QIcon CreateAppIcon();
