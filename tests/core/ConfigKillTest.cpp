// A save killed at any moment leaves the old or the new store, never a torn one.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "CCore.h"
#include "ConfigHome.h"

namespace {

bool isOneLetterRepeated(const std::string& text, std::size_t length) {
    return text.size() == length && text.find_first_not_of(text[0]) == std::string::npos &&
           (text[0] == 'A' || text[0] == 'B');
}

}  // namespace

TEST(ConfigKill, aSaveKilledHalfWayLeavesACompleteStore) {
    ConfigHome home;
    const std::size_t length = 4 << 20;
    {
        CCore core;
        core.autoFileConfig();
        core.saveConfigStr("other", "kept");
        core.saveConfigStr("big", std::string(length, 'A'));
    }
    for (int round = 0; round < 8; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CCore core;
            for (int i = 0;; ++i)
                core.saveConfigStr("big", std::string(length, i % 2 ? 'A' : 'B'));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(15 + 11 * round));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        CCore core;
        EXPECT_EQ(core.getConfigStr("other"), "kept") << "round " << round;
        EXPECT_TRUE(isOneLetterRepeated(core.getConfigStr("big"), length)) << "round " << round;
    }
}
