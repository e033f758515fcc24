#include "shell/page_registry.h"

#include <algorithm>

namespace shell {

namespace {

constexpr std::array<PageInfo, kPageCount> kPages = {{
    {201, 201, 3000, 0},            // Zündung
    {202, 202, 190, 1},             // Balken-Anzeige
    {203, 203, 1000, 2},            // Gang-Anzeige
    {204, 204, 1200, 3},            // Tank-Anzeige
    {205, 205, 1500, 4},            // Schalt-Anzeige
    {206, 206, 5600, 5},            // Lambda-Anzeige
    {207, 207, 6500, 6},            // ZOR
    {208, 208, 5000, 7},            // Rpm-Logger
    {209, 209, 7000, 8},            // Seriell-Logger
    {210, 210, 5200, 9},            // Öl-Anzeige
    {211, 211, 5400, 10},           // Stopuhr
    {212, 212, 2200, 11},           // Poti-Anzeige
    {213, 213, 2000, 12},           // Rallye-Timer
    {214, 214, 5700, 13},           // Car-Logger
    {215, 215, 6000, 14},           // Instrument
    {216, 216, 179, 15},            // MotorSteller
    {217, 217, 7218, 16},           // Warmlaufregler
    {218, 218, 132, kAlwaysShown},  // Extras
    {219, 219, 175, kAlwaysShown},  // Info
}};

struct KeyRange {
  int32_t first;
  int32_t last;
  int32_t owner;
};

constexpr int32_t kGear = 203;
constexpr int32_t kTank = 204;
constexpr int32_t kShift = 205;
constexpr int32_t kZor = 207;
constexpr int32_t kRallyTimer = 213;
constexpr int32_t kCarLogger = 214;
constexpr int32_t kInstrument = 215;
constexpr int32_t kMotorController = 216;
constexpr int32_t kWarmUp = 217;

constexpr KeyRange kKeys[] = {
    {133, 133, kGear},
    {135, 136, kTank},
    {1300, 1300, kTank},
    {137, 137, kShift},
    {150, 154, kPageIgnition},
    {156, 165, kPageIgnition},
    {185, 186, kPageIgnition},
    {189, 189, kPageIgnition},
    {501, 501, kPageIgnition},
    {3100, 3100, kPageIgnition},
    {3370, 3370, kPageIgnition},
    {171, 171, kCarLogger},
    {177, 177, kInstrument},
    {6050, 6050, kInstrument},
    {6080, 6080, kInstrument},
    {178, 178, kOwnerTabHost},  // wait window
    {180, 183, kMotorController},
    {184, 184, kOwnerTabHost},  // small wait window
    {187, 187, kOwnerTabHost},  // module selection
    {502, 502, kOwnerTabHost},  // module selection, further modules
    {500, 500, kOwnerTabHost},  // text input
    {2050, 2050, kRallyTimer},
    {6505, 6507, kZor},
    {6650, 6650, kZor},
    {6770, 6770, kZor},
    {6880, 6880, kZor},
    {6900, 6900, kZor},
    {7217, 7217, kWarmUp},
    {7219, 7219, kWarmUp},
    {7900, 7900, kOwnerTabHost},  // firmware updater
};

constexpr int32_t kInitialiseOrder[] = {203, 204, 205, 213, 212, 208, 210, 211,
                                        206, 214, 215, 207, 209, 216, 217};

}  // namespace

const std::array<PageInfo, kPageCount>& pageRegistry() {
  return kPages;
}

const PageInfo* findPage(int32_t pageId) {
  if (pageId < kFirstPageId || pageId > kLastPageId) return nullptr;
  return &kPages[static_cast<size_t>(pageId - kFirstPageId)];
}

std::span<const int32_t> initialiseOrder() {
  return kInitialiseOrder;
}

std::vector<int32_t> pagesForMask(int32_t mask) {
  std::vector<int32_t> ids;
  const uint32_t bits = static_cast<uint32_t>(mask);
  for (const PageInfo& page : kPages) {
    if (page.maskBit == kAlwaysShown || ((bits >> page.maskBit) & 1u) != 0) ids.push_back(page.id);
  }
  return ids;
}

int32_t replaceMaskBits(int32_t mask, int firstBit, int count, uint32_t bits) {
  const uint32_t field = ((count >= 32 ? 0u : (1u << count)) - 1u) << firstBit;
  const uint32_t kept = static_cast<uint32_t>(mask) & ~field;
  return static_cast<int32_t>(kept | ((bits << firstBit) & field));
}

uint32_t maskBits(int32_t mask, int firstBit, int count) {
  const uint32_t low = (count >= 32 ? 0u : (1u << count)) - 1u;
  return (static_cast<uint32_t>(mask) >> firstBit) & low;
}

int32_t dialogKeyOwner(int32_t key) {
  const auto* it = std::find_if(std::begin(kKeys), std::end(kKeys), [key](const KeyRange& r) {
    return key >= r.first && key <= r.last;
  });
  return it == std::end(kKeys) ? 0 : it->owner;
}

}  // namespace shell
