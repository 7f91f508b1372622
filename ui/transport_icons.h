#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace corvane {

// The glyphs of the transport strip and the window buttons, drawn as shapes so they stay sharp at
// any size and read well on the dark strip.
enum class Glyph {
    Play, Pause, JumpBack, JumpForward, StepBack, StepForward, SlowMotion, ZoomIn, ZoomOut, FullScreen,
    SoundOn, SoundOff, PreviousFilm, NextFilm, PreviousCode, NextCode, Close, Minimise, Information,
};

QIcon glyphIcon(Glyph glyph, QColor color = Qt::white);

// The look of a button that shows only a light glyph on a dark strip: hover and pressed states
// shade behind the glyph and never paint over it.
QString glyphButtonStyle();

}  // namespace corvane
