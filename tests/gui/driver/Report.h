// The driver's small assertion and reporting layer: one line per test case and
// a closing "N passed, M failed" line that CI reads.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gui {

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Thrown by Require when a case cannot go on; the case counts as failed.
struct CaseAborted {};

// Thrown by Skip when the environment cannot run a case; it is reported, and
// counted apart from passes and failures.
struct CaseSkipped {
    std::string reason;
};

// The running case's failures, collected instead of stopping at the first, so
// one run shows everything that differs from what a player should see.
class Outcome {
public:
    void Fail(const std::string& message) { failures_.push_back(message); }
    const std::vector<std::string>& Failures() const { return failures_; }

private:
    std::vector<std::string> failures_;
};

Outcome& Current();

// Records a failure when `condition` is false; returns `condition`.
bool Check(bool condition, const std::string& what, const char* file, int line);
// Like Check, but ends the case when `condition` is false.
void Require(bool condition, const std::string& what, const char* file, int line);
bool CheckEqual(const std::string& actual, const std::string& expected, const std::string& what,
                const char* file, int line);
bool CheckEqual(long long actual, long long expected, const std::string& what, const char* file,
                int line);
[[noreturn]] void Skip(const std::string& reason);

// Printable form of a byte string: control bytes and bytes above 0x7E escaped.
std::string Printable(const std::string& bytes);

#define GUI_CHECK(cond, what) ::gui::Check((cond), (what), __FILE__, __LINE__)
#define GUI_REQUIRE(cond, what) ::gui::Require((cond), (what), __FILE__, __LINE__)
#define GUI_CHECK_EQ(actual, expected, what) \
    ::gui::CheckEqual((actual), (expected), (what), __FILE__, __LINE__)

struct TestCase {
    std::string name;
    std::function<void()> body;
};

// Registers a case; cases run in registration order.
void AddCase(const std::string& name, std::function<void()> body);

// Runs every case whose name contains one of `filters` (all when empty), prints
// a line per case and the summary line; returns the number of failed cases.
int RunCases(const std::vector<std::string>& filters);

}  // namespace gui
