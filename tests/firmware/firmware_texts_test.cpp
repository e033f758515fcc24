// The firmware file's messages as the user reads them.
#include <gtest/gtest.h>

#include "texts/firmware_text_ids.h"
#include "texts/text_table.h"

namespace {

TEST(FirmwareTexts, EveryResultHasItsText) {
  const struct {
    int32_t id;
    const char* text;
  } cases[] = {
      {texts::kTextInvalidBaudRate, "ungültige Baudrate"},
      {texts::kTextWrongFileVersion, "falsche Datei-Version"},
      {texts::kTextFileHeaderError, "Fehler im Datei-Header"},
      {texts::kTextFileChecksumWrong, "Checksumme in der Datei fehlerhaft."},
      {texts::kTextSeveralFamilies,
       "Mehr als eine Gerätenfamilie in Datei.\nBitte ZEB kontaktieren."},
      {texts::kTextFirmwareFileLength, "Programmierdatei hat falsche Länge"},
      {texts::kTextNoFirmwareForModule,
       "Keine Firmware für dieses Modul in der Programmierdatei gefunden."},
  };
  for (const auto& c : cases) EXPECT_EQ(texts::text(c.id), c.text) << c.id;
}

}  // namespace
