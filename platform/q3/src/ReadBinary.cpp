// ReadBinary.cpp: framing binary 3DMF (either byte order) into a Document.
//
// Objects are type, size, data, back to back with no alignment. A walk
// stops (keeping what it framed) at a size past its parent's end, at fewer
// than 8 bytes, or at a type code that is neither printable nor declared by
// a Type object: stale bytes after the last object look like that.
#include "Errors.h"
#include "ReadTree.h"

#include <cstring>
#include <unordered_set>

namespace q3::read {
namespace {

class BinaryFields : public Fields {
public:
  BinaryFields(const uint8_t *bytes, uint32_t begin, uint32_t end, bool little)
      : bytes_(bytes), pos_(begin), begin_(begin), end_(end), little_(little) {}

  bool u32(uint32_t &v) override { return number(v, 4); }
  bool i32(int32_t &v) override {
    uint32_t u;
    if (!number(u, 4)) return false;
    v = int32_t(u);
    return true;
  }
  bool f32(float &v) override {
    uint32_t u;
    if (!number(u, 4)) return false;
    std::memcpy(&v, &u, 4);
    return true;
  }
  bool uns(uint32_t &v, unsigned width) override {
    if (!number(v, width)) return false;
    if (width < 4 && v == (1u << (8 * width)) - 1) v = 0xFFFFFFFFu;
    return true;
  }
  bool enumeration(uint32_t &v, const Word *) override { return number(v, 4); }
  bool flags(uint32_t &v, const Word *) override { return number(v, 4); }
  bool raw(std::vector<uint8_t> &out, uint64_t n) override {
    const uint64_t padded = (n + 3) & ~uint64_t(3);
    if (n > end_ - pos_) return false;
    out.assign(bytes_ + pos_, bytes_ + pos_ + n);
    pos_ = padded > end_ - pos_ ? end_ : pos_ + uint32_t(padded); // missing tail padding is tolerated
    return true;
  }
  bool fits(uint64_t count, uint32_t bytes, uint32_t) const override { return count * bytes <= end_ - pos_; }
  bool binary() const override { return true; }
  uint32_t size() const override { return end_ - begin_; }
  bool atEnd() const override { return pos_ >= end_; }

private:
  bool number(uint32_t &v, unsigned width) {
    if (width == 0 || width > 4 || end_ - pos_ < width) return false;
    v = 0;
    for (unsigned i = 0; i < width; ++i) {
      const uint32_t b = bytes_[pos_ + (little_ ? width - 1 - i : i)];
      v = (v << 8) | b;
    }
    pos_ += width;
    return true;
  }

  const uint8_t *bytes_;
  uint32_t pos_, begin_, end_;
  bool little_;
};

class BinaryDocument : public Document {
public:
  BinaryDocument(const uint8_t *bytes, uint32_t size, bool little) : bytes_(bytes), little_(little) { (void)size; }
  std::unique_ptr<Fields> fields(const Node &node) const override {
    return std::make_unique<BinaryFields>(bytes_, node.begin, node.end, little_);
  }

  uint32_t word(uint32_t at) const {
    uint32_t v = 0;
    for (unsigned i = 0; i < 4; ++i) v = (v << 8) | bytes_[at + (little_ ? 3 - i : i)];
    return v;
  }
  uint64_t word64(uint32_t at) const {
    const uint64_t first = word(at), second = word(at + 4);
    return little_ ? (second << 32 | first) : (first << 32 | second);
  }

  void frame(uint32_t begin, uint32_t end, int depth, std::vector<Node> &out) {
    uint32_t pos = begin;
    while (pos < end) {
      if (end - pos < 8) {
        postError(kQ3ErrorInvalidMetafile); // a truncated or stale tail
        return;
      }
      const uint32_t type = word(pos), size = word(pos + 4);
      if (!plausible(type) || uint64_t(size) > end - pos - 8) {
        postError(kQ3ErrorInvalidMetafileObject);
        return;
      }
      Node node;
      node.type = type;
      node.where = pos;
      node.begin = pos + 8;
      node.end = pos + 8 + size;
      if (type == code("type") && size >= 4) declared_.insert(word(node.begin));
      if (type == code("cntr") || type == code("bgng")) {
        if (depth >= kMaxDepth)
          postError(kQ3ErrorInvalidMetafileObject); // kept childless: builds nothing
        else
          frame(node.begin, node.end, depth + 1, node.children);
      }
      out.push_back(std::move(node));
      pos = out.back().end;
    }
  }

  void index(const std::vector<Node> &sequence) {
    for (size_t i = 0; i < sequence.size(); ++i) {
      at_.emplace(sequence[i].where, Target{&sequence, i});
      index(sequence[i].children);
    }
  }

  // Reads the tables of contents: the header's chain and any at top level.
  void readTables(uint64_t first) {
    std::unordered_set<uint32_t> visited;
    std::vector<uint64_t> pending{first};
    for (const Node &n : top)
      if (n.type == code("toc ")) pending.push_back(n.where);
    while (!pending.empty()) {
      const uint64_t offset = pending.back();
      pending.pop_back();
      auto found = at_.find(offset > 0xFFFFFFFFu ? 0 : uint32_t(offset));
      if (offset == 0 || found == at_.end()) continue;
      const Node &toc = (*found->second.sequence)[found->second.index];
      if (toc.type != code("toc ") || !visited.insert(toc.where).second) continue;
      uint32_t refSeed, entryType, entrySize, count;
      int32_t typeSeed;
      BinaryFields f(bytes_, toc.begin, toc.end, little_);
      if (toc.end - toc.begin < 28) {
        postError(kQ3ErrorInvalidMetafileObject);
        continue;
      }
      const uint64_t next = word64(toc.begin);
      f.raw(scratch_, 8);
      if (!f.u32(refSeed) || !f.i32(typeSeed) || !f.u32(entryType) || !f.u32(entrySize) || !f.u32(count) ||
          (entrySize != 12 && entrySize != 16) || !f.fits(count, entrySize, 0)) {
        postError(kQ3ErrorInvalidMetafileObject);
        continue;
      }
      for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = toc.begin + 28 + i * entrySize;
        const uint32_t refID = word(at);
        const uint64_t location = word64(at + 4);
        auto target = at_.find(location > 0xFFFFFFFFu ? 0 : uint32_t(location));
        if (location == 0 || target == at_.end()) {
          postError(kQ3ErrorUnresolvableReference);
          continue;
        }
        references.emplace(refID, target->second); // the first entry of a refID wins
      }
      pending.push_back(next);
    }
  }

private:
  bool plausible(uint32_t type) const {
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t c = (type >> shift) & 0xFF;
      if (c < 0x20 || c > 0x7E) return declared_.count(type) != 0;
    }
    return true;
  }

  const uint8_t *bytes_;
  bool little_;
  std::unordered_set<uint32_t> declared_;
  std::unordered_map<uint32_t, Target> at_;
  std::vector<uint8_t> scratch_;
};

} // namespace

std::unique_ptr<Document> parseBinary(const uint8_t *bytes, uint32_t size) {
  if (size < 4) return nullptr;
  bool little;
  if (!std::memcmp(bytes, "3DMF", 4))
    little = false;
  else if (!std::memcmp(bytes, "FMD3", 4))
    little = true;
  else
    return nullptr;
  auto doc = std::make_unique<BinaryDocument>(bytes, size, little);
  if (size < 8) {
    postError(kQ3ErrorInvalidMetafile);
    return nullptr;
  }
  const uint32_t headerSize = doc->word(4);
  if (headerSize < 16 || headerSize > size - 8) {
    postError(kQ3ErrorInvalidMetafile);
    return nullptr;
  }
  const uint32_t flags = doc->word(12);
  doc->mode = (flags & (kQ3FileModeStream | kQ3FileModeDatabase)) | (little ? kQ3FileModeSwap : 0);
  const uint64_t tocLocation = doc->word64(16);
  doc->frame(8 + headerSize, size, 0, doc->top);
  doc->index(doc->top);
  doc->readTables(tocLocation);
  return doc;
}

} // namespace q3::read
