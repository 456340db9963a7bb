// btkConverter: converts texts between two named encodings through iconv.
#pragma once

#include <iconv.h>

#include <string>

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

// A text file a user brings (bytes up to the first NUL), as Windows-1250:
// valid UTF-8 that holds characters beyond ASCII, and any text opening with
// the UTF-8 byte-order mark (which goes), is converted from UTF-8; anything
// else is taken as Windows-1250 already. replaced, when given, counts the
// characters that have no Windows-1250 form (each became '?').
btkstring btkUserTextToWindows1250(const std::string& bytes, int* replaced = nullptr);
