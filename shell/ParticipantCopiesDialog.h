#pragma once

#include "contest/ParticipantCopies.h"

#include <QList>
#include <QString>

#include <optional>

class QWidget;

// Lists the copies of the participants, newest first and chosen at the start, with their date and counts,
// and returns the folder of the one chosen; nothing when the operator cancels. Enter restores, Esc cancels.
std::optional<QString> chooseParticipantCopy(const QList<ParticipantCopy>& copies, QWidget* parent);
