#pragma once

#include <exception>
#include <string>

namespace platform {

// The one exception type of the program: it carries the text that the error report shows.
class Error : public std::exception {
public:
    explicit Error(std::wstring message) : message_(std::move(message)) {}

    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "Tavimbo error"; }

private:
    std::wstring message_;
};

} // namespace platform
