// Built by the test floors_hold_beside_another_target only: the bare name
// finds the header beside this file, though this target does not link the
// header's own; the include check must name it.
#include "owner.h"

int reaches_sideways() { return kOwnersOwn; }
