#include "viewers/common/xml_latin1.h"

#include <cstdint>
#include <sstream>

namespace viewers {

namespace {

// The next code point of UTF-8 text, or -1 for a malformed sequence (one
// byte is consumed then).
int32_t nextCodePoint(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (lead >= 0xF5) length = 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return -1;
  }
  int32_t value = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    uint8_t next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    value = (value << 6) | (next & 0x3F);
  }
  const int32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += static_cast<size_t>(length);
  return value;
}

bool isNameStart(int32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

bool isNameChar(int32_t c) {
  return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7;
}

// A name read from a foreign file may use characters that Latin-1 lacks and
// could then not be written back; those characters become "_".
void latin1Names(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element || child.type() == pugi::node_pi) {
      std::string_view name = child.name();
      std::string fixed;
      bool changed = false;
      for (size_t pos = 0; pos < name.size();) {
        size_t start = pos;
        int32_t c = nextCodePoint(name, pos);
        if (c < 0 || c > 0xFF) {
          fixed += '_';
          changed = true;
        } else {
          fixed.append(name.substr(start, pos - start));
        }
      }
      if (changed) child.set_name(fixed.c_str());
      for (pugi::xml_attribute a : child.attributes()) {
        std::string_view attributeName = a.name();
        if (!isStorableName(attributeName)) {
          std::string safe;
          for (size_t pos = 0; pos < attributeName.size();) {
            size_t start = pos;
            int32_t c = nextCodePoint(attributeName, pos);
            if (c < 0 || c > 0xFF) {
              safe += '_';
            } else {
              safe.append(attributeName.substr(start, pos - start));
            }
          }
          a.set_name(safe.c_str());
        }
      }
    }
    latin1Names(child);
  }
}

void ensureDeclaration(pugi::xml_document& document) {
  // A file taken over from elsewhere may declare UTF-8, spell "xml" in
  // another case or declare twice; the bytes written are Latin-1, and the one
  // declaration at the top has to say so.
  for (pugi::xml_node node = document.first_child(); node;) {
    pugi::xml_node next = node.next_sibling();
    if (node.type() == pugi::node_declaration) document.remove_child(node);
    node = next;
  }
  pugi::xml_node declaration = document.prepend_child(pugi::node_declaration);
  declaration.set_name("xml");
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "iso-8859-1";
}

}  // namespace

bool isValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    if (nextCodePoint(text, pos) < 0) return false;
  }
  return true;
}

std::string storableText(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    size_t start = pos;
    int32_t c = nextCodePoint(utf8, pos);
    if (c < 0) {
      text += '?';  // as the file would store it
    } else if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
      text.append(utf8.substr(start, pos - start));
    }
  }
  return text;
}

void dropLayoutText(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_pcdata &&
        std::string_view(child.value()).find_first_not_of(" \t\r\n") == std::string_view::npos) {
      node.remove_child(child);
    }
    child = next;
  }
}

bool isStorableName(std::string_view utf8) {
  if (utf8.empty()) return false;
  size_t pos = 0;
  bool first = true;
  while (pos < utf8.size()) {
    int32_t c = nextCodePoint(utf8, pos);
    if (c < 0 || !(first ? isNameStart(c) : isNameChar(c))) return false;
    first = false;
  }
  return true;
}

std::string latin1XmlText(pugi::xml_document& document) {
  ensureDeclaration(document);
  latin1Names(document);
  std::ostringstream utf8;
  // Line ends inside attribute values are written as references and so
  // survive; other control characters never get into the document.
  document.save(utf8, "  ", pugi::format_indent, pugi::encoding_utf8);
  const std::string text = utf8.str();
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    int32_t c = nextCodePoint(text, pos);
    if (c < 0) {
      out += '?';
    } else if (c <= 0xFF) {
      out += static_cast<char>(c);
    } else {
      out += "&#" + std::to_string(c) + ";";
    }
  }
  return out;
}

}  // namespace viewers
