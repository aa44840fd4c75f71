// ReadTree.h: what the binary and the text 3DMF parsers share with the
// object builder (ReadBuild.h).
//
// A parser turns the whole file into a Document: a tree of Nodes that frames
// every object (type code, where its data lies, the children of containers
// and BeginGroups) without interpreting data, plus the references of the
// tables of contents. The builder then reads each object's data in field
// order through a Fields reader, which hides the encoding: binary fields are
// big- or little-endian numbers, text fields are tokens. Every read is
// bounds-checked and fails instead of running past the object.
#pragma once

#include "Q3Storage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace q3::read {

constexpr uint32_t code(const char (&s)[5]) {
  return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
         uint32_t(uint8_t(s[3]));
}

// Nesting of containers and groups beyond this is refused.
constexpr int kMaxDepth = 64;

struct Node {
  uint32_t type = 0;           // four-character code; 0 for a text name q3 does not know
  uint32_t where = 0;          // binary: offset of the type code; text: token of the name
  uint32_t begin = 0, end = 0; // the data: bytes (binary) or tokens (text)
  std::vector<Node> children;  // containers (root first) and BeginGroups
};

// Symbolic words of enumerations and flags in text.
struct Word {
  const char *name;
  uint32_t value;
};

class Fields {
public:
  virtual ~Fields() = default;
  virtual bool u32(uint32_t &v) = 0;
  virtual bool i32(int32_t &v) = 0;
  virtual bool f32(float &v) = 0;
  // An index or count of `width` bytes in binary (all-ones reads as
  // 0xFFFFFFFF); a plain integer in text.
  virtual bool uns(uint32_t &v, unsigned width) = 0;
  // An enumeration (text: one word of `words`, or a number); flags (text:
  // words joined by |). `words` ends with a null name.
  virtual bool enumeration(uint32_t &v, const Word *words) = 0;
  virtual bool flags(uint32_t &v, const Word *words) = 0;
  // n raw bytes (binary: padded to 4; text: 0x tokens).
  virtual bool raw(std::vector<uint8_t> &out, uint64_t n) = 0;
  // Whether `count` more elements can still be there, each `bytes` long in
  // binary or made of `values` tokens in text. Check before allocating.
  virtual bool fits(uint64_t count, uint32_t bytes, uint32_t values) const = 0;
  virtual bool binary() const = 0;
  // Binary: the object's data size in bytes.
  virtual uint32_t size() const = 0;
  virtual bool atEnd() const = 0;
};

bool boolean(Fields &f, bool &v);
bool point3(Fields &f, TQ3Point3D &p);
bool vector3(Fields &f, TQ3Vector3D &v);

class Document {
public:
  virtual ~Document() = default;
  virtual std::unique_ptr<Fields> fields(const Node &node) const = 0;

  // Where an object named by a table of contents lies: entry `index` of
  // `sequence` (a BeginGroup's members follow it there).
  struct Target {
    const std::vector<Node> *sequence;
    size_t index;
  };

  TQ3FileMode mode = kQ3FileModeNormal;
  std::vector<Node> top;
  std::unordered_map<uint32_t, Target> references; // refID -> object
};

// Null when the bytes do not start like that encoding (nothing posted);
// otherwise as much of the file as could be framed, errors posted for the rest.
std::unique_ptr<Document> parseBinary(const uint8_t *bytes, uint32_t size);
std::unique_ptr<Document> parseText(const uint8_t *bytes, uint32_t size);

// Type code of a text object name (case and spaces ignored), 0 if unknown.
uint32_t codeOfName(const std::string &name);

} // namespace q3::read
