#pragma once

#include "shell/StoredProperty.h"

#include <vector>

struct Unit1Controls;

// The main window's fields kept in the settings file, each under its control's name; those of the contest
// also in the contest folder's own file.
std::vector<StoredProperty> storedFields(const Unit1Controls& ui);
