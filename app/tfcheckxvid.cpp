#include "app/tfcheckxvid.h"

#include "ui/apply_language_qt.h"

namespace corvane {

TFCheckXVid::TFCheckXVid(const InstallAdvice& advice, const Messages& messages, int languageNumber,
                         UrlOpener openUrl, QWidget* parent)
    : CheckWindow(advice, std::move(openUrl), {.installLine = false, .closingLine = true}, parent) {
    setObjectName(QStringLiteral("FCheckXVid"));
    // The explanation ends where the command follows; the contact line closes the window.
    ApplyLanguage(this, languageNumber, messages,
                  {{"", 14}, {"LblTitolo", 145}, {"LblSpiegazione", 143}, {"LblRigaLink", 146},
                   {"LblChiusura", 144}, {"Button1", 2}});
    centreOnScreen();
}

bool CheckXvidCodec(const VideoEnvironment& environment, const Messages& messages, int languageNumber,
                    QWidget* parent, UrlOpener openUrl) {
    if (xvidDecoderPresent(environment)) return true;
    TFCheckXVid window(mpeg4DecoderAdvice(parseOsRelease(environment.osReleaseText())), messages, languageNumber,
                       std::move(openUrl), parent);
    window.exec();
    return false;
}

}  // namespace corvane
