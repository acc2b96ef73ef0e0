#pragma once

#include <stdexcept>

// The module's failures, each raised in Python as one exception class (see Module.cpp).

/// An input that cannot be read: msarender.ReadError, with the reader's "file:line: message".
struct ReadFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// An option value or a request the command refuses as a usage error: ValueError.
struct UsageFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// An option the command does not have: TypeError, as for any unexpected keyword.
struct UnknownOption : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// A picture that could not be drawn or written: OSError.
struct WriteFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
