// Drawing and measuring symbol texts in page units. Texts are UTF-8; a colour
// run whose offset falls inside a character takes effect after that character.
#pragma once

class CDC;
class SyntaxRunCodec;

// Draws text line by line from (x, y) with the context's current font, switching
// the text colour at each run: black before the first run, then each run's
// colour up to the next. A newline returns to x and moves down by the configured
// font size (page units, not zoomed). The context's text colour is restored.
// right and bottom do not clip.
void DrawSyntaxText(CDC* dc, int x, int y, int right, int bottom, const char* text, SyntaxRunCodec& runs);

// The extent of the whole text on one line, in page units; an empty text gets
// twice the font's average character width and its height. Returns the width
// per byte of text (per two for an empty text).
int MeasureText(CDC* dc, int& width, int& height, const char* text);

// The widest line's width and the sum of the line heights, each line followed by
// lineGap; an empty line measures as one blank. Returns the widest line's width
// per byte of that line (the whole width for an empty widest line).
int MeasureTextLines(CDC* dc, int& width, int& height, const char* text, int lineGap);
