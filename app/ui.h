#pragma once
// Fonts and colours shared by the windows. The layout was drawn with text
// sizes in points at 72 per inch, i.e. one point per pixel, so sizes are set
// in pixels to keep every text inside its box on any screen.
#include <QColor>
#include <QFont>

class QAbstractButton;
class QLabel;
class QWidget;

namespace ui {

inline const QColor background{0xEA, 0xFF, 0x7F};

// "Helvetica Neue", "Arial", "Courier" or "System" at a size in layout points.
// The first three map to metric-compatible Liberation fonts; "System" is the
// platform's user-interface font.
QFont font(const QString &family, int size, bool bold = true);

// The platform's user-interface font at its own size, bold or plain.
QFont systemFont(bool bold = true);

// Paints a window's background in the counter's lime colour.
void paintBackground(QWidget *window);

void installFontSubstitutions();

// Return and Enter press the button wherever the focus is in the window: the
// default-button role for windows that are not dialogs.
void pressOnReturn(QWidget *window, QAbstractButton *button);

// Sets a label's text; a text longer than the label was drawn for makes it
// grow to the right (as far as its window allows) rather than lose its first
// characters.
void setTextGrowingRight(QLabel *label, const QString &text);

} // namespace ui
