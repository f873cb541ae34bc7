#include "app/Startup.h"
#include "shell/App.h"

int main(int argc, char** argv)
{
    HalvorraApp app(argc, argv);
    return runHalvorra(app);
}
