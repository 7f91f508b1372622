#pragma once

#include <QRect>
#include <QWidget>

class QToolButton;

namespace corvane {

struct AppContext;
class FullScreenLink;
enum class Glyph;

// The command panel floating over the full-screen film: the transport buttons, the code list's
// next and previous, back to normal size and, in a synthesis, the analysis chooser.
class TFPanCmdFsc : public QWidget {
    Q_OBJECT

public:
    TFPanCmdFsc(AppContext& app, FullScreenLink& link);

    // The screen and the picture on it, where the panel takes its place when shown.
    void setPlacement(const QRect& screen, const QRect& picture);
    void showPlayImage(bool playing);
    bool slowMotionDown() const;
    void setSlowMotionDown(bool down);
    void setCodeButtons(bool nextEnabled, bool previousEnabled);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* addButton(const char* name, Glyph glyph);
    void place();
    void SbPlayClick();
    void SbRallentyClick();

    AppContext& app_;
    FullScreenLink& link_;
    QRect screen_;
    QRect picture_;
    QToolButton* SbPlay = nullptr;
    QToolButton* ButStepM = nullptr;
    QToolButton* ButStepP = nullptr;
    QToolButton* SbIndietro = nullptr;
    QToolButton* SbAvanti = nullptr;
    QToolButton* SbRallenty = nullptr;
    QToolButton* BtnDimNormali = nullptr;
    QToolButton* ButPrev = nullptr;
    QToolButton* ButNext = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    int buttons_ = 0;
};

}  // namespace corvane
