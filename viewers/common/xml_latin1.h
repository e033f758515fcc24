#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace viewers {

// An element or attribute name that an ISO-8859-1 file can hold and every
// XML reader accepts: letters of Latin-1, "_", then also digits, "-", "."
// and the middle dot. No ":" (namespaces) and nothing empty.
bool isStorableName(std::string_view utf8);

bool isValidUtf8(std::string_view text);

// The text as the file will hold it: without the control characters XML 1.0
// cannot hold (all below a blank except TAB, LF and CR), and with "?" for
// each byte that is no part of well-formed UTF-8.
std::string storableText(std::string_view utf8);

// Blank text beside child elements is layout to every reader, ours
// included; once an element gets its first child, such text would be gone
// at the next start, so it is dropped before a child is added.
void dropLayoutText(pugi::xml_node node);

// The document as the settings file stores it: an ISO-8859-1 declaration,
// indentation, and every character beyond Latin-1 in a text or value as a
// character reference, so nothing is lost in the 8-bit file.
std::string latin1XmlText(pugi::xml_document& document);

}  // namespace viewers
