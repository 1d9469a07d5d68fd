// The one exception type of the platform layer. Whatever the platform cannot
// do (a bitmap file that will not load, a bitmap too big to allocate) is
// thrown as an Exception whose message is meant for the user.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}

    std::string Message() const { return what(); }
};
