// File.h: the file object that reads 3DMF from a storage.
//
// A File holds its storage (Q3File_SetStorage). Opening parses the storage's
// bytes into a Document (ReadTree.h) and keeps a Builder (ReadBuild.h) that
// makes one top-level object per Q3File_ReadObject; both go on close. While
// open the file keeps its own reference to the storage it reads, so the
// bytes it points into stay valid even if the storage is replaced.
#pragma once

#include "ReadBuild.h"
#include "Storage.h"

#include <memory>

namespace q3 {

class File : public SharedObject {
public:
  File() : SharedObject(type::File) {}
  Ref<Storage> storage;
  Ref<Storage> reading; // the storage of the open file
  std::unique_ptr<read::Document> document;
  std::unique_ptr<read::Builder> builder;
  size_t next = 0;
  bool isOpen() const { return builder != nullptr; }
  void close() {
    builder.reset(); // its objects first: they may point into the document
    document.reset();
    reading.reset();
    next = 0;
  }
};

} // namespace q3
