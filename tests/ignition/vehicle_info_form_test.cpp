// Dialog 163's texts: what it shows and what "OK" takes into the record.
#include <gtest/gtest.h>

#include <string>

#include "modules/ignition/vehicle_info.h"

namespace {

using ignition::VehicleInfoForm;

TEST(VehicleInfoForm, OkTakesAtMost24CharactersAndLeavesTheCommentTheRest) {
  ignition::IgnitionRecord r;
  VehicleInfoForm f;
  f.maker = std::string(25, 'M');
  f.model = "Grünspecht Ärmel Öl 1234 5";  // 26 characters, 29 bytes
  f.variant = "Sport";
  // 24 + 24 + 5 used: 202 characters of comment with CR LF line ends.
  std::string comment;
  for (int i = 0; i < 30; ++i) comment += "Zeile\n";  // 7 each with CR
  f.comment = comment;
  ignition::takeVehicleInfo(r, f);
  EXPECT_EQ(r.InfoHersteller, std::string(24, 'M'));
  EXPECT_EQ(r.InfoTyp, "Grünspecht Ärmel Öl 1234");
  EXPECT_EQ(r.InfoAusfuehrung, "Sport");
  // 28 whole lines (196 characters with CR) and "Zeile" of the 29th (202).
  std::string expected;
  for (int i = 0; i < 28; ++i) expected += "Zeile\n";
  expected += "Zeile";
  EXPECT_EQ(r.InfoKommentar, expected);
}

TEST(VehicleInfoForm, ShowsTheTextsAndTheCommentThatFitsTheEdit) {
  ignition::IgnitionRecord r;
  r.InfoHersteller = "Zeb";
  r.InfoKommentar = "a\nb";
  VehicleInfoForm f = ignition::vehicleInfoForm(r);
  EXPECT_EQ(f.maker, "Zeb");
  EXPECT_EQ(f.comment, "a\nb");
  // 255 bytes of text fill the 256-byte buffer; a line end that needs a CR
  // then costs the last character.
  r.InfoKommentar = std::string(200, 'x') + "\n" + std::string(54, 'y');
  f = ignition::vehicleInfoForm(r);
  EXPECT_EQ(f.comment, std::string(200, 'x') + "\n" + std::string(53, 'y'));
}

}  // namespace
