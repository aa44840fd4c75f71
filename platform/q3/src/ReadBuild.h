// ReadBuild.h: making q3 objects from a framed 3DMF Document.
//
// The one place that knows what each object type means, for both
// encodings: it reads fields through Fields (ReadTree.h) and makes groups,
// geometries, attribute sets, shaders, textures, transforms and styles.
// Containers give their root the children that modify it; BeginGroup takes
// the following siblings up to its EndGroup. References resolve through the
// tables of contents; an object named by a table is made once and shared,
// and a reference back into an object still being made is dropped (cycle).
// Unknown types give no object and no error; damaged data gives no object
// and posts one. Nesting is limited to kMaxDepth.
#pragma once

#include "Object.h"
#include "ReadTree.h"

#include <unordered_map>
#include <unordered_set>

namespace q3::read {

class Builder {
public:
  explicit Builder(const Document &doc);
  // The next object from top-level entry `index` on, advancing `index` past
  // what it used (always at least one entry); empty at the end.
  Ref<Object> next(size_t &index);
  bool atEnd(size_t index) const { return index >= doc_.top.size(); }

private:
  friend struct Kinds;
  Ref<Object> build(const Node &node, int depth);
  Ref<Object> group(const std::vector<Node> &sequence, size_t &index, int depth);
  Ref<Object> resolve(const Node &reference, int depth);
  Ref<Object> buildKind(const Node &root, const Node *mods, size_t modCount, int depth);

  const Document &doc_;
  std::unordered_set<const Node *> targets_;
  std::unordered_set<const Node *> resolving_;
  std::unordered_map<const Node *, Ref<Object>> cache_;
};

} // namespace q3::read
