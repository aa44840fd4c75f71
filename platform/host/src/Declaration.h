// Declaration.h: parses the host-language declarations a plugin registers,
// such as "Item(idx as Integer) as Object3D" or "GetPicture as Picture".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct Parameter {
  std::string name;
  std::string type;
};

struct Declaration {
  std::string text;
  std::string name;
  std::vector<Parameter> params;
  std::string result; // empty: no result
};

// The declaration, or nothing when the text is not one.
std::optional<Declaration> parseDeclaration(const std::string &text);

// Case-insensitive comparison, as the host language compares names.
bool sameName(const std::string &a, const std::string &b);

} // namespace host
