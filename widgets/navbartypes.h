#pragma once
// The enumerations of the navigation bar unit and the font-with-colour that
// its settings carry. They live in the unit's own namespace wharf::navbar:
// other components of this folder have enumerations of the same names with
// other members (the glyph button's TButtonStyle, for one).

#include "colors.h"

#include <QFont>

namespace wharf::navbar {

// Caption alignment in a caption bar.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A frame of a caption bar or of the bar.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Large: image above, caption below. Small: image left, caption right.
enum TButtonStyle { bsSmall, bsLarge };

// Where a caption bar draws its image.
enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphCenter };

// A header's button area: plain colour (or tiled bitmap), or gradient.
enum TBackStyle { bsNormal, bsGradient };

// Left to right, sides to centre, top to bottom, top and bottom to centre.
enum TGradientType { gtl2r, gts2c, gtt2b, gttb2c };

// Raster operation of a header's tiled bitmap.
enum TBitmapCopy { bcMergeCopy, bcMergePaint, bcSrcCopy, bcSrcErase, bcSrcPaint };

// Direction of a header's scroll button.
enum TArrowStyle { asUp, asDown };

// The bar's window border.
enum TBorderStyle { bsNone, bsSingle };

// The bar's alignment, kept as the stored value "AlignInfo" (in Qt the
// parent's layout places the bar).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// How a button starts dragging: only through BeginDrag, or by itself when
// the left button is held and the pointer moves.
enum TDragMode { dmManual, dmAutomatic };

// A font as the settings keep it: the face, size and style, and the text
// colour (a stored colour, system colours allowed).
struct ColoredFont {
    QFont font;
    TColor color = clWindowText;

    bool operator==(const ColoredFont &other) const = default;
};

} // namespace wharf::navbar
