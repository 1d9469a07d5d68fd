#include <gtest/gtest.h>
#include <unistd.h>

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/exception.h"

namespace {

struct Box {
    TMessageKind kind;
    std::string caption;
    std::string text;
};

class MessageBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        SetApplicationTitle("Fourfall");
        previous_ = SetMessageSink(
            [this](TMessageKind kind, const std::string& caption, const std::string& text) {
                boxes_.push_back({kind, caption, text});
            });
    }
    void TearDown() override { SetMessageSink(previous_); }

    std::vector<Box> boxes_;
    TMessageSink previous_;
};

TEST_F(MessageBoxes, CarryTheApplicationTitleAndTheText) {
    ShowMessage("Please re-install Fourfall!");
    ShowException(Exception("Cannot load bitmap \"x\": file not found."));
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].kind, TMessageKind::Information);
    EXPECT_EQ(boxes_[0].caption, "Fourfall");
    EXPECT_EQ(boxes_[0].text, "Please re-install Fourfall!");
    EXPECT_EQ(boxes_[1].kind, TMessageKind::Error);
    EXPECT_EQ(boxes_[1].caption, "Fourfall");
    EXPECT_EQ(boxes_[1].text, "Cannot load bitmap \"x\": file not found.");
}

TEST(Application, ProcessMessagesHandlesWhatIsPendingAndReturns) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    ProcessMessages();
    EXPECT_TRUE(ran);
}

TEST(Application, TickCountAdvancesAcrossASleep) {
    const std::uint32_t before = GetTickCount();
    Sleep(20);
    // Unsigned subtraction stays right across the 32-bit wrap.
    EXPECT_GE(static_cast<std::uint32_t>(GetTickCount() - before), 20u);
}

TEST(Application, CurrentDirHasNoTrailingSeparatorExceptAtTheRoot) {
    const std::filesystem::path start = std::filesystem::current_path();
    EXPECT_EQ(GetCurrentDir(), start.string());
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(GetCurrentDir(), "/");
    std::filesystem::current_path(start);
}

TEST(Application, CurrentDirThatIsGoneIsAnErrorNotAnEmptyPath) {
    const std::filesystem::path start = std::filesystem::current_path();
    char scratch[] = "/tmp/fourfall-cwd-XXXXXX";
    ASSERT_NE(::mkdtemp(scratch), nullptr);
    ASSERT_EQ(::chdir(scratch), 0);
    ASSERT_EQ(::rmdir(scratch), 0);
    try {
        const std::string dir = GetCurrentDir();
        ADD_FAILURE() << "got \"" << dir << "\"";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("current directory"), std::string::npos) << e.what();
    }
    std::filesystem::current_path(start);
}

}  // namespace
