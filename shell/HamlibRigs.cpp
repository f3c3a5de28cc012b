#include "shell/HamlibRigs.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <mutex>

namespace
{
int collectRig(const rig_caps* caps, rig_ptr_t data)
{
    auto* models = static_cast<QList<RigModelEntry>*>(data);
    models->append({int(caps->rig_model), QString::fromUtf8(caps->mfg_name), QString::fromUtf8(caps->model_name)});
    return 1; // go on
}
} // namespace

bool rigLibraryBuiltIn()
{
    return true;
}

void quietHamlib()
{
    static std::once_flag once;
    std::call_once(once, [] { rig_set_debug(RIG_DEBUG_NONE); });
}

QMutex& hamlibLock()
{
    static QMutex lock;
    return lock;
}

QList<RigModelEntry> hamlibRigModels()
{
    quietHamlib();
    QList<RigModelEntry> models;
    {
        const QMutexLocker locker(&hamlibLock());
        rig_load_all_backends();
        rig_list_foreach(collectRig, &models);
    }
    std::sort(models.begin(), models.end(), [](const RigModelEntry& a, const RigModelEntry& b) {
        const int byMaker = a.maker.compare(b.maker, Qt::CaseInsensitive);
        if (byMaker != 0) {
            return byMaker < 0;
        }
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.model < b.model;
    });
    return models;
}
