#pragma once

#include <QList>
#include <QMutex>
#include <QString>

struct RigModelEntry
{
    int model = 0;
    QString maker;
    QString name;
};

// False in a build made without the rig library (for a system it could not be built for): no radio is
// reached, and File > Radio... says so.
bool rigLibraryBuiltIn();

// Silences the rig library (it writes its debug output to stderr otherwise); the first call does it.
void quietHamlib();

// The rig library keeps its table of rig models in globals: every look-up and every rig_init goes
// through this lock, as the dialog reads the table while the follower's thread opens a rig.
QMutex& hamlibLock();

// Every rig model the library knows, sorted by maker and model.
QList<RigModelEntry> hamlibRigModels();
