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

// What a batch compile prints for a message: the text, and after a question
// the answer given in nobody's place ("Answered No: a batch compile asks
// nobody.") on a line of its own. answer: "Cancel", "No", or empty for a
// message that asks nothing.
QString batchMessageText(const QString &text, const QString &answer);

} // namespace wharf
