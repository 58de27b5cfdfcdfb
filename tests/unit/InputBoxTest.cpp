#include "dialogs/InputBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestUi.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

constexpr int kOk = 1;

// Runs InputBox over `owner`; while the box is open, `use` gets it opened.
const char* RunBox(TestUi& owner, const std::function<void(TestUi&)>& use, int maxLength = 13,
                   const char* defaultText = "Player1") {
    owner.SetDialogResult("IDD_INPUTBOX", 2, [&] {
        TestUi box;
        OpenInputBox(box);
        use(box);
    });
    return InputBox(owner, "Title", "Your name", defaultText, "Fine", maxLength);
}

// Types `text` and lets the edit report the change, as Windows does.
void TypeInto(TestUi& box, const std::string& text) {
    box.Type(IDC_INPUT_EDIT, text);
    EXPECT_TRUE(RunInputBoxCommand(box, IDC_INPUT_EDIT, kEditChanged));
}

std::string EditText(TestUi& box) {
    char text[kInputBoxTextSize];
    box.GetText(IDC_INPUT_EDIT, text, sizeof text);
    return text;
}

TEST(InputBoxTest, OpensWithTheCallersTextsAndReturnsTheEditOnOk) {
    TestUi owner;
    const char* result = RunBox(owner, [](TestUi& box) {
        EXPECT_EQ(box.Captions(), std::vector<std::string>{"Title"});
        EXPECT_EQ(box.TextOf(IDC_INPUT_PROMPT), "Your name");
        EXPECT_EQ(box.TextOf(IDC_INPUT_EDIT), "Player1");
        EXPECT_EQ(box.TextOf(kOk), "Fine");
        TypeInto(box, "Ann");
        EXPECT_TRUE(RunInputBoxCommand(box, kOk, 0));
        EXPECT_EQ(box.EndResults(), std::vector<int>{2});
    });
    EXPECT_EQ(owner.DialogsRun(), std::vector<std::string>{"IDD_INPUTBOX"});
    EXPECT_STREQ(result, "Ann");
}

TEST(InputBoxTest, ChangesLongerThanTheMaximumAreCutAndWrittenBack) {
    const struct {
        int maxLength;
        std::string typed;
        std::string kept;
        bool writtenBack;
    } cases[] = {
        {13, std::string(20, 'a'), std::string(13, 'a'), true},
        {13, std::string(13, 'a'), std::string(13, 'a'), false},
        {13, "", "", false},
        {0, "abc", "", true},
        {1, "ab", "a", true},
        // Compared as unsigned: a negative maximum sets no limit.
        {-1, std::string(511, 'z'), std::string(511, 'z'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxLength);
        TestUi owner;
        const char* result = RunBox(
            owner,
            [&](TestUi& box) {
                std::size_t before = box.Texts().size();
                TypeInto(box, c.typed);
                EXPECT_EQ(EditText(box), c.kept);
                EXPECT_EQ(box.Texts().size() > before, c.writtenBack);
                // The write-back reports a change too; nothing more happens.
                before = box.Texts().size();
                EXPECT_TRUE(RunInputBoxCommand(box, IDC_INPUT_EDIT, kEditChanged));
                EXPECT_EQ(box.Texts().size(), before);
                RunInputBoxCommand(box, kOk, 0);
            },
            c.maxLength);
        EXPECT_EQ(result, c.kept);
    }
}

TEST(InputBoxTest, TheEditRefusesTypingBeyondTheMaximum) {
    // The cut of a change moves the caret to the start; a key typed into a
    // full box must not get that far.
    const struct {
        int maxLength;
        std::map<int, std::size_t> limits;
    } cases[] = {
        {13, {{IDC_INPUT_EDIT, 13}}},
        {1, {{IDC_INPUT_EDIT, 1}}},
        {0, {}},
        {-1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxLength);
        TestUi owner;
        RunBox(
            owner,
            [&](TestUi& box) {
                EXPECT_EQ(box.TypingLimits(), c.limits);
                RunInputBoxCommand(box, kOk, 0);
            },
            c.maxLength);
    }
}

TEST(InputBoxTest, OnlyOkEndsTheBox) {
    TestUi owner;
    const char* result = RunBox(owner, [](TestUi& box) {
        // Cancel comes from Escape and the close box; 0 and others from nowhere.
        for (int id : {2, 0, 3, IDC_INPUT_PROMPT, 0xFFFF}) {
            EXPECT_FALSE(RunInputBoxCommand(box, id, 0)) << id;
        }
        // Other notifications of the edit (focus, for one) change nothing.
        box.Type(IDC_INPUT_EDIT, std::string(30, 'x'));
        for (int notification : {0x100, 0x200, 0x400}) {
            EXPECT_TRUE(RunInputBoxCommand(box, IDC_INPUT_EDIT, notification));
        }
        EXPECT_EQ(EditText(box), std::string(30, 'x'));
        EXPECT_TRUE(box.EndResults().empty());
        box.Type(IDC_INPUT_EDIT, "");
        RunInputBoxCommand(box, kOk, 0);
    });
    EXPECT_STREQ(result, "");
}

TEST(InputBoxTest, TheNextCallReplacesTheResultInTheSameBuffer) {
    TestUi owner;
    const char* first = RunBox(owner, [](TestUi& box) {
        TypeInto(box, "First");
        RunInputBoxCommand(box, kOk, 0);
    });
    std::string kept = first;
    const char* second = RunBox(owner, [](TestUi& box) {
        TypeInto(box, "Second");
        RunInputBoxCommand(box, kOk, 0);
    });
    EXPECT_EQ(kept, "First");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Second");
}

TEST(InputBoxTest, TextsTooLongForTheBuffersAreCut) {
    std::string longText(2000, 'L');
    TestUi owner;
    owner.SetDialogResult("IDD_INPUTBOX", 2, [] {
        TestUi box;
        OpenInputBox(box);
        EXPECT_EQ(box.Captions().back(), std::string(511, 'L'));
        EXPECT_EQ(box.TextOf(IDC_INPUT_PROMPT), std::string(511, 'L'));
        EXPECT_EQ(box.TextOf(IDC_INPUT_EDIT), std::string(511, 'L'));
        EXPECT_EQ(box.TextOf(kOk), std::string(511, 'L'));
        box.Type(IDC_INPUT_EDIT, std::string(2000, 'T'));
        RunInputBoxCommand(box, kOk, 0);
    });
    const char* result =
        InputBox(owner, longText.c_str(), longText.c_str(), longText.c_str(), longText.c_str(), -1);
    EXPECT_EQ(std::strlen(result), 511u);
}

}  // namespace
}  // namespace vok::test
