#pragma once
// How much room a text takes as it is drawn, measured by drawing it. What a font says its
// characters advance and what it draws need not agree: Wine's Tahoma draws 11-pixel text a
// tenth narrower than its advance widths, and 14-pixel text (8.25 points at 120 DPI) wider, so
// that a caption given exactly its measured width is cut off at its edge.

#include <windows.h>

#include <string>

namespace tarvello::ui {

// The right and bottom edges of the pixels `text` covers when DrawTextW draws it at (0, 0) in
// `font` with `format` (DT_SINGLELINE, or DT_WORDBREAK wrapped at `wrapWidth`); {0, 0} for an
// empty text.
SIZE TextInk(HFONT font, const std::wstring& text, UINT format, int wrapWidth = 0);

// The width of the character '0' in `font`, what controls space their captions by.
int DigitWidth(HFONT font);

// The height of a line of text in `font`.
int LineHeight(HFONT font);

}  // namespace tarvello::ui
