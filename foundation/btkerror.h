// btkError: the foundation's exception, owning its message text.
#pragma once

#include <exception>

#include "foundation/btkstring.h"

class btkError : public std::exception {
public:
    explicit btkError(const btkstring& message) : msg(message) {}
    const btkstring& message() const noexcept { return msg; }
    const char* what() const noexcept override { return msg.c_str(); }

private:
    btkstring msg;
};
