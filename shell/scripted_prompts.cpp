#include "shell/scripted_prompts.h"

#include <atomic>

namespace shell {

namespace {

// Cuts a UTF-8 text after `count` characters.
void keepCharacters(std::string& text, size_t count) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters == count) {
      text.resize(i);
      return;
    }
    ++characters;
  }
}

}  // namespace

void ScriptedPrompts::showMessage(int32_t textId) {
  messages.push_back(textId);
  calls.push_back("message " + std::to_string(textId));
}

bool ScriptedPrompts::askYesNo(int32_t textId) {
  questions.push_back(textId);
  bool answer = false;
  if (!yesNoAnswers.empty()) {
    answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
  }
  calls.push_back("ask " + std::to_string(textId) + (answer ? " yes" : " no"));
  return answer;
}

void ScriptedPrompts::showNumber(int32_t value) {
  numbers.push_back(value);
  calls.push_back("number " + std::to_string(value));
}

bool ScriptedPrompts::askText(int32_t promptTextId, std::string& text, size_t size) {
  textPrompts.push_back(promptTextId);
  std::optional<std::string> answer;
  if (!textAnswers.empty()) {
    answer = std::move(textAnswers.front());
    textAnswers.pop_front();
  }
  if (!answer) {
    calls.push_back("text " + std::to_string(promptTextId) + " cancel");
    return false;
  }
  // Like the edit field, which takes no more than the buffer holds.
  keepCharacters(*answer, size > 0 ? size - 1 : 0);
  text = std::move(*answer);
  calls.push_back("text " + std::to_string(promptTextId) + " " + text);
  return true;
}

void ScriptedPrompts::openWaitWindow(int32_t steps, int32_t textId) {
  ++waitOpened;
  lastWaitSteps = steps;
  lastWaitText = textId;
  calls.push_back("openWait " + std::to_string(steps) + " " + std::to_string(textId));
}

void ScriptedPrompts::stepWaitWindow() {
  std::atomic_ref<int>(waitSteps).fetch_add(1);
}

void ScriptedPrompts::closeWaitWindow() {
  ++waitClosed;
  calls.push_back("closeWait");
}

}  // namespace shell
