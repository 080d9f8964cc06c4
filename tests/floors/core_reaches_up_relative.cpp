// Built by the test floors_hold_by_a_relative_path only: it compiles, since
// the compiler finds a path relative to this file whatever the include
// path says, and the include check must then name it.
#include "../../tips/catalogue.h"
