// The pieces of the C++ runtime that the launcher provides itself, so that it
// carries no exception machinery.
//
// The launcher and the core are built without exceptions (CMakeLists.txt):
// they catch none, so every exception the library could raise (memory
// exhausted, a string beyond max_size()) ended the process through
// std::terminate and abort(). Yet the library's throwing helpers, and the
// prebuilt std::string whose unwind tables the linker must keep, pulled in
// the unwinder, the exception classes with a second string implementation,
// winpthreads for the unwinder's locks and the terminate handler's demangler:
// three quarters of the executable's code and data. Here those paths call
// abort() at once.
#include <cstdlib>
#include <new>
#include <string>

// The replaceable global allocation functions: the library's own version
// throws std::bad_alloc, which nothing here would catch.
void* operator new(std::size_t size) {
    // new must return a distinct block even for zero bytes; malloc(0) need not.
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        std::abort();
    }
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

// Where the standard containers must report an error they call these helpers
// (bits/functexcept.h). All of the library's set is defined, so that its own
// object file is never linked, whichever of them the code comes to use; the
// configuration (cmake/CheckToolchain.cmake) fails when that object defines
// one more. The header's other helpers, for iostreams, <system_error>,
// <future> and std::function, live with their features, which bring the
// exception machinery anyway: the check of each link's map
// (cmake/CheckLinkMap.cmake) names the one that came in.
namespace std {

void __throw_bad_exception() {
    abort();
}
void __throw_bad_alloc() {
    abort();
}
void __throw_bad_array_new_length() {
    abort();
}
void __throw_bad_cast() {
    abort();
}
void __throw_bad_typeid() {
    abort();
}
void __throw_logic_error(const char*) {
    abort();
}
void __throw_domain_error(const char*) {
    abort();
}
void __throw_invalid_argument(const char*) {
    abort();
}
void __throw_length_error(const char*) {
    abort();
}
void __throw_out_of_range(const char*) {
    abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    abort();
}
void __throw_runtime_error(const char*) {
    abort();
}
void __throw_range_error(const char*) {
    abort();
}
void __throw_overflow_error(const char*) {
    abort();
}
void __throw_underflow_error(const char*) {
    abort();
}

}  // namespace std

// std::string compiled here, without exceptions: the linker keeps only the
// members that are called, where the library's prebuilt copy would bring all
// of them with their unwind tables and, through those, the unwinder.
template class std::basic_string<char>;
