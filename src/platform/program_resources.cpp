#include "platform/program_resources.h"

#include <QtGlobal>

static void RegisterResources() { Q_INIT_RESOURCE(resources); }

void EnsureProgramResources()
{
    static const bool registered = [] {
        RegisterResources();
        return true;
    }();
    Q_UNUSED(registered);
}
