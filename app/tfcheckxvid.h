#pragma once

#include "app/check_window_qt.h"

namespace corvane {

class Messages;

// Tells the user that the MPEG-4 Part 2 (XviD) decoder is missing; informative only.
class TFCheckXVid : public CheckWindow {
    Q_OBJECT

public:
    TFCheckXVid(const InstallAdvice& advice, const Messages& messages, int languageNumber, UrlOpener openUrl,
                QWidget* parent = nullptr);
};

// True when the decoder exists; otherwise shows TFCheckXVid modally and gives false. The package
// opens either way.
bool CheckXvidCodec(const VideoEnvironment& environment, const Messages& messages, int languageNumber,
                    QWidget* parent, UrlOpener openUrl = desktopUrlOpener());

}  // namespace corvane
