#pragma once

#include <QString>

#include <initializer_list>
#include <string>

class QWidget;

namespace corvane {

class Messages;

// A message text as the widgets take it: UTF-8, its line breaks as "\n".
QString messageToQt(const std::string& text);

// One line of a window's caption table: the control's object name (empty for the window itself)
// and the message that becomes its caption or its tool tip.
struct CaptionEntry {
    enum Kind { Caption, Hint };
    enum Filter { AsIs = 0, NoAmpersand = 1, NoColon = 2 };
    const char* control;
    int number;
    Kind kind = Caption;
    int filter = AsIs;
};

// The font for language 3 (Japanese): the installed CJK font in place of the old one.
inline constexpr const char* kJapaneseFontFamily = "Noto Sans CJK JP";

// Applies the language to a window at its creation: the Japanese font for language 3 (controls
// whose "tag" property is -1 keep theirs, grids tagged -2 grow by a point), then the captions.
void ApplyLanguage(QWidget* window, int languageNumber, const Messages& messages,
                   std::initializer_list<CaptionEntry> captions);

}  // namespace corvane
