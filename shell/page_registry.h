#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace shell {

// Page ids are the text IDs of the tab captions.
constexpr int32_t kPageIgnition = 201;
constexpr int32_t kPageExtras = 218;
constexpr int32_t kPageInfo = 219;
constexpr int32_t kFirstPageId = 201;
constexpr int32_t kLastPageId = 219;
constexpr int kPageCount = 19;
// Pages without a FensterListe bit; they always get a tab.
constexpr int32_t kAlwaysShown = -1;
// Bits 0-16 of FensterListe choose the module pages; higher bits belong to
// nobody and are kept as they are.
constexpr int kModulePageBits = 17;

struct PageInfo {
  int32_t id;
  int32_t captionTextId;
  int32_t dialogTemplate;
  int32_t maskBit;  // kAlwaysShown for Extras and Info
};

const std::array<PageInfo, kPageCount>& pageRegistry();
// nullptr for an id outside 201-219.
const PageInfo* findPage(int32_t pageId);

// The page ids that get a tab for a FensterListe mask, in id order.
std::vector<int32_t> pagesForMask(int32_t mask);

// The pages whose initialise runs at start-up, in the order it runs (the
// order decides where their keys first appear in the settings file).
std::span<const int32_t> initialiseOrder();

// Replaces `count` bits of `mask` from `firstBit` on by the low bits of
// `bits`; all other bits stay.
int32_t replaceMaskBits(int32_t mask, int firstBit, int count, uint32_t bits);
// The `count` bits of `mask` from `firstBit` on, shifted down.
uint32_t maskBits(int32_t mask, int firstBit, int count);

// The owner of the shell's own sub-dialogs (wait windows, text input, module
// selection, firmware window): the tab host, named by its dialog number.
constexpr int32_t kOwnerTabHost = 131;

// The page that handles the messages of the sub-dialog open under `key`;
// kOwnerTabHost for the shell's own dialogs, 0 when the key gets no handling.
int32_t dialogKeyOwner(int32_t key);

}  // namespace shell
