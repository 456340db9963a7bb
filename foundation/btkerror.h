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

// The failure of an operation the user declined when it asked (a question
// answered "Ne"): the windows show no box for it, the answer said it all.
// Without windows it is reported like any other btkError.
class btkDeclinedError : public btkError {
public:
    using btkError::btkError;
};
