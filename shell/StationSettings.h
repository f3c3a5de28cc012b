#pragma once

#include "contest/Station.h"
#include "shell/ProfileFile.h"

// The station data live in the settings file in a section of their own, [Station]; the window's
// sections are left as they are, and the window's saves leave this one alone.
// Address and soapbox lines are kept as numbered keys (Address1.., Soapbox1..), every one written each
// time so that a shorter text leaves no old line behind.
constexpr qsizetype kMaxAddressLines = 6;
constexpr qsizetype kMaxSoapboxLines = 8;

Station loadStation(const QString& filePath = settingsFilePath());
// Throws StoreError "Unable to write to <path>".
void saveStation(const Station& station, const QString& filePath = settingsFilePath());
