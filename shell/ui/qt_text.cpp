#include "shell/ui/qt_text.h"

#include "texts/text_table.h"

namespace shell {

QString qtText(int32_t textId) {
  const std::string_view t = texts::text(textId);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

}  // namespace shell
