#include "modules/ignition/assistant.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "modules/ignition/ignition_io.h"
#include "shell/message_helpers.h"
#include "texts/assistant_text_ids.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace ignition {

namespace {

enum class Kind { Question, Input, Hint, Action };

// What a step does next: the following step, another one, the same input
// again, or the end of the series with 8498.
struct Next {
  enum Way { Advance, Goto, AskAgain, Fail };
  Way way = Advance;
  int to = 0;
};
constexpr Next advance() {
  return {};
}
constexpr Next go(int step) {
  return {Next::Goto, step};
}
constexpr Next again() {
  return {Next::AskAgain, 0};
}

// What a step sees: the state, the yes of a question, the text typed into
// an input (the default when cancelled).
struct Answer {
  IgnitionState& s;
  shell::UserPrompts& prompts;
  bool yes = false;
  std::string typed;

  IgnitionRecord& r() { return s.record; }
  // The number from the start of the answer, as the C library reads it.
  long number() const { return std::strtol(typed.c_str(), nullptr, 10); }
  Next outOfRange() {
    prompts.showMessage(texts::kTextParameterOutOfRange);
    return again();
  }
};

struct Step {
  int number;
  Kind kind;
  int32_t text;
  const char* defaultText;  // inputs
  size_t characters;        // inputs
  Next (*effect)(Answer&);
};

constexpr uint8_t bit(int n) {
  return static_cast<uint8_t>(1u << n);
}

// Hardware type codes that can drive a resting distribution.
bool multiChannelType(int32_t hwTyp) {
  constexpr int kCodes[] = {2, 3, 5, 8, 9, 10, 13, 15, 16, 17, 19, 20, 24, 25};
  const int code = hardwareTypeCode(hwTyp);
  return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

// The charge time typed with a decimal comma or point.
Next chargeTime(Answer& a) {
  a.r().Ladezeit = 25;
  std::string text = a.typed;
  std::replace(text.begin(), text.end(), ',', '.');
  char* end = nullptr;
  const double f = std::strtod(text.c_str(), &end);
  if (end != text.c_str()) {
    a.r().Ladezeit = static_cast<uint8_t>(static_cast<long>((f + 0.05) * 10));
  }
  if (a.r().Ladezeit < 7 || a.r().Ladezeit > 50) {
    a.r().Ladezeit = 0;
    return a.outOfRange();
  }
  return advance();
}

Next slottedWheel(Answer& a) {
  IgnitionRecord& r = a.r();
  if (!a.yes) {
    r.Flags |= bit(2);
    r.Versatz = 48;
    return go(48);
  }
  r.FlagsB |= bit(1);
  r.Versatz = 100;
  r.KwZaehne = 60;
  r.KwLuecke = 2;
  switch (r.Zylinder) {
    case 6:
      r.Versatz = 40;
      return go(48);
    case 8:
      r.KwZaehne = 64;
      return go(47);
    case 7:
    case 9:
    case 11:
      return go(46);
    default:
      return go(48);
  }
}

Next triggerWheelTeeth(Answer& a) {
  IgnitionRecord& r = a.r();
  r.FlagsB |= bit(1);
  const long n = a.number();
  r.KwZaehne = static_cast<uint8_t>(n);
  if (n < 24 || n > 200) return a.outOfRange();
  const long teeth = r.Takte == 4 ? n * 2 : n;
  // A single cylinder halved by the waste spark leaves 0 cylinders; every
  // tooth count fits then, and the remainder must not divide by 0.
  if (r.Zylinder != 0 && teeth % r.Zylinder != 0) {
    a.prompts.showMessage(texts::kTextTeethDoNotFitCylinders);
    return again();
  }
  return advance();
}

constexpr Step kSteps[] = {
    {30, Kind::Input, 8430, "4", 2,
     [](Answer& a) {
       const long n = a.number();
       a.r().Zylinder = static_cast<uint8_t>(n);
       return n >= 1 && n <= 12 ? advance() : a.outOfRange();
     }},
    {31, Kind::Question, 8431, "", 0,
     [](Answer& a) {
       a.r().Takte = a.yes ? 4 : 2;
       return advance();
     }},
    {32, Kind::Input, 8432, "9950", 5,
     [](Answer& a) {
       const long n = a.number();
       a.s.limiterEdit = static_cast<int32_t>(n);
       return n > 12500 || n == -1 ? a.outOfRange() : advance();
     }},
    {33, Kind::Question, 8433, "", 0,
     [](Answer& a) {
       if (a.yes) a.r().FlagsC |= bit(0);
       return advance();
     }},
    {34, Kind::Action, 0, "", 0,
     [](Answer& a) { return a.r().capability.productLine2 ? go(36) : advance(); }},
    {35, Kind::Input, 8435, "2,5", 3, chargeTime},
    {36, Kind::Question, 8436, "", 0, [](Answer& a) { return a.yes ? go(60) : advance(); }},
    {37, Kind::Action, 0, "", 0,
     [](Answer& a) { return a.r().capability.senderQuestions ? advance() : go(41); }},
    {38, Kind::Question, 8438, "", 0,
     [](Answer& a) {
       if (!a.yes) return go(41);
       a.r().FlagsB |= bit(3);
       if (a.r().capability.pointedSenderInverts) a.r().Flags |= bit(3);
       return advance();
     }},
    {39, Kind::Question, 8439, "", 0,
     [](Answer& a) {
       if (a.yes) a.r().FlagsC |= bit(4);
       return advance();
     }},
    {40, Kind::Hint, 8440, "", 0, [](Answer&) { return go(70); }},
    {41, Kind::Question, 8441, "", 0,
     [](Answer& a) {
       if (!a.yes) return advance();
       a.r().FlagsC |= bit(5);
       return go(70);
     }},
    {42, Kind::Question, 8442, "", 0, [](Answer& a) { return a.yes ? advance() : go(49); }},
    {43, Kind::Question, 8443, "", 0, slottedWheel},
    {46, Kind::Hint, 8446, "", 0,
     [](Answer&) {
       return Next{Next::Fail, 0};
     }},
    {47, Kind::Hint, 8447, "", 0, [](Answer&) { return go(48); }},
    {48, Kind::Hint, 8448, "", 0, [](Answer&) { return go(70); }},
    {49, Kind::Input, 8449, "0", 7,
     [](Answer& a) {
       IgnitionRecord& r = a.r();
       r.Flags |= bit(6);
       r.Versatz = static_cast<uint8_t>(a.number());
       if (r.Zylinder != 0 && r.Versatz > r.Takte * 180 / r.Zylinder) {
         a.prompts.showMessage(texts::kTextParameterOutOfRange);
         r.Versatz = 255;  // not asked again
       }
       return advance();
     }},
    {50, Kind::Hint, 8450, "", 0, [](Answer&) { return go(70); }},
    {60, Kind::Action, 0, "", 0,
     [](Answer& a) {
       a.r().Versatz = 0;
       return go(62);
     }},
    {62, Kind::Action, 0, "", 0,
     [](Answer& a) {
       IgnitionRecord& r = a.r();
       if (r.Takte == 4) {
         r.Flags |= bit(5);
         r.Zylinder = static_cast<uint8_t>(r.Zylinder / 2);
         r.Takte = 2;
       }
       return r.capability.senderQuestions ? advance() : go(64);
     }},
    {63, Kind::Question, 8463, "", 0,
     [](Answer& a) {
       if (a.yes) a.r().FlagsB |= bit(3);
       return advance();
     }},
    {64, Kind::Input, 8464, "60", 3, triggerWheelTeeth},
    {65, Kind::Action, 0, "", 0, [](Answer&) { return go(67); }},
    {67, Kind::Input, 8467, "2", 1,
     [](Answer& a) {
       a.r().KwLuecke = static_cast<uint8_t>(a.number());
       return advance();
     }},
    {68, Kind::Hint, 8468, "", 0, [](Answer&) { return go(70); }},
    {70, Kind::Action, 0, "", 0,
     [](Answer& a) { return multiChannelType(a.r().HwTyp) ? advance() : go(80); }},
    {71, Kind::Question, 8471, "", 0, [](Answer& a) { return a.yes ? advance() : go(80); }},
    {72, Kind::Action, 0, "", 0,
     [](Answer& a) { return (a.r().FlagsB & bit(1)) ? go(74) : advance(); }},
    {73, Kind::Hint, 8473, "", 0, [](Answer&) { return advance(); }},
    {74, Kind::Hint, 8474, "", 0,
     [](Answer& a) {
       a.r().FlagsB |= bit(0);
       return go(80);
     }},
    {80, Kind::Question, 8480, "", 0, [](Answer& a) { return a.yes ? advance() : go(90); }},
    {81, Kind::Question, 8481, "", 0,
     [](Answer& a) {
       if (!a.yes) return advance();
       a.r().FlagsC |= bit(3);
       return go(83);
     }},
    {82, Kind::Question, 8482, "", 0,
     [](Answer& a) {
       if (a.yes) {
         a.r().Flags |= bit(7);
         a.r().LogModus = 8;
       }
       return advance();
     }},
    {83, Kind::Action, 0, "", 0,
     [](Answer& a) { return a.r().capability.potiQuestion ? advance() : go(86); }},
    {84, Kind::Question, 8483, "", 0,
     [](Answer& a) {
       if (!a.yes) return go(86);
       a.r().Flags |= bit(1);
       return advance();
     }},
    {85, Kind::Question, 8484, "", 0,
     [](Answer& a) {
       if (!a.yes) a.r().Flags |= bit(0);
       return advance();
     }},
    {86, Kind::Action, 0, "", 0, [](Answer&) { return go(90); }},
    {90, Kind::Action, 0, "", 0,
     [](Answer& a) { return (a.r().FlagsC & bit(5)) ? go(95) : advance(); }},
    {91, Kind::Question, 8491, "", 0,
     [](Answer& a) {
       if (a.yes) setStandardCurves(a.s);
       return advance();
     }},
    {92, Kind::Hint, 8492, "", 0, [](Answer&) { return go(95); }},
    {95, Kind::Hint, 8495, "", 0, [](Answer&) { return go(kAssistantEnd); }},
};

const Step* findStep(int number) {
  for (const Step& step : kSteps) {
    if (step.number == number) return &step;
  }
  return nullptr;
}

void addHint(std::string& summary, int32_t textId, shell::UserPrompts& prompts) {
  const std::string_view text = texts::text(textId);
  if (summary.size() + text.size() + 1 <= kAssistantSummaryLimit) {
    summary.append(text);
    summary.push_back('\n');
  }
  prompts.showMessage(textId);
}

}  // namespace

void runAssistantSteps(IgnitionState& state, shell::UserPrompts& prompts, std::string& summary,
                       int first) {
  int s = first;
  while (s < kAssistantEnd) {
    const Step* step = findStep(s);
    if (step == nullptr) {
      prompts.showMessage(texts::kTextAssistantFailed);
      return;
    }
    Answer answer{state, prompts, false, {}};
    switch (step->kind) {
      case Kind::Question:
        answer.yes = prompts.askYesNo(step->text);
        break;
      case Kind::Input:
        answer.typed = step->defaultText;
        // Cancel keeps the default.
        prompts.askText(step->text, answer.typed, step->characters + 1);
        break;
      case Kind::Hint:
        addHint(summary, step->text, prompts);
        break;
      case Kind::Action:
        break;
    }
    const Next next = step->effect(answer);
    switch (next.way) {
      case Next::Advance:
        ++s;
        break;
      case Next::Goto:
        s = next.to;
        break;
      case Next::AskAgain:
        break;
      case Next::Fail:
        prompts.showMessage(texts::kTextAssistantFailed);
        return;
    }
  }
}

AssistantResult runAssistant(IgnitionState& state, buslink::ModuleLink& link,
                             shell::UserPrompts& prompts) {
  AssistantResult result;
  if (!prompts.askYesNo(texts::kTextAssistantStart)) return result;
  if (!state.recordValid) {
    const int32_t r = readIgnition(state, link, prompts);
    shell::closeWaitWindow(link, prompts);
    link.close();
    if (r != texts::kTextReadOk) {
      if (r != 0 && r != texts::kTextCancelled) prompts.showMessage(r);
      return result;
    }
  }
  IgnitionRecord& record = state.record;
  record.Flags = record.FlagsB = record.FlagsC = record.FlagsD = 0;
  result.ran = true;
  runAssistantSteps(state, prompts, result.summary);
  return result;
}

}  // namespace ignition
