#include "modules/loggers/ui/rpm_logger_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

using P = RpmLoggerPage;

constexpr shell::ControlRow kControls[] = {
    shell::numberField(P::kLimit, "Drehzahlgrenze ", 5),
    shell::readOnly(shell::numberField(P::kMaxSpeed, "maximale Drehzahl ", 5)),
    shell::readOnly(shell::numberField(P::kTotal, "Dauer gesamt ", 9)),
    shell::readOnly(shell::numberField(P::kCount5to49, "Dauer 5-49", 5)),
    shell::readOnly(shell::numberField(P::kCount50to511, "Dauer 50-511", 5)),
    shell::readOnly(shell::numberField(P::kCountOver511, "Dauer > 511", 5)),
    shell::numberField(P::kCylinders, "Zylinder ", 2, {2, 12}),
    shell::numberField(P::kStrokes, "Takte ", 1, shell::kCheckedByRule),
    shell::pushButton(P::kRead, "Lesen"),
    shell::pushButton(P::kWrite, "Schreiben"),
    shell::pushButton(P::kClear, "löschen"),
    shell::label(P::kVersion, ""),
};

}  // namespace

RpmLoggerPage::RpmLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                             shell::UserPrompts& prompts)
    : LoggerPage(208, kControls, settings, link, prompts) {}

void RpmLoggerPage::layout(QWidget* page, QGridLayout* grid) {
  static constexpr int32_t kEngine[] = {kLimit, kCylinders, kStrokes};
  static constexpr int32_t kCounts[] = {kCount5to49, kCount50to511, kCountOver511};
  static constexpr int32_t kButtons[] = {kRead, kWrite, kClear};
  grid->addWidget(box(page, QStringLiteral("Motor"), kEngine), 0, 0);
  grid->addWidget(box(page, QStringLiteral("Modul"), kButtons), 0, 1, Qt::AlignTop);
  // The highest speed and the time above the limit, the time with its unit.
  auto* seen = new QGroupBox(page);
  auto* seenGrid = new QGridLayout(seen);
  seenGrid->setContentsMargins(6, 4, 6, 6);
  seenGrid->addWidget(table()->caption(kMaxSpeed), 0, 0);
  seenGrid->addWidget(table()->control(kMaxSpeed), 0, 1, Qt::AlignLeft);
  seenGrid->addWidget(table()->caption(kTotal), 1, 0);
  seenGrid->addWidget(table()->control(kTotal), 1, 1, Qt::AlignLeft);
  seenGrid->addWidget(new QLabel(QStringLiteral(" msec"), seen), 1, 2);
  seenGrid->setColumnStretch(3, 1);
  grid->addWidget(seen, 1, 0, 1, 2);
  grid->addWidget(box(page, QStringLiteral("Dauer in Zündungen über Maxdrehzahl"), kCounts), 2, 0,
                  1, 2);
  grid->addWidget(table()->control(kVersion), 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(2, 1);
}

void RpmLoggerPage::prepare() {
  table()->setRule(kStrokes, [](int32_t t) { return strokesValid(t); });
  showValues();
}

void RpmLoggerPage::showValues() {
  shell::DialogTable& t = *table();
  t.setNumber(kLimit, values_.limit);
  t.setNumber(kMaxSpeed, values_.maxSpeed);
  t.setNumber(kTotal, values_.totalMs);
  t.setNumber(kCount5to49, values_.count5to49);
  t.setNumber(kCount50to511, values_.count50to511);
  t.setNumber(kCountOver511, values_.countOver511);
  t.setNumber(kCylinders, values_.cylinders);
  t.setNumber(kStrokes, values_.strokes);
}

bool RpmLoggerPage::takeValues() {
  const shell::DialogTable& t = *table();
  values_.limit = t.number(kLimit).value_or(0);
  values_.cylinders = t.number(kCylinders).value_or(0);
  values_.strokes = t.number(kStrokes).value_or(0);
  return true;
}

void RpmLoggerPage::run(int32_t id) {
  std::string version;
  int32_t r = 0;
  switch (id) {
    case kRead:
      r = readRpmLogger(link_, values_, version);
      break;
    case kWrite:
      takeValues();
      r = writeRpmLogger(link_, values_, version);
      break;
    case kClear:
      r = clearRpmLogger(link_, values_, version);
      break;
    default:
      return;
  }
  setVersion(kVersion, version);
  showValues();
  finish(r);
}

}  // namespace loggers
