#pragma once
// The "OK" and "&Cancel" buttons every entry dialog closes with, named
// B_OK and B_Cancel, OK the default button. The dialog wires them itself,
// since some dialogs check or store before they accept.

class QDialog;
class QPushButton;

namespace wharf {

void createOkCancelButtons(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel);

} // namespace wharf
