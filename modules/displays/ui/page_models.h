#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "modules/displays/display_kind.h"
#include "modules/displays/ui/display_page.h"

class QListWidget;

namespace displays {

std::unique_ptr<DisplayPageModel> makePageModel(DisplayKind kind);

std::unique_ptr<DisplayPageModel> makeBarPageModel();
std::unique_ptr<DisplayPageModel> makeGearPageModel();
std::unique_ptr<DisplayPageModel> makeTankPageModel();
std::unique_ptr<DisplayPageModel> makeShiftPageModel();
std::unique_ptr<DisplayPageModel> makePotiPageModel();
std::unique_ptr<DisplayPageModel> makeOilPageModel();
std::unique_ptr<DisplayPageModel> makeStopwatchPageModel();
std::unique_ptr<DisplayPageModel> makeRallyPageModel();

// Helpers the models share.
// The field as the page takes it: empty or no number reads as 0.
int32_t fieldOrZero(const shell::DialogTable& table, int32_t id);
// 0 shows as an empty field.
void setNumberOrEmpty(shell::DialogTable& table, int32_t id, int32_t value);
void setOptional(shell::DialogTable& table, int32_t id, const std::optional<int32_t>& value);
std::optional<int32_t> optionalField(const shell::DialogTable& table, int32_t id);
// A field that may stay empty and otherwise takes `low`-`high`.
void checkEmptyOr(PageContext& context, int32_t id, std::function<bool(int32_t)> accepts);
// A list as wide as `sample` beside its scroll bar.
void fitListWidth(QListWidget* list, const QString& sample);
// The LED thresholds: one row per LED, green beside red.
QGroupBox* ledGroup(QWidget* page, shell::DialogTable& table, std::span<const int32_t> greens,
                    std::span<const int32_t> reds);
// Buttons in a titled box, `columns` to a row.
QGroupBox* buttonGroup(QWidget* page, shell::DialogTable& table, const QString& title,
                       std::span<const int32_t> ids, int columns = 8);

}  // namespace displays
