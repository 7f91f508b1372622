#include "app/film_requests.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

const FilmRequest film1{"/disc/Film01.mpg", std::nullopt};
const FilmRequest film2{"/disc/Film02.mpg", std::nullopt};
const FilmRequest film3{"/disc/Film03.mpg", std::nullopt};

TEST(FilmRequests, OneOpensAtATimeAndTheNewestWaitingRequestWins) {
    FilmRequests requests;
    EXPECT_FALSE(requests.opening());
    ASSERT_TRUE(requests.ask(film1));
    EXPECT_TRUE(requests.opening());
    EXPECT_FALSE(requests.superseded());
    EXPECT_FALSE(requests.ask(film2));  // waits, never opened inside the first
    EXPECT_TRUE(requests.superseded());
    EXPECT_FALSE(requests.ask(film3));
    EXPECT_EQ(requests.next(), film3);  // film 2 was overtaken
    EXPECT_TRUE(requests.opening());
    EXPECT_FALSE(requests.superseded());
    EXPECT_EQ(requests.next(), std::nullopt);
    EXPECT_FALSE(requests.opening());
    EXPECT_TRUE(requests.ask(film2));  // free again
}

TEST(FilmRequests, WhatSupersedesTheFilmBeingOpened) {
    struct Case {
        const char* what;
        FilmRequest waiting;
        bool superseded;
    };
    const Case cases[] = {
        {"another film", film2, true},
        {"a code of another film", {film2.path, 40}, true},
        {"a code of the film being opened", {film1.path, 40}, false},
        {"the same film opened again (another decoding)", film1, true},
        {"no film (a package without films)", {}, true},
    };
    for (const Case& c : cases) {
        FilmRequests requests;
        ASSERT_TRUE(requests.ask(film1));
        requests.ask(c.waiting);
        EXPECT_EQ(requests.superseded(), c.superseded) << c.what;
        EXPECT_EQ(requests.next(), c.waiting) << c.what;
    }
}

}  // namespace
}  // namespace corvane
