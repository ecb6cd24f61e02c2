#pragma once
// Room for the caption of a push button: it keeps clear of the button's
// frame by the width of an "x" of its font on either side, so that it never
// touches the edges, in any language or font.

class QFontMetrics;
class QPushButton;
class QString;

// The margin kept on either side of a caption drawn with these metrics.
int CaptionMargin(const QFontMetrics& metrics);

// The width in pixels of button when it shows caption on one line with
// its margins; the frame the style draws around its contents included. A
// doubled "&" counts once, as the button shows it.
int ButtonWidthFor(const QPushButton& button, const QString& caption);
