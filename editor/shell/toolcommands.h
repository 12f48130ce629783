#pragma once
// The command lines of the user-defined Tools menu.

#include <QString>

namespace wharf {

// Splits a tool's command line into its program part and its parameters:
// command is changed in place into the program part. A command with a
// double quote is split at the first quote-blank-quote: the parameters run
// from that second quote to before the command's last character, and the
// program part is the text before the blank; with no such triple the whole
// command is the program part. Double quotes are removed from the program
// part. Without a double quote the first blank splits. An empty command
// gives two empty parts. Only the program part is used (for the item's
// icon), so the parameters keep the odd shape the stored tools expect.
void SplitCommandLine(QString &command, QString &params);

} // namespace wharf
