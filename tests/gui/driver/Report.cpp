#include "Report.h"

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

namespace gui {

namespace {

std::vector<TestCase>& Cases() {
    static std::vector<TestCase> cases;
    return cases;
}

Outcome* g_current = nullptr;

std::string Where(const char* file, int line) {
    const char* base = file;
    for (const char* p = file; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            base = p + 1;
        }
    }
    return Format("%s:%d: ", base, line);
}

bool Matches(const std::string& name, const std::vector<std::string>& filters) {
    if (filters.empty()) {
        return true;
    }
    for (const std::string& filter : filters) {
        if (name.find(filter) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char small[512];
    va_list copy;
    va_copy(copy, args);
    const int needed = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string text;
    if (needed < 0) {
        text = format;
    } else if (static_cast<size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<size_t>(needed));
    } else {
        text.resize(static_cast<size_t>(needed) + 1);
        vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return text;
}

Outcome& Current() {
    static Outcome outsideCases;
    return g_current != nullptr ? *g_current : outsideCases;
}

bool Check(bool condition, const std::string& what, const char* file, int line) {
    if (!condition) {
        Current().Fail(Where(file, line) + what);
    }
    return condition;
}

void Require(bool condition, const std::string& what, const char* file, int line) {
    if (!condition) {
        Current().Fail(Where(file, line) + what + " (case stopped)");
        throw CaseAborted{};
    }
}

bool CheckEqual(const std::string& actual, const std::string& expected, const std::string& what,
                const char* file, int line) {
    if (actual == expected) {
        return true;
    }
    Current().Fail(Where(file, line) + what + ": got \"" + Printable(actual) + "\", expected \"" +
                   Printable(expected) + "\"");
    return false;
}

bool CheckEqual(long long actual, long long expected, const std::string& what, const char* file,
                int line) {
    if (actual == expected) {
        return true;
    }
    Current().Fail(Where(file, line) + what +
                   Format(": got %lld, expected %lld", actual, expected));
    return false;
}

void Skip(const std::string& reason) {
    throw CaseSkipped{reason};
}

std::string Printable(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (c < 0x20 || c > 0x7E) {
            text += Format("\\x%02X", c);
        } else {
            text += static_cast<char>(c);
        }
    }
    return text;
}

void AddCase(const std::string& name, std::function<void()> body) {
    Cases().push_back(TestCase{name, std::move(body)});
}

int RunCases(const std::vector<std::string>& filters) {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const TestCase& testCase : Cases()) {
        if (!Matches(testCase.name, filters)) {
            continue;
        }
        Outcome outcome;
        g_current = &outcome;
        std::string skipReason;
        try {
            testCase.body();
        } catch (const CaseAborted&) {
        } catch (const CaseSkipped& skip) {
            skipReason = skip.reason;
        } catch (const std::exception& error) {
            outcome.Fail(std::string("unexpected exception: ") + error.what());
        }
        g_current = nullptr;
        if (!outcome.Failures().empty()) {
            ++failed;
            printf("FAIL  %s\n", testCase.name.c_str());
            for (const std::string& failure : outcome.Failures()) {
                printf("        %s\n", failure.c_str());
            }
        } else if (!skipReason.empty()) {
            ++skipped;
            printf("SKIP  %s: %s\n", testCase.name.c_str(), skipReason.c_str());
        } else {
            ++passed;
            printf("ok    %s\n", testCase.name.c_str());
        }
        fflush(stdout);
    }
    if (skipped > 0) {
        printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    } else {
        printf("%d passed, %d failed\n", passed, failed);
    }
    fflush(stdout);
    return failed;
}

}  // namespace gui
