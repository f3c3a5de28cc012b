#pragma once

#include "store/FieldDef.h"

// The six views of the main window, with their declared fields and display labels.
ViewDefinition contestViewDefinition(const QString& viewName);
ViewDefinition callsignViewDefinition();
ViewDefinition journalViewDefinition();
