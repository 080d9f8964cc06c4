#include "net/sntp.h"

// Filled in by the SNTP work; declared first so the page can be written
// against it.
