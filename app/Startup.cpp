#include "app/Startup.h"

#include "common/App.h"
#include "data/Dmbasic.h"

int runHalvorra(HalvorraApp& app)
{
    Q_UNUSED(app);
    Tdmbasic dm;
    return 0;
}
