#pragma once
// The pictures of shortcuts: GetEntryIcon finds the project file a shortcut
// takes its icon from and reads the icon out of it. An icon file gives its
// own picture, a Windows program or library the icon group at the index
// (through the shared executable reader); any other file, a missing one or
// an index past the groups gives the default icon, as the desktop shows an
// application without an icon of its own.

#include "project.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wharf {

// The picture shown for a file that has no icon of its own (32 x 32).
const QImage &defaultEntryIcon();

// The image of an icon file's bytes that suits a 32-pixel icon best (the
// size nearest 32, then the most colours); null when the bytes are no icon
// file or the image can't be decoded.
QImage iconFromIconFile(std::span<const uint8_t> bytes);

// The icon group at position index (named groups first, in resource order)
// of a Windows program or library, decoded as iconFromIconFile does; null
// when the bytes are no image, have no such group or it is damaged.
QImage iconFromImage(std::span<const uint8_t> bytes, uint16_t index);

// The icon of the file at path (UTF-8, "\" taken as a separator) at
// position index: an icon file (index 0 only) or a program's icon group,
// else the default icon; never null. An empty path gives the default icon.
QImage associatedIcon(const std::string &path, uint16_t index);

// The icon of the project file whose destination equals iconLocation
// exactly (the last such file; its source made absolute against
// projectFolder): associatedIcon of that source at index, the default icon
// when the source is missing here. A null image when no project file
// matches.
QImage GetEntryIcon(const Project &project, std::string_view projectFolder, std::string_view iconLocation,
                    uint16_t index);

} // namespace wharf
