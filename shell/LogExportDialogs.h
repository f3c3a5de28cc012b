#pragma once

#include "contest/ContestSession.h"

#include <QString>

enum class LogFormat;
class Prompter;
class QWidget;
struct Station;

// File > Station...: the station data edited in its dialog and saved; false when the operator cancels.
// The data typed serve the export at hand even when the settings file cannot keep them.
bool editStation(Station& station, QWidget* window);

// File > Export Cabrillo / Export ADIF: the station's callsign asked for if it is missing, an empty contest
// number confirmed, for Cabrillo the tags robots require asked for, the file chosen, the log written.
// Returns the notice of what was written; none when nothing was (the operator has cancelled or been told
// why).
SessionChange exportLogAs(LogFormat format, ContestSession& session, Prompter& prompter, QWidget* window);
