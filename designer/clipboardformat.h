#pragma once
// The clipboard form of one placed control and where a pasted control goes.
// What travels is the control's key list: every line (the first one
// "[Controls]") followed by CR LF, as Windows-1252, ended by a zero byte,
// under the private format "Dialog Designer component".

#include "inistore.h"
#include "surfacemodel.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

inline constexpr std::string_view kControlClipboardFormat = "Dialog Designer component";

// Clipboard data larger than this is no control of ours.
inline constexpr size_t kMaxControlClipboardBytes = 16u << 20;

// Raised when a key list would not paste back as it is.
class EControlClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The clipboard bytes of a key list. Throws ECodecError (codec.h) when a
// text has no Windows-1252 form, and EControlClipboardError when
// decodeControlClipboard would not give the list back (too large, a second
// section header, no key), so that what Copy accepts Paste takes.
std::string encodeControlClipboard(const TStringList &keys);

// The key list held by clipboard bytes, read up to the first zero byte;
// nullopt when they are no control's key list: too large, not starting
// with the line "[Controls]", holding another section header (a line that
// starts with "[" and ends with "]"), or holding no key at all. A carriage
// return inside a line becomes a blank.
std::optional<TStringList> decodeControlClipboard(std::string_view bytes);

// The place of a pasted control whose key list asks for `wanted`: the
// nearest free place inside the surface, looked for first straight below
// the wanted one (the wanted one itself when it is free), then above it in
// the same column, then anywhere from the top left corner. A place is free
// when the control's rectangle meets none of `placed`. With no free place
// the wanted one, moved inside the surface, is taken.
TRect pastePlace(TRect wanted, const TRect &surface, const std::vector<TRect> &placed);

} // namespace wharf
