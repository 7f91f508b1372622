#pragma once

#include <QColor>
#include <QIcon>

namespace corvane {

// The glyphs of the transport strip and the window buttons, drawn as shapes so they stay sharp at
// any size and read well on the dark strip.
enum class Glyph {
    Play, Pause, JumpBack, JumpForward, StepBack, StepForward, SlowMotion, ZoomIn, ZoomOut, FullScreen,
    SoundOn, SoundOff, PreviousFilm, NextFilm, Close, Minimise, Information,
};

QIcon glyphIcon(Glyph glyph, QColor color = Qt::white);

}  // namespace corvane
