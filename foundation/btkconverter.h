// btkConverter: converts texts between two named encodings through iconv.
#pragma once

#include <iconv.h>

#include "foundation/btkmutex.h"
#include "foundation/btkstring.h"

class btkConverter {
public:
    // No conversion happens when a name is empty or both names are equal;
    // an encoding iconv does not know leaves texts unchanged (with one
    // warning on stderr) rather than losing them.
    btkConverter(const char* from, const char* to);
    btkConverter(const btkConverter&) = delete;
    btkConverter& operator=(const btkConverter&) = delete;
    ~btkConverter();

    // The converted text. A character that cannot be converted (or a byte
    // that is no character of the source encoding) becomes '?' and the
    // conversion goes on; exact, when given, tells whether none did.
    btkstring convert(const char* text, bool* exact = nullptr);
    bool converts() const { return handle != nullptr; }

private:
    btkMutex mutex;
    iconv_t handle = nullptr;
    bool utf8Source = false;
};
