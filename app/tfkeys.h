#pragma once

#include <QDialog>

namespace corvane {

class Messages;
class TextGrid;

// The key list: every key of the main window and what it does, in the program's language.
class TFKeys : public QDialog {
    Q_OBJECT

public:
    TFKeys(const Messages& messages, QWidget* parent);

    // The list as shown: key name and action text of each line.
    QString keyText(int line) const;
    QString actionText(int line) const;
    int lineCount() const;

private:
    TextGrid* GrdKeys = nullptr;
};

}  // namespace corvane
