#pragma once

#include <optional>
#include <string>

namespace corvane {

// A film to open. A code asked for also names its second, gone to and played once the film is
// open. An empty path asks for no film at all (a package without films).
struct FilmRequest {
    std::string path;
    std::optional<int> second;

    bool operator==(const FilmRequest&) const = default;
};

// One film opens at a time. The opening waits for the player while the coach's clicks are
// processed, so a film asked for meanwhile is kept here, the newest replacing any older one, and
// is opened once the opening under way has ended: never inside it.
class FilmRequests {
public:
    // True when nothing is opening: the caller opens the film now and asks `next` when it is done.
    // False while a film opens: the request waits for that opening to end.
    bool ask(FilmRequest request);
    bool opening() const { return current_.has_value(); }
    // The film being opened is no longer the one wanted: its outcome is not to be reported. A code
    // of that same film still wants it open.
    bool superseded() const;
    // The opening under way has ended: the request to carry out next, which is then the one being
    // opened, or nothing when none waits (nothing is opening any more).
    std::optional<FilmRequest> next();

private:
    std::optional<FilmRequest> current_;
    std::optional<FilmRequest> waiting_;
};

}  // namespace corvane
