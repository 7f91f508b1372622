#include "app/film_requests.h"

#include <utility>

namespace corvane {

bool FilmRequests::ask(FilmRequest request) {
    if (current_) {
        waiting_ = std::move(request);
        return false;
    }
    current_ = std::move(request);
    return true;
}

bool FilmRequests::superseded() const {
    if (!current_ || !waiting_) return false;
    const bool codeOfThisFilm = waiting_->second && waiting_->path == current_->path;
    return !codeOfThisFilm;
}

std::optional<FilmRequest> FilmRequests::next() {
    current_ = std::exchange(waiting_, std::nullopt);
    return current_;
}

}  // namespace corvane
