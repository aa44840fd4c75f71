// reader_support.h: writes small 3DMF files, text and binary, from one
// description, so each test states an object once and reads it both ways.
#pragma once

#include "Q3.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace mf {

struct Field {
  enum Kind { U32, I32, F32, UNS, WORD, RAW, POINTER } kind;
  double number = 0;
  unsigned width = 4;
  std::string text; // WORD: the text form; POINTER: the label
  std::vector<uint8_t> bytes;
};
inline Field make(Field::Kind kind, double number, unsigned width = 4, std::string text = {},
                  std::vector<uint8_t> bytes = {}) {
  Field fl{kind, number, width, std::move(text), std::move(bytes)};
  return fl;
}
inline Field u(uint32_t v) { return make(Field::U32, double(v)); }
inline Field i(int32_t v) { return make(Field::I32, double(v)); }
inline Field f(double v) { return make(Field::F32, v); }
inline Field idx(uint32_t v, unsigned width) { return make(Field::UNS, double(v), width); }
inline Field w(const char *word, uint32_t value) { return make(Field::WORD, double(value), 4, word); }
inline Field raw(std::vector<uint8_t> b) { return make(Field::RAW, 0, 4, "", std::move(b)); }
inline Field ptr(const char *label) { return make(Field::POINTER, 0, 4, label); }

struct Obj {
  std::string name; // text name
  std::string code; // four characters
  std::vector<Field> fields;
  std::vector<Obj> children;
  std::string label;
};

inline Obj obj(std::string name, std::string code, std::vector<Field> fields = {}) {
  return {std::move(name), std::move(code), std::move(fields), {}, {}};
}
inline Obj container(std::vector<Obj> children) { return {"Container", "cntr", {}, std::move(children), {}}; }
inline Obj labelled(std::string label, Obj o) {
  o.label = std::move(label);
  return o;
}
inline std::vector<Field> point(double x, double y, double z) { return {f(x), f(y), f(z)}; }
inline std::vector<Field> join(std::initializer_list<std::vector<Field>> parts) {
  std::vector<Field> out;
  for (const auto &p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Binary writer. Table of contents objects (code "toc ") list their
// entries as U32 refID + POINTER label; the writer fills in offsets.
class Binary {
public:
  explicit Binary(bool little = false) : little_(little) {}
  std::vector<uint8_t> file(const std::vector<Obj> &objects, uint32_t minor = 6) {
    out_.clear();
    put4("3DMF");
    word(16);
    word((1u << 16) | minor, 0); // major, minor as two 16-bit fields
    word(0);
    word(0);
    word(0); // no table of contents pointer
    for (const Obj &o : objects) write(o);
    return out_;
  }

private:
  void put4(const std::string &c) {
    for (int k = 0; k < 4; ++k) out_.push_back(uint8_t(c[little_ ? 3 - k : k]));
  }
  void word(uint32_t v, int = 0) { bytes(v, 4); }
  void bytes(uint64_t v, unsigned n) {
    for (unsigned k = 0; k < n; ++k) out_.push_back(uint8_t(v >> (8 * (little_ ? k : n - 1 - k))));
  }
  void write(const Obj &o) {
    if (!o.label.empty()) labels_[o.label] = uint32_t(out_.size());
    put4(o.code);
    const size_t sizeAt = out_.size();
    word(0);
    const size_t start = out_.size();
    if (o.code == "toc ") {
      // nextTOC (0), refSeed, typeSeed, entry type 1, size 16, count, entries
      bytes(0, 8);
      const uint32_t entries = uint32_t(o.fields.size() / 2);
      word(entries + 1), word(uint32_t(-1)), word(1), word(16), word(entries);
      for (size_t k = 0; k + 1 < o.fields.size(); k += 2) {
        word(uint32_t(o.fields[k].number));
        bytes(labels_.count(o.fields[k + 1].text) ? labels_[o.fields[k + 1].text] : 0x7FFFFFF0u, 8);
        put4("cntr");
      }
    } else {
      for (const Field &fl : o.fields) field(fl);
      for (const Obj &c : o.children) write(c);
    }
    const uint32_t size = uint32_t(out_.size() - start);
    for (unsigned k = 0; k < 4; ++k) out_[sizeAt + k] = uint8_t(size >> (8 * (little_ ? k : 3 - k)));
  }
  void field(const Field &fl) {
    switch (fl.kind) {
    case Field::U32:
    case Field::WORD: word(uint32_t(fl.number)); break;
    case Field::I32: word(uint32_t(int32_t(fl.number))); break;
    case Field::F32: {
      const float v = float(fl.number);
      uint32_t bits;
      std::memcpy(&bits, &v, 4);
      word(bits);
      break;
    }
    case Field::UNS: bytes(uint32_t(fl.number), fl.width); break;
    case Field::RAW:
      out_.insert(out_.end(), fl.bytes.begin(), fl.bytes.end());
      out_.insert(out_.end(), (4 - fl.bytes.size() % 4) % 4, uint8_t(0));
      break;
    case Field::POINTER: bytes(0, 8); break;
    }
  }
  bool little_;
  std::vector<uint8_t> out_;
  std::map<std::string, uint32_t> labels_;
};

inline std::string number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

inline void writeText(const Obj &o, std::string &out, int indent) {
  out += std::string(size_t(indent), ' ');
  if (!o.label.empty()) out += o.label + ":\n" + std::string(size_t(indent), ' ');
  out += o.name + " (";
  if (o.code == "toc ") {
    const size_t entries = o.fields.size() / 2;
    out += " nil> " + std::to_string(entries + 1) + " -1 1 16 " + std::to_string(entries);
  }
  for (const Field &fl : o.fields) {
    out += ' ';
    switch (fl.kind) {
    case Field::U32:
    case Field::I32:
    case Field::UNS: out += std::to_string(int64_t(fl.number)); break;
    case Field::F32: out += number(fl.number); break;
    case Field::WORD: out += fl.text; break;
    case Field::POINTER: out += fl.text + ">"; break;
    case Field::RAW: {
      // Split over several tokens, as long blocks are in real files.
      for (size_t k = 0; k < fl.bytes.size(); k += 8) {
        out += k ? "\n  0x" : "0x";
        for (size_t j = k; j < fl.bytes.size() && j < k + 8; ++j) {
          char hex[3];
          std::snprintf(hex, sizeof hex, "%02X", fl.bytes[j]);
          out += hex;
        }
      }
      break;
    }
    }
  }
  if (!o.children.empty()) out += "\n";
  for (const Obj &c : o.children) writeText(c, out, indent + 2);
  if (!o.children.empty()) out += std::string(size_t(indent), ' ');
  out += " )\n";
}

inline std::vector<uint8_t> text(const std::vector<Obj> &objects) {
  std::string out = "3DMetafile ( 1 6 Normal nil> )\n# written by the q3 tests\n";
  for (const Obj &o : objects) writeText(o, out, 0);
  return {out.begin(), out.end()};
}

// Reads every object of a 3DMF file the way the plugin does; the caller
// disposes them.
inline std::vector<TQ3Object> readAll(const std::vector<uint8_t> &bytes, TQ3FileMode *mode = nullptr) {
  std::vector<TQ3Object> out;
  TQ3FileObject file = Q3File_New();
  TQ3StorageObject storage = Q3MemoryStorage_NewBuffer(const_cast<unsigned char *>(bytes.data()),
                                                       TQ3Uns32(bytes.size()), TQ3Uns32(bytes.size()));
  Q3File_SetStorage(file, storage);
  Q3Object_Dispose(storage);
  TQ3FileMode m = 0;
  Q3File_OpenRead(file, &m);
  if (mode) *mode = m;
  for (int guard = 0; Q3File_IsEndOfFile(file) == kQ3False; ++guard) {
    if (guard > 1000000) {
      ADD_FAILURE() << "the reading loop does not end";
      break;
    }
    if (TQ3Object o = Q3File_ReadObject(file)) out.push_back(o);
  }
  if (Q3File_IsOpen(file)) Q3File_Close(file);
  Q3Object_Dispose(file);
  return out;
}

inline void disposeAll(std::vector<TQ3Object> &objects) {
  for (TQ3Object o : objects) Q3Object_Dispose(o);
  objects.clear();
}

} // namespace mf
