// The toolbar's button images (16 by 15), drawn for each command.
#pragma once

#include <QIcon>

QIcon ToolIcon(int commandId);
