// The launcher as a player meets it: start-up, the main menu, the game launch,
// the create-league dialog with its input boxes and the credits, run through
// their real logic by a scripted player, on ordinary and hostile data roots
// and temporary folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "Fakes.h"

namespace vok::test {
namespace {

// The scenarios of flows.txt, each a test of its own named after it, on a
// fresh stage.
std::vector<std::pair<std::string, std::string>> Flows() {
    std::ifstream file(VOK_TEST_DATA "flows.txt");
    return scenario::Scenarios(file);
}

class Flow : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(Flow, EndsAsThePlayerMustSeeIt) {
    EXPECT_EQ(Stage().Play(GetParam().second), "");
}

INSTANTIATE_TEST_SUITE_P(Flows, Flow, testing::ValuesIn(Flows()), [](const auto& flow) {
    std::string name = flow.param.first;
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
});

}  // namespace
}  // namespace vok::test
