#pragma once
// Edit > Copy, Cut and Paste of the selected control through the system
// clipboard, under the private format "Dialog Designer component", so that
// a control can be pasted into any dialog open in a designer.

#include "seams.h"

#include <QString>

namespace wharf {

class Tfrm_Main;

inline constexpr std::string_view kMsgNotAControl = "The clipboard holds no control that can be pasted.";

class TControlClipboard {
public:
    // main and seams must outlive the object.
    TControlClipboard(Tfrm_Main &main, const Seams &seams);

    // The clipboard format's MIME type (on Windows Qt maps it to the
    // registered format of that name).
    static QString mimeType();

    // Puts the selected control's key list on the clipboard. False (after
    // telling the author why) when there is no selected control or the copy
    // failed; the clipboard then keeps what it held.
    bool MI_CopyClick();
    // Copy, then Delete, only when the copy succeeded.
    void MI_CutClick();
    // Adds the control on the clipboard at a free place of the dialog area,
    // named as when placed (a name in use gets a generated one), selected.
    // Data that is no control's key list is refused with a message.
    void MI_PasteClick();
    // The clipboard holds data in the control format.
    bool canPaste() const;

private:
    Tfrm_Main &m_main;
    const Seams &m_seams;
};

} // namespace wharf
