#pragma once

namespace corvane {

// An hourglass for as long as the object lives: whatever way the work ends (a return, an
// exception), the cursor the coach had comes back.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace corvane
