#pragma once

#include <QDialog>

class QScrollArea;

namespace corvane {

struct AppContext;
class TextGrid;

// Sizes a dialog to its scrolling body and keeps it inside the screen's available area: when the
// body is taller than the screen, the body scrolls and whatever lies outside the scroll area (the
// close button) stays on screen.
void fitDialogToScreen(QDialog& dialog, QScrollArea& scroll);

// The match sheet: date, teams, officials and, for volleyball, the sets. Read-only.
class MatchSheet : public QDialog {
    Q_OBJECT

public:
    MatchSheet(AppContext& app, bool withSets, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QScrollArea* scroll_;
};

// The volleyball match sheet.
class TFNoteV : public MatchSheet {
    Q_OBJECT

public:
    TFNoteV(AppContext& app, QWidget* parent) : MatchSheet(app, true, parent) { setObjectName(QStringLiteral("FNoteV")); }
};

// The match sheet of the other sports: no set table.
class TFNoteB : public MatchSheet {
    Q_OBJECT

public:
    TFNoteB(AppContext& app, QWidget* parent) : MatchSheet(app, false, parent) { setObjectName(QStringLiteral("FNoteB")); }
};

// The matches a synthesis was built from.
class TFDatiInc : public QDialog {
    Q_OBJECT

public:
    TFDatiInc(AppContext& app, QWidget* parent);
    TextGrid* table() const { return Grd; }

private:
    void fitColumns();

    TextGrid* Grd;
};

}  // namespace corvane
