// btkDateTime: a local date and time with the Czech text form
// "d.m.yyyy h:mm:ss" and the year-first form "yyyy-m-d h:mm:ss".
#pragma once

#include <ctime>

#include "foundation/btkstring.h"

struct btkDateTime {
    // The C library's broken-down time fields, in its order.
    int tm_sec = 0;
    int tm_min = 0;
    int tm_hour = 0;
    int tm_mday = 0;
    int tm_mon = 0;   // 0-11
    int tm_year = 0;  // years since 1900
    int tm_wday = 0;
    int tm_yday = 0;
    int tm_isdst = 0;
    bool valid = false;

    static btkDateTime now();
    // From "d.m.yyyy h:mm:ss"; missing parts read as 0 and the result is
    // normalised like the C library does. An empty text gives an invalid value.
    static btkDateTime parse(const char* text);

    btkstring format() const;     // "%d.%d.%d %d:%02d:%02d", "" when invalid
    btkstring formatISO() const;  // "%d-%d-%d %d:%02d:%02d", "" when invalid

    std::tm toTm() const;
    static btkDateTime fromTm(const std::tm& t, bool valid);
};
