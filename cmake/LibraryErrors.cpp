// libstdc++ throws its standard exceptions from one object file, which keeps their messages in
// strings of the library's old ABI: that object drags in the whole old std::string (some 25 KB)
// for texts that only ever report a programming error. The link of the executables that ship
// (and of the benchmark's baseline) routes those throws here instead: the same exceptions where
// they carry no text, and for the others one of the program's own that keeps the library's
// message, which the error report shows as it showed theirs.
#include <cstdarg>
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

} // namespace

extern "C" {
[[noreturn]] void __wrap__ZSt17__throw_bad_allocv();
[[noreturn]] void __wrap__ZSt28__throw_bad_array_new_lengthv();
[[noreturn]] void __wrap__ZSt19__throw_logic_errorPKc(const char* message);
[[noreturn]] void __wrap__ZSt20__throw_length_errorPKc(const char* message);
[[noreturn]] void __wrap__ZSt24__throw_out_of_range_fmtPKcz(const char* format, ...);

void __wrap__ZSt17__throw_bad_allocv() {
    throw std::bad_alloc();
}
void __wrap__ZSt28__throw_bad_array_new_lengthv() {
    throw std::bad_array_new_length();
}
void __wrap__ZSt19__throw_logic_errorPKc(const char* message) {
    throw LibraryError(message);
}
void __wrap__ZSt20__throw_length_errorPKc(const char* message) {
    throw LibraryError(message);
}
// The format's numbers are left out; the function it names, where it names one through its
// first argument ("%s: __pos (which is %zu) > ..."), is kept.
void __wrap__ZSt24__throw_out_of_range_fmtPKcz(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const char* function =
        format[0] == '%' && format[1] == 's' ? va_arg(arguments, const char*) : format;
    va_end(arguments);
    throw LibraryError(function);
}
}
