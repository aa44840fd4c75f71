// ReadText.cpp: tokenizing and framing text 3DMF into a Document.
//
// Tokens: words, numbers, strings, 0x hex blocks, labels (name:), pointers
// (name>), parentheses and |. Commas are white space, # starts a comment.
// Every object is Name ( ... ); Container and BeginGroup hold objects, all
// others hold fields, and an unknown name is skipped to its matching
// parenthesis. Damage (a stray token, an unclosed object or string) posts an
// error and the walk goes on past it, so framing always ends.
#include "Errors.h"
#include "ReadTree.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace q3::read {
namespace {

struct NamedCode {
  const char *name;
  const char code[5];
};
const NamedCode kNames[] = {
    {"3dmetafile", "3DMF"},
    {"container", "cntr"},
    {"begingroup", "bgng"},
    {"endgroup", "endg"},
    {"displaygroup", "dspg"},
    {"ordereddisplaygroup", "ordg"},
    {"lightgroup", "lghg"},
    {"infogroup", "info"},
    {"group", "grup"},
    {"displaygroupstate", "dgst"},
    {"tableofcontents", "toc "},
    {"reference", "rfrn"},
    {"type", "type"},
    {"unknownbinary", "ukbn"},
    {"unknowntext", "uktx"},
    {"trimesh", "tmsh"},
    {"attributearray", "atar"},
    {"point", "pnt "},
    {"line", "line"},
    {"polyline", "plin"},
    {"triangle", "trng"},
    {"polygon", "plyg"},
    {"generalpolygon", "gpgn"},
    {"generalpolygonhint", "gplh"},
    {"box", "box "},
    {"trigrid", "trig"},
    {"mesh", "mesh"},
    {"polyhedron", "plhd"},
    {"ellipse", "elps"},
    {"disk", "disk"},
    {"ellipsoid", "elpd"},
    {"cylinder", "cyln"},
    {"cone", "cone"},
    {"torus", "tors"},
    {"marker", "mrkr"},
    {"caps", "caps"},
    {"topcapattributeset", "tcas"},
    {"bottomcapattributeset", "bcas"},
    {"facecapattributeset", "fcas"},
    {"surfaceuv", "sruv"},
    {"shadinguv", "shuv"},
    {"normal", "nrml"},
    {"ambientcoefficient", "camb"},
    {"diffusecolor", "kdif"},
    {"specularcolor", "kspc"},
    {"specularcontrol", "cspc"},
    {"transparencycolor", "kxpr"},
    {"highlightstate", "hlst"},
    {"attributeset", "attr"},
    {"vertexattributesetlist", "vasl"},
    {"faceattributesetlist", "fasl"},
    {"geometryattributesetlist", "gasl"},
    {"textureshader", "txsu"},
    {"shaderdata", "shdr"},
    {"shader", "shdr"},
    {"shadertransform", "sdxf"},
    {"shaderuvtransform", "sduv"},
    {"lambertillumination", "lmil"},
    {"phongillumination", "phil"},
    {"nullillumination", "nuil"},
    {"mipmaptexture", "txmm"},
    {"pixmaptexture", "txpm"},
    {"translate", "trns"},
    {"scale", "scal"},
    {"rotate", "rott"},
    {"rotateaboutpoint", "rtap"},
    {"rotateaboutaxis", "rtaa"},
    {"quaternion", "qtrn"},
    {"matrix", "mtrx"},
    {"reset", "rset"},
    {"backfacingstyle", "bckf"},
    {"interpolationstyle", "intp"},
    {"fillstyle", "fist"},
    {"orientationstyle", "ornt"},
    {"pickidstyle", "pkid"},
    {"fogstyle", "fogg"},
    {"subdivisionstyle", "sbdv"},
    {"pickpartsstyle", "pkpt"},
};

enum class Kind : uint8_t { Word, Number, String, Hex, Label, Pointer, Open, Close, Pipe };
struct Token {
  Kind kind;
  uint32_t begin, length; // in the source, without the : or > of labels and pointers
};

bool equalNoCase(const char *a, size_t n, const char *b) {
  if (std::strlen(b) != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i]))) return false;
  return true;
}

class TextDocument;

class TextFields : public Fields {
public:
  TextFields(const TextDocument &doc, uint32_t begin, uint32_t end)
      : doc_(doc), pos_(begin), begin_(begin), end_(end) {}
  bool u32(uint32_t &v) override {
    int64_t i;
    if (!integer(i) || i < -1 || i > 0xFFFFFFFFll) return false;
    v = uint32_t(i); // -1 is the all-ones "none" index
    return true;
  }
  bool i32(int32_t &v) override {
    int64_t i;
    if (!integer(i) || i < INT32_MIN || i > 0xFFFFFFFFll) return false;
    v = int32_t(uint32_t(i));
    return true;
  }
  bool f32(float &v) override;
  bool uns(uint32_t &v, unsigned) override { return u32(v); }
  bool enumeration(uint32_t &v, const Word *words) override;
  bool flags(uint32_t &v, const Word *words) override;
  bool raw(std::vector<uint8_t> &out, uint64_t n) override;
  bool fits(uint64_t count, uint32_t, uint32_t values) const override { return count * values <= end_ - pos_; }
  bool binary() const override { return false; }
  uint32_t size() const override { return end_ - begin_; }
  bool atEnd() const override { return pos_ >= end_; }

private:
  bool integer(int64_t &v);
  const Token *take(Kind kind) {
    if (pos_ >= end_) return nullptr;
    const Token *t = &tokenAt(pos_);
    if (t->kind != kind) return nullptr;
    ++pos_;
    return t;
  }
  const Token &tokenAt(uint32_t i) const;
  const char *text(const Token &t) const;

  const TextDocument &doc_;
  uint32_t pos_, begin_, end_;
};

class TextDocument : public Document {
public:
  TextDocument(const uint8_t *bytes, uint32_t size) : src_(reinterpret_cast<const char *>(bytes)), size_(size) {}
  std::unique_ptr<Fields> fields(const Node &node) const override {
    return std::make_unique<TextFields>(*this, node.begin, node.end);
  }
  const char *src() const { return src_; }
  std::vector<Token> tokens;

  void tokenize() {
    uint32_t i = 0;
    bool complained = false;
    auto complain = [&] {
      if (!complained) postError(kQ3ErrorInvalidMetafilePrimitive);
      complained = true;
    };
    while (i < size_) {
      const char c = src_[i];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == '\v' || c == '\f') {
        ++i;
      } else if (c == '#') {
        while (i < size_ && src_[i] != '\n' && src_[i] != '\r') ++i;
      } else if (c == '(' || c == ')' || c == '|') {
        tokens.push_back({c == '(' ? Kind::Open : c == ')' ? Kind::Close : Kind::Pipe, i, 1});
        ++i;
      } else if (c == '"') {
        uint32_t j = i + 1;
        while (j < size_ && src_[j] != '"') j += (src_[j] == '\\') ? 2 : 1;
        if (j >= size_) {
          complain(); // unterminated: the rest of the file is its content
          return;
        }
        tokens.push_back({Kind::String, i + 1, j - i - 1});
        i = j + 1;
      } else if (c == '0' && i + 1 < size_ && (src_[i + 1] == 'x' || src_[i + 1] == 'X')) {
        uint32_t j = i + 2;
        while (j < size_ && std::isxdigit(uint8_t(src_[j]))) ++j;
        tokens.push_back({Kind::Hex, i + 2, j - i - 2});
        i = j;
      } else if (c == '3' && size_ - i >= 10 && equalNoCase(src_ + i, 10, "3DMetafile")) {
        tokens.push_back({Kind::Word, i, 10}); // the one name that starts with a digit
        i += 10;
      } else if (std::isdigit(uint8_t(c)) || c == '-' || c == '+' || c == '.') {
        uint32_t j = i + 1;
        while (j < size_ && (std::isalnum(uint8_t(src_[j])) || src_[j] == '.' || src_[j] == '-' || src_[j] == '+')) ++j;
        tokens.push_back({Kind::Number, i, j - i});
        i = j;
      } else if (std::isalpha(uint8_t(c)) || c == '_') {
        uint32_t j = i + 1;
        while (j < size_ && (std::isalnum(uint8_t(src_[j])) || src_[j] == '_')) ++j;
        Kind kind = Kind::Word;
        if (j < size_ && src_[j] == ':')
          kind = Kind::Label;
        else if (j < size_ && src_[j] == '>')
          kind = Kind::Pointer;
        tokens.push_back({kind, i, j - i});
        i = kind == Kind::Word ? j : j + 1;
      } else {
        complain();
        ++i;
      }
    }
  }

  // The position of the ')' matching the '(' at `open`, or the end.
  uint32_t matchingClose(uint32_t open) const {
    int level = 0;
    for (uint32_t i = open; i < tokens.size(); ++i) {
      if (tokens[i].kind == Kind::Open)
        ++level;
      else if (tokens[i].kind == Kind::Close && --level == 0)
        return i;
    }
    return uint32_t(tokens.size());
  }

  // Frames objects from `pos` up to a ')' (when `inside`) or the end.
  // Returns the position of that ')' or the end.
  uint32_t frame(uint32_t pos, int depth, bool inside, std::vector<Node> &out) {
    uint32_t label = 0;
    while (pos < tokens.size()) {
      const Token &t = tokens[pos];
      if (t.kind == Kind::Close) {
        if (inside) return pos;
        postError(kQ3ErrorInvalidMetafileObject);
        ++pos;
        continue;
      }
      if (t.kind == Kind::Label) {
        label = pos + 1;
        ++pos;
        continue;
      }
      // A name may be split by spaces ("Display Group"): words up to the '('.
      uint32_t open = pos;
      std::string name;
      while (open < tokens.size() && tokens[open].kind == Kind::Word && open - pos < 4) {
        name.append(src_ + tokens[open].begin, tokens[open].length);
        ++open;
      }
      if (name.empty() || open >= tokens.size() || tokens[open].kind != Kind::Open) {
        postError(kQ3ErrorInvalidMetafileObject);
        pos = name.empty() ? pos + 1 : open;
        label = 0;
        continue;
      }
      Node node;
      node.type = codeOfName(name);
      node.where = pos;
      node.begin = open + 1;
      if ((node.type == code("cntr") || node.type == code("bgng")) && depth < kMaxDepth) {
        const uint32_t close = frame(open + 1, depth + 1, true, node.children);
        if (close >= tokens.size()) postError(kQ3ErrorInvalidMetafileObject);
        node.end = close;
        pos = close + 1;
      } else {
        if (node.type == code("cntr") || node.type == code("bgng")) {
          postError(kQ3ErrorInvalidMetafileObject); // too deep: skipped whole
          node.type = 0;
        }
        node.end = matchingClose(open);
        if (node.end >= tokens.size()) postError(kQ3ErrorInvalidMetafileObject);
        pos = node.end + 1;
      }
      if (label) labels_.push_back({label - 1, node.where});
      out.push_back(std::move(node));
      label = 0;
    }
    if (inside) postError(kQ3ErrorInvalidMetafileObject);
    return uint32_t(tokens.size());
  }

  static void index(const std::vector<Node> &sequence, std::unordered_map<uint32_t, Target> &at) {
    for (size_t i = 0; i < sequence.size(); ++i) {
      at.emplace(sequence[i].where, Target{&sequence, i});
      index(sequence[i].children, at);
    }
  }

  std::string textOf(uint32_t token) const { return std::string(src_ + tokens[token].begin, tokens[token].length); }

  // Table of contents: nextTOC refSeed typeSeed entryType entrySize count,
  // then per entry: refID label> [type name].
  void readTables() {
    // The tree is complete now, so addresses of its vectors hold.
    std::unordered_map<uint32_t, Target> at;
    index(top, at);
    std::unordered_map<std::string, Target> byLabel;
    for (const auto &[token, where] : labels_) {
      if (!byLabel.emplace(textOf(token), at.at(where)).second) postError(kQ3ErrorNonUniqueLabel);
    }
    for (const Node &n : top) {
      if (n.type != code("toc ")) continue;
      uint32_t pos = n.begin;
      auto number = [&](int64_t &v) {
        if (pos >= n.end || tokens[pos].kind != Kind::Number) return false;
        char buf[32];
        const uint32_t len = tokens[pos].length < 31 ? tokens[pos].length : 31;
        std::memcpy(buf, src_ + tokens[pos].begin, len);
        buf[len] = 0;
        char *endp;
        v = std::strtoll(buf, &endp, 10);
        ++pos;
        return *endp == 0;
      };
      if (pos < n.end && tokens[pos].kind == Kind::Pointer) ++pos;
      int64_t header[5], count = 0;
      bool ok = true;
      for (int64_t &h : header) ok = ok && number(h);
      count = header[4];
      if (!ok || count < 0 || count > int64_t(n.end - pos)) {
        postError(kQ3ErrorInvalidMetafileObject);
        continue;
      }
      for (int64_t e = 0; e < count && pos < n.end; ++e) {
        int64_t refID;
        if (!number(refID) || pos >= n.end || tokens[pos].kind != Kind::Pointer) {
          postError(kQ3ErrorInvalidMetafileObject);
          break;
        }
        auto found = byLabel.find(textOf(pos));
        ++pos;
        if (pos < n.end && tokens[pos].kind == Kind::Word) ++pos; // the type name of 16-byte entries
        if (found == byLabel.end()) {
          postError(kQ3ErrorUnresolvableReference);
          continue;
        }
        references.emplace(uint32_t(refID), found->second);
      }
    }
  }

private:
  const char *src_;
  uint32_t size_;
  std::vector<std::pair<uint32_t, uint32_t>> labels_; // label token, name token of its object
};

const Token &TextFields::tokenAt(uint32_t i) const { return doc_.tokens[i]; }
const char *TextFields::text(const Token &t) const { return doc_.src() + t.begin; }

bool TextFields::integer(int64_t &v) {
  if (pos_ >= end_) return false;
  const Token &t = tokenAt(pos_);
  if ((t.kind != Kind::Number && t.kind != Kind::Hex) || t.length == 0 || t.length > 24) return false;
  char buf[32];
  std::memcpy(buf, text(t), t.length);
  buf[t.length] = 0;
  char *endp;
  errno = 0;
  v = std::strtoll(buf, &endp, t.kind == Kind::Hex ? 16 : 10);
  if (*endp || errno) return false;
  ++pos_;
  return true;
}

bool TextFields::f32(float &v) {
  if (pos_ >= end_) return false;
  const Token &t = tokenAt(pos_);
  if (t.kind != Kind::Number || t.length == 0 || t.length > 64) return false;
  char buf[72];
  std::memcpy(buf, text(t), t.length);
  buf[t.length] = 0;
  char *endp;
  const double d = std::strtod(buf, &endp);
  if (*endp) return false;
  v = float(d);
  ++pos_;
  return true;
}

bool TextFields::enumeration(uint32_t &v, const Word *words) {
  if (pos_ < end_ && tokenAt(pos_).kind == Kind::Word) {
    const Token &t = tokenAt(pos_);
    for (const Word *w = words; w && w->name; ++w)
      if (equalNoCase(text(t), t.length, w->name)) {
        v = w->value;
        ++pos_;
        return true;
      }
    return false;
  }
  return u32(v);
}

bool TextFields::flags(uint32_t &v, const Word *words) {
  v = 0;
  do {
    uint32_t one;
    if (!enumeration(one, words)) return false;
    v |= one;
  } while (take(Kind::Pipe));
  return true;
}

bool TextFields::raw(std::vector<uint8_t> &out, uint64_t n) {
  out.clear();
  while (out.size() < n) {
    const Token *t = take(Kind::Hex);
    if (!t || t->length % 2 || out.size() + t->length / 2 > n) return false;
    for (uint32_t i = 0; i < t->length; i += 2) {
      char pair[3] = {text(*t)[i], text(*t)[i + 1], 0};
      out.push_back(uint8_t(std::strtoul(pair, nullptr, 16)));
    }
  }
  return true;
}

} // namespace

uint32_t codeOfName(const std::string &name) {
  for (const NamedCode &n : kNames)
    if (equalNoCase(name.data(), name.size(), n.name)) return code(n.code);
  return 0;
}

std::unique_ptr<Document> parseText(const uint8_t *bytes, uint32_t size) {
  auto doc = std::make_unique<TextDocument>(bytes, size);
  // Cheap check first: the first word must be 3DMetafile.
  uint32_t i = 0;
  const char *s = reinterpret_cast<const char *>(bytes);
  while (i < size) {
    if (std::isspace(uint8_t(s[i])) || s[i] == ',')
      ++i;
    else if (s[i] == '#')
      while (i < size && s[i] != '\n' && s[i] != '\r') ++i;
    else
      break;
  }
  if (size - i < 10 || !equalNoCase(s + i, 10, "3DMetafile")) return nullptr;
  doc->tokenize();
  doc->mode = kQ3FileModeText;
  // The header stays first among the top-level nodes; it makes no object.
  doc->frame(0, 0, false, doc->top);
  if (doc->top.empty() || doc->top.front().type != code("3DMF")) {
    postError(kQ3ErrorInvalidMetafile);
    return nullptr;
  }
  static const Word kModes[] = {{"Normal", 0}, {"Stream", 1}, {"Database", 2}, {nullptr, 0}};
  auto header = doc->fields(doc->top.front());
  uint32_t major, minor, flags = 0;
  if (header->u32(major) && header->u32(minor) && header->flags(flags, kModes))
    doc->mode |= flags & (kQ3FileModeStream | kQ3FileModeDatabase);
  doc->readTables();
  return doc;
}

} // namespace q3::read
