#include "songs/lineends.h"

#include <string>

btkstring StripCR(const char* text) {
    std::string out;
    for (const char* c = text ? text : ""; *c; ++c)
        if (*c != '\r') out += *c;
    return btkstring(out.c_str());
}

btkstring AddCR(const char* text) {
    std::string out;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n') out += '\r';
        out += *c;
    }
    return btkstring(out.c_str());
}
