#include "foundation/btkdatetime.h"

#include "foundation/btktextcursor.h"

std::tm btkDateTime::toTm() const {
    std::tm t{};
    t.tm_sec = tm_sec;
    t.tm_min = tm_min;
    t.tm_hour = tm_hour;
    t.tm_mday = tm_mday;
    t.tm_mon = tm_mon;
    t.tm_year = tm_year;
    t.tm_wday = tm_wday;
    t.tm_yday = tm_yday;
    t.tm_isdst = tm_isdst;
    return t;
}

btkDateTime btkDateTime::fromTm(const std::tm& t, bool isValid) {
    btkDateTime d;
    d.tm_sec = t.tm_sec;
    d.tm_min = t.tm_min;
    d.tm_hour = t.tm_hour;
    d.tm_mday = t.tm_mday;
    d.tm_mon = t.tm_mon;
    d.tm_year = t.tm_year;
    d.tm_wday = t.tm_wday;
    d.tm_yday = t.tm_yday;
    d.tm_isdst = t.tm_isdst;
    d.valid = isValid;
    return d;
}

btkDateTime btkDateTime::now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return fromTm(local, true);
}

btkDateTime btkDateTime::parse(const char* text) {
    btkDateTime d;
    if (!text || !*text) return d;
    TextCursor c(text);
    auto spaces = [&c] { c.skipChar(' '); };
    auto number = [&c] { return static_cast<int>(btkScanNumber(c)); };

    std::tm t{};
    t.tm_mday = number();
    spaces();
    if (c.current() == '.') {
        c.next();
        spaces();
        t.tm_mon = number() - 1;
        spaces();
        if (c.current() == '.') {
            c.next();
            spaces();
            t.tm_year = number() - 1900;
            spaces();
            t.tm_hour = number();
            spaces();
            if (c.current() == ':') {
                c.next();
                spaces();
                t.tm_min = number();
                spaces();
                if (c.current() == ':') {
                    c.next();
                    spaces();
                    t.tm_sec = number();
                }
            }
        }
    }
    t.tm_isdst = 0;
    std::mktime(&t);
    if (t.tm_isdst > 0) {
        // The text's hour is the clock's hour in summer: keep it.
        t.tm_hour -= 1;
        std::mktime(&t);
    }
    return fromTm(t, true);
}

btkstring btkDateTime::format() const {
    if (!valid) return btkstring();
    return btkFormat("%d.%d.%d %d:%02d:%02d", tm_mday, tm_mon + 1, tm_year + 1900, tm_hour, tm_min, tm_sec);
}

btkstring btkDateTime::formatISO() const {
    if (!valid) return btkstring();
    return btkFormat("%d-%d-%d %d:%02d:%02d", tm_year + 1900, tm_mon + 1, tm_mday, tm_hour, tm_min, tm_sec);
}
