#pragma once

#include <QRect>
#include <QWidget>

#include <string>
#include <vector>

namespace corvane {

struct AppContext;
class FullScreenLink;
class TextGrid;

// The code list in compact form, floating over the full-screen film: one code a row, the code
// being played highlighted; a click plays that code.
class TFDetCodFS : public QWidget {
    Q_OBJECT

public:
    TFDetCodFS(AppContext& app, FullScreenLink& link);

    void setPlacement(const QRect& screen, const QRect& picture);
    // The codes in list order, the selected one by its index (none when out of range).
    void fill(const std::vector<std::string>& codes, int selected);
    TextGrid* grid() const { return Grd; }
    int selectedRow() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(const QKeyEvent& event);
    void place();

    FullScreenLink& link_;
    QRect screen_;
    QRect picture_;
    TextGrid* Grd = nullptr;
};

}  // namespace corvane
