#include "app/ProcessEnd.h"

#include <cstdlib>

void EndProcessWithoutCleanup()
{
    std::exit(0);
}
