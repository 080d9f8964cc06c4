// Compiled by the test floors_hold only, and expected not to compile: the
// store's floor knows nothing of the tips above it.
#include "tips/catalogue.h"
