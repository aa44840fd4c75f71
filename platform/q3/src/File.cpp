// File.cpp: the public calls of files.
#include "File.h"

#include "Q3Storage.h"

Q3_EXTERN_API_C(TQ3FileObject) Q3File_New(void) { return q3::handleOf(q3::create<q3::File>()); }

Q3_EXTERN_API_C(TQ3Status) Q3File_SetStorage(TQ3FileObject file, TQ3StorageObject storage) {
  q3::File *f = q3::validate<q3::File>(file);
  if (!f) return kQ3Failure;
  q3::Ref<q3::Storage> ref;
  if (storage) {
    q3::Storage *s = q3::validate<q3::Storage>(storage);
    if (!s) return kQ3Failure;
    ref = q3::Ref<q3::Storage>::share(s);
  }
  if (f->isOpen()) {
    q3::postError(kQ3ErrorFileIsOpen);
    return kQ3Failure;
  }
  f->storage = std::move(ref);
  f->edited();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3File_GetStorage(TQ3FileObject file, TQ3StorageObject *storage) {
  const q3::File *f = q3::validate<q3::File>(file);
  if (!f || !q3::requirePointer(storage)) return kQ3Failure;
  if (f->storage) f->storage->retain();
  *storage = q3::handleOf(f->storage.get());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3File_OpenRead(TQ3FileObject file, TQ3FileMode *mode) {
  q3::File *f = q3::validate<q3::File>(file);
  if (!f) return kQ3Failure;
  if (f->isOpen()) {
    q3::postError(kQ3ErrorFileAlreadyOpen);
    return kQ3Failure;
  }
  if (!f->storage) {
    q3::postError(kQ3ErrorNoStorageSetForFile);
    return kQ3Failure;
  }
  const q3::Storage &s = *f->storage.get();
  try {
    auto doc = q3::read::parseBinary(s.data(), s.size());
    if (!doc) doc = q3::read::parseText(s.data(), s.size());
    if (!doc) {
      q3::postError(kQ3ErrorInvalidMetafile);
      return kQ3Failure;
    }
    auto builder = std::make_unique<q3::read::Builder>(*doc);
    f->reading = f->storage;
    f->document = std::move(doc);
    f->builder = std::move(builder);
    f->next = 0;
  } catch (const std::bad_alloc &) {
    f->close();
    q3::postError(kQ3ErrorOutOfMemory);
    return kQ3Failure;
  }
  if (mode) *mode = f->document->mode;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Object) Q3File_ReadObject(TQ3FileObject file) {
  q3::File *f = q3::validate<q3::File>(file);
  if (!f) return nullptr;
  if (!f->isOpen()) {
    q3::postError(kQ3ErrorFileNotOpen);
    return nullptr;
  }
  try {
    return q3::handleOf(f->builder->next(f->next).detach());
  } catch (const std::bad_alloc &) {
    // Memory ran out part-way through an object: skip it, keep the file usable.
    q3::postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
}

Q3_EXTERN_API_C(TQ3Boolean) Q3File_IsEndOfFile(TQ3FileObject file) {
  const q3::File *f = q3::validate<q3::File>(file);
  // A file that is not open has nothing more to read: reading loops end.
  if (!f || !f->isOpen()) return kQ3True;
  return f->builder->atEnd(f->next) ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(TQ3Boolean) Q3File_IsOpen(TQ3FileObject file) {
  const q3::File *f = q3::validate<q3::File>(file);
  return f && f->isOpen() ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(TQ3Status) Q3File_Close(TQ3FileObject file) {
  q3::File *f = q3::validate<q3::File>(file);
  if (!f) return kQ3Failure;
  if (!f->isOpen()) {
    q3::postError(kQ3ErrorFileNotOpen);
    return kQ3Failure;
  }
  f->close();
  return kQ3Success;
}
