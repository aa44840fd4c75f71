#include "Declaration.h"

#include <cctype>

namespace host {

bool sameName(const std::string &a, const std::string &b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

namespace {
struct Lexer {
  const std::string &s;
  size_t at = 0;
  void space() {
    while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at]))) ++at;
  }
  std::string word() {
    space();
    size_t start = at;
    while (at < s.size() && (std::isalnum(static_cast<unsigned char>(s[at])) || s[at] == '_')) ++at;
    return s.substr(start, at - start);
  }
  bool take(char c) {
    space();
    if (at < s.size() && s[at] == c) return ++at, true;
    return false;
  }
  bool done() {
    space();
    return at == s.size();
  }
  // "as Type"
  bool typeClause(std::string &type) {
    size_t mark = at;
    if (!sameName(word(), "as")) return at = mark, false;
    type = word();
    return !type.empty();
  }
};
} // namespace

std::optional<Declaration> parseDeclaration(const std::string &text) {
  Declaration d;
  d.text = text;
  Lexer lex{text};
  d.name = lex.word();
  if (d.name.empty() || std::isdigit(static_cast<unsigned char>(d.name[0]))) return std::nullopt;
  if (lex.take('(')) {
    if (!lex.take(')')) {
      do {
        Parameter p;
        p.name = lex.word();
        if (p.name.empty() || !lex.typeClause(p.type)) return std::nullopt;
        d.params.push_back(p);
      } while (lex.take(','));
      if (!lex.take(')')) return std::nullopt;
    }
  }
  if (!lex.done() && !lex.typeClause(d.result)) return std::nullopt;
  if (!lex.done()) return std::nullopt;
  return d;
}

} // namespace host
