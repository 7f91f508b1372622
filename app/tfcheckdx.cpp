#include "app/tfcheckdx.h"

#include "core/messages.h"
#include "ui/apply_language_qt.h"

namespace corvane {

TFCheckDX::TFCheckDX(const InstallAdvice& advice, const Messages& messages, int languageNumber, UrlOpener openUrl,
                     QWidget* parent)
    : CheckWindow(advice, std::move(openUrl), {}, parent) {
    setObjectName(QStringLiteral("FCheckDX"));
    ApplyLanguage(this, languageNumber, messages,
                  {{"", 113}, {"LblTitolo", 490}, {"LblSpiegazione", 114}, {"LblRigaInstalla", 115},
                   {"LblRigaLink", 116}, {"LblChiusura", 491}, {"Button1", 2}});
    centreOnScreen();
}

bool CheckDirectX(const VideoEnvironment& environment, const Messages& messages, int languageNumber,
                  UrlOpener openUrl) {
    if (videoStackSufficient(environment)) return true;
    TFCheckDX window(videoStackAdvice(parseOsRelease(environment.osReleaseText())), messages, languageNumber,
                     std::move(openUrl));
    window.exec();
    return false;
}

std::function<bool()> videoStackCheck(const VideoEnvironment& environment, const ProgramState& state,
                                      MessageBoxPresenter& boxes, UrlOpener openUrl) {
    return [&environment, &state, &boxes, openUrl = std::move(openUrl)] {
        const MessageCatalogue catalogue(state.folders.SystemFolder);
        const Messages messages(catalogue, boxes, state.LanguageNumber);
        return CheckDirectX(environment, messages, state.LanguageNumber, openUrl);
    };
}

}  // namespace corvane
