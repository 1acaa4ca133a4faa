#pragma once

#include <stdexcept>
#include <string>

// Root of every failure the program raises. Carries only its message.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
    std::string Message() const { return what(); }
};

// Memory for a working buffer could not be obtained.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
};
