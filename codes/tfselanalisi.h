#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "codes/analyses_file.h"

class QLabel;
class QPushButton;

namespace corvane {

struct AppContext;
class TextGrid;

// The analyses of a synthesis offered over the full-screen film; the one chosen is opened.
class TFSelAnalisi : public QDialog {
    Q_OBJECT

public:
    // open: applies the analysis of that name and index to the code list.
    using OpenAnalysis = std::function<void(const std::string& name, int index)>;
    TFSelAnalisi(AppContext& app, OpenAnalysis open, QWidget* parent = nullptr);

    TextGrid* grid() const { return Grd; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ButOkClick();

    AppContext& app_;
    OpenAnalysis open_;
    std::vector<AnalysisEntry> analyses_;
    QLabel* Label1 = nullptr;
    TextGrid* Grd = nullptr;
    QPushButton* ButOk = nullptr;
    QPushButton* ButAnnulla = nullptr;
};

}  // namespace corvane
