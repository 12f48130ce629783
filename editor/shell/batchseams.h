#pragma once
// The seams of a batch compile: nothing may wait for an answer, so every
// message goes to the standard error and is answered at once (Cancel where
// the box has it, else No, else OK; the answer is printed after a
// question), every file and colour dialog counts as
// cancelled and every modal dialog as rejected. Process starts and the beep
// are the real ones.

#include "seams.h"

namespace wharf {

const Seams &batchSeams();

} // namespace wharf
