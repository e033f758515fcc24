#include "shell/message_helpers.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "shell/scripted_prompts.h"
#include "texts/text_ids.h"

namespace {

// An adapter that echoes every byte and has no module behind it.
class EchoDevice : public platform::SerialDevice {
 public:
  bool openDevice(int) override { return open_ = true; }
  bool isOpen() const override { return open_; }
  void closeDevice() override { open_ = false; }
  bool setBufferSizes(int, int) override { return true; }
  bool purge() override {
    pending_.clear();
    return true;
  }
  bool applyTimeouts(const platform::SerialTimeouts&) override { return true; }
  bool applyLineSettings(int) override { return true; }
  bool setBaudRate(int) override { return true; }
  bool setRts(bool) override { return true; }
  bool setDtr(bool) override { return true; }
  int write(const uint8_t* data, int count) override {
    pending_.insert(pending_.end(), data, data + count);
    return count;
  }
  int read(uint8_t* buffer, int count) override {
    int n = 0;
    while (n < count && !pending_.empty()) {
      buffer[n++] = pending_.front();
      pending_.pop_front();
    }
    return n;
  }
  void abortRead() override {}

 private:
  bool open_ = false;
  std::deque<uint8_t> pending_;
};

class StillClock : public platform::Clock {
 public:
  uint32_t ticks() override { return now_; }
  void sleepMs(uint32_t ms) override { now_ += ms; }

 private:
  uint32_t now_ = 0;
};

// Records whether the port was still open when each message came up.
class WatchingPrompts : public shell::ScriptedPrompts {
 public:
  explicit WatchingPrompts(buslink::ModuleLink& link) : link_(link) {}
  void showMessage(int32_t textId) override {
    portOpenAtMessage.push_back(link_.portNumber() >= 128);
    ScriptedPrompts::showMessage(textId);
  }
  std::vector<bool> portOpenAtMessage;

 private:
  buslink::ModuleLink& link_;
};

class MessageHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(link.setPortNumber(3), 0);
    ASSERT_EQ(link.openPort(), 0);
    ASSERT_EQ(link.portNumber(), 3 + 128);
  }

  StillClock clock;
  buslink::ModuleLink link{std::make_unique<EchoDevice>(), clock};
  WatchingPrompts prompts{link};
};

struct FinishCase {
  int32_t result;
  std::vector<int32_t> shown;
};

class FinishOperationTest : public MessageHelpersTest,
                            public ::testing::WithParamInterface<FinishCase> {};

TEST_P(FinishOperationTest, ClosesThenShowsFailuresOnly) {
  prompts.openWaitWindow(10, 8300);
  EXPECT_EQ(shell::finishOperation(link, prompts, GetParam().result), 0);
  EXPECT_EQ(prompts.messages, GetParam().shown);
  EXPECT_EQ(prompts.waitClosed, 1);
  EXPECT_EQ(link.portNumber(), 3);
  EXPECT_EQ(prompts.calls.at(1), "closeWait");
  for (bool open : prompts.portOpenAtMessage) EXPECT_FALSE(open);
}

INSTANTIATE_TEST_SUITE_P(
    Results, FinishOperationTest,
    ::testing::Values(FinishCase{0, {}}, FinishCase{texts::kTextCancelled, {}},
                      FinishCase{texts::kTextCannotOpenFile, {texts::kTextCannotOpenFile}},
                      FinishCase{texts::kTextTooFewBytes, {texts::kTextTooFewBytes}}));

TEST_F(MessageHelpersTest, CloseLinkAndShowMessagePassesTheStatusThrough) {
  EXPECT_EQ(shell::closeLinkAndShowMessage(link, prompts, texts::kTextWrongFileSelected, 1), 1);
  EXPECT_EQ(prompts.messages, std::vector<int32_t>{texts::kTextWrongFileSelected});
  EXPECT_EQ(prompts.portOpenAtMessage, std::vector<bool>{false});
}

TEST_F(MessageHelpersTest, WaitWindowFollowsTheFramesSent) {
  shell::openWaitWindow(link, prompts, 3, 8300);
  EXPECT_EQ(prompts.lastWaitSteps, 3);
  EXPECT_EQ(prompts.lastWaitText, 8300);
  EXPECT_EQ(link.sendFrame(0x20, 0x01, 0x02), 0);
  EXPECT_EQ(link.sendFrame(0x20, 0x03, 0x04), 0);
  EXPECT_EQ(prompts.waitSteps, 2);
  shell::closeWaitWindow(link, prompts);
  // The closed window is no longer stepped.
  EXPECT_EQ(link.sendFrame(0x20, 0x05, 0x06), 0);
  EXPECT_EQ(prompts.waitSteps, 2);
  EXPECT_EQ(prompts.waitClosed, 1);
}

TEST(ScriptedPromptsTest, AnswersFromItsQueues) {
  shell::ScriptedPrompts prompts;
  prompts.yesNoAnswers = {true};
  prompts.textAnswers = {std::string("12345678"), std::nullopt, std::string("Zündung")};
  EXPECT_TRUE(prompts.askYesNo(8070));
  EXPECT_FALSE(prompts.askYesNo(8071));  // queue empty: no
  std::string text = "alt";
  EXPECT_TRUE(prompts.askText(9001, text, 8));
  EXPECT_EQ(text, "1234567");  // at most size - 1 characters
  EXPECT_FALSE(prompts.askText(9001, text, 8));
  EXPECT_EQ(text, "1234567");
  EXPECT_TRUE(prompts.askText(9001, text, 3));
  EXPECT_EQ(text, "Zü");                         // characters, not bytes
  EXPECT_FALSE(prompts.askText(9001, text, 8));  // queue empty: cancel
  EXPECT_EQ(prompts.questions, (std::vector<int32_t>{8070, 8071}));
}

}  // namespace
