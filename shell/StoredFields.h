#pragma once

#include "shell/FormStorage.h"

#include <vector>

struct Unit1Controls;

// The main window's fields kept in the settings file, each under its control's name.
std::vector<StoredProperty> storedFields(const Unit1Controls& ui);
