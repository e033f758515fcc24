#include <cstdio>
#include <ostream>
#include <string>

#include "ignition_commands.h"
#include "modules/ignition/conversions.h"
#include "modules/ignition/curve_list.h"

namespace cli {

namespace {

std::string hex2(uint8_t value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", value);
  return buf;
}

void pressureCurve(std::ostream& out, const char* name, const ignition::IgnitionRecord& r,
                   const ignition::PressureCurve& c) {
  out << name << ":\n";
  for (int i = 0; i < ignition::kPressurePoints && c.pressure[i] != ignition::kEndOfCurve; ++i) {
    out << "  "
        << ignition::pressureEntryText(
               ignition::byteToPressure(r.relativePressure(), c.pressure[i]), c.angle[i])
        << "\n";
  }
}

void rpmCurve(std::ostream& out, const char* name, const ignition::CurveList& list) {
  out << name << ":\n";
  for (const std::string& entry : list.entries()) out << "  " << entry << "\n";
}

}  // namespace

void printIgnition(const ignition::IgnitionState& state, std::ostream& out) {
  const ignition::IgnitionRecord& r = state.record;
  out << "Version: " << state.versionText << "\n"
      << "Typ: " << state.typeText << " (HwTyp " << r.HwTyp << ")\n"
      << "SerNr: " << state.serialText << "\n"
      << "BetriebsDauer: " << r.BetriebsDauer << "\n";
  if (!state.maxTemperatureText.empty()) {
    out << "Modultemperatur " << state.maxTemperatureText << "\n";
  }
  out << "Zylinder: " << ignition::shownCylinders(r) << "\n"
      << "Takte: " << ignition::shownStrokes(r) << "\n"
      << "Ladezeit: " << int(r.Ladezeit) << "\n"
      << "StartZeit: " << int(r.StartZeit) << "\n"
      << "Limiter: " << state.limiterEdit << "\n"
      << "LimiterZahl: " << int(r.LimiterZahl) << "\n"
      << "SchaltBlitz: " << r.SchaltBlitz << "\n"
      << "Offset: " << r.Offset << "\n"
      << "Versatz: " << ignition::versatzDegrees(r.Versatz) << "\n"
      << "Flags: " << hex2(r.Flags) << "\n"
      << "FlagsB: " << hex2(r.FlagsB) << "\n"
      << "FlagsC: " << hex2(r.FlagsC) << "\n"
      << "FlagsD: " << hex2(r.FlagsD) << "\n"
      << "KwZaehne: " << int(r.KwZaehne) << "\n"
      << "KwLuecke: " << int(r.KwLuecke) << "\n"
      << "LogModus: " << int(r.LogModus) << "\n"
      << "GeberModus: " << int(r.GeberModus) << "\n"
      << "UnterDruckSensorF: " << int(r.UnterDruckSensorF) << "\n"
      << "UnterDruckSensorC: " << int(r.UnterDruckSensorC) << "\n"
      << "HwLimiter: " << ignition::byteToRpm(r.HwLimiter[0]) << " "
      << ignition::byteToRpm(r.HwLimiter[1]) << "\n"
      << "UHkz: " << int(r.UHkz) << "\n"
      << "Korrektur:";
  for (int8_t k : r.Korrektur) out << " " << int(k);
  out << "\nKanalTabelle:";
  for (uint8_t k : r.KanalTabelle) out << " " << hex2(k);
  out << "\n"
      << "InfoHersteller: " << r.InfoHersteller << "\n"
      << "InfoTyp: " << r.InfoTyp << "\n"
      << "InfoAusfuehrung: " << r.InfoAusfuehrung << "\n"
      << "InfoKommentar: " << r.InfoKommentar << "\n";
  rpmCurve(out, "Zündkurve 1", state.curve1);
  rpmCurve(out, "Zündkurve 2", state.curve2);
  pressureCurve(out, "Druckkurve 1", r, r.UnterDruckA);
  pressureCurve(out, "Druckkurve 2", r, r.UnterDruckB);
}

}  // namespace cli
