#pragma once

#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;

namespace corvane {

struct AppContext;

// The strip at the bottom of the full-screen film naming the player of the action being played.
class TFDetGio : public QWidget {
    Q_OBJECT

public:
    // What the strip asks of the full-screen mode around it.
    struct Hooks {
        std::function<QRect()> screen;                  // the screen it stands on
        std::function<std::optional<QRect>()> picture;  // the film on that screen, when shown
        std::function<void()> leaveFullScreen;          // Escape
        std::function<void()> activated;                // the keyboard goes back to the codes
    };

    TFDetGio(AppContext& app, Hooks hooks);

    void setPlayerText(const QString& text);
    // At the bottom of the screen, inside the picture's right edge (the hooks tell where they are).
    void place();
    QString playerText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    Hooks hooks_;
    QLabel* Label1 = nullptr;
};

}  // namespace corvane
