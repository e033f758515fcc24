#include "modules/ignition/ignition_record.h"

namespace ignition {

void resetRecord(IgnitionRecord& r) {
  r.Zylinder = 4;
  r.Takte = 4;
  r.Ladezeit = 25;
  r.LadezeitUrsprung = 25;
  r.StartZeit = 3;
  r.limiterRpm = 9950;
  r.SchaltBlitz = 9950;
  r.Offset = 0;
  r.Versatz = 0;
  r.KwZaehne = 60;
  r.KwLuecke = 2;
  r.LogModus = 8;
  r.GeberModus = 0;
  r.Flags = r.FlagsB = r.FlagsC = r.FlagsD = 0;
  r.UnterDruckSensorF = 122;
  r.UnterDruckSensorC = 10;
  r.HwLimiter = {117, 3};
  r.LimiterZahl = 20;
  r.UHkz = 18;
  r.Korrektur.fill(0);
  for (PressureCurve* c : {&r.UnterDruckA, &r.UnterDruckB}) {
    c->pressure.fill(kEndOfCurve);
    c->angle.fill(0);
    c->pressure[0] = 0;
  }
  for (int i = 0; i < 8; ++i) r.KanalTabelle[i] = static_cast<uint8_t>(1u << i);
  r.HwTyp = 0;
  r.SerienNummer = 0;
  r.firmwareVersion = 0x702;
  r.firmwareVersionWord = 0x702;
  r.InfoHersteller.clear();
  r.InfoTyp.clear();
  r.InfoAusfuehrung.clear();
  r.InfoKommentar.clear();
  r.BetriebsDauer = 0;
  r.directModeActive = 0;
  r.pinLockedRead = 0;
  r.capability = CapabilityRow{};
  r.capability.channels = 8;
}

void deriveCapabilities(IgnitionRecord& r) {
  r.capability = capabilitiesForType(r.HwTyp);
}

void applyPlausibility(IgnitionRecord& r) {
  if (r.UnterDruckSensorF == 255 || r.UnterDruckSensorC == 255) {
    r.UnterDruckSensorF = 122;
    r.UnterDruckSensorC = 10;
  }
  if (r.LimiterZahl < 2 || r.LimiterZahl > 200) r.LimiterZahl = 20;
  if (r.Offset < -10 || r.Offset > 10) r.Offset = 0;
}

bool applyDirectMode(IgnitionRecord& r) {
  if (r.FlagsC & bits::kFlagsCDirectMode) {
    r.Flags &= bits::kFlagsInverted | bits::kFlagsLogging;
    r.FlagsB &= bits::kFlagsBInductive | bits::kFlagsBLocked;
    r.directModeActive = 1;
    return true;
  }
  r.directModeActive = 0;
  return false;
}

}  // namespace ignition
