#include "Kit.h"
int runSoak(const Options&)
{
    return 1;
}
int runWriter(const Options&)
{
    return 1;
}
