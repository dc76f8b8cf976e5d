#include "GuiResources.h"

#include <QtGlobal>

static void InitResourcesOnce()
{
    Q_INIT_RESOURCE(resources);
}

void InitGuiResources()
{
    static const bool done = (InitResourcesOnce(), true);
    Q_UNUSED(done);
}
