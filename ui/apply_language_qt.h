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

// The application's name as every window title ends with it.
inline constexpr const char* kApplicationDisplayName = "Corvane Player";

// The title a window or box shows: its caption, " — " and the application's name (the name alone
// for an empty caption or one that is the name).
QString windowTitleFor(const QString& caption);

// The font for language 3 (Japanese): the installed CJK font in place of the old one.
inline constexpr const char* kJapaneseFontFamily = "Noto Sans CJK JP";

// Applies the language to a window at its creation: the Japanese font for language 3 (controls
// whose "tag" property is -1 keep theirs, grids tagged -2 grow by a point), then the captions;
// last the window's title gets the application's name (windowTitleFor), so that every window
// created through here is titled alike.
void ApplyLanguage(QWidget* window, int languageNumber, const Messages& messages,
                   std::initializer_list<CaptionEntry> captions);

}  // namespace corvane
