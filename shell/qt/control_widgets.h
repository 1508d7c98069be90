#pragma once
// Builds the widget of one control from its definition: kind, geometry,
// caption, font, colours, input modes and initial state.

#include <QColor>
#include <QFont>

#include "shell/window_layout.h"

class QStyle;
class QWidget;

namespace galmora {

// The window's face at the given pixel height, falling back to the CJK
// font that set-up installs where the first one is missing.
QFont control_font(int pixel_size);

// rgb() value to colour; -1 gives an invalid colour.
QColor to_qcolor(int colour);

// edit_style draws the sunken border of single-line edit boxes.
QWidget* create_control(const ControlSpec& spec, QWidget* parent, QStyle* edit_style);

// text_colour and background_colour are rgb() values; a background of -1
// is the window's own. Disabled controls keep the style's greyed text.
void apply_colours(QWidget* widget, ControlKind kind, int text_colour, int background_colour);

}  // namespace galmora
