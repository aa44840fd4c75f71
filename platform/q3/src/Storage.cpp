// Storage.cpp: the public calls of memory storages.
#include "Storage.h"

#include "Q3Storage.h"

#include <cstring>

Q3_EXTERN_API_C(TQ3StorageObject) Q3MemoryStorage_New(const unsigned char *buffer, TQ3Uns32 validSize) {
  if (!q3::requireInitialized()) return nullptr;
  if (!buffer && validSize) {
    q3::postError(kQ3ErrorNULLParameter);
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  try {
    bytes.assign(buffer, buffer + validSize);
  } catch (const std::bad_alloc &) {
    q3::postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
  return q3::handleOf(q3::create<q3::MemoryStorage>(std::move(bytes)));
}

Q3_EXTERN_API_C(TQ3StorageObject)
Q3MemoryStorage_NewBuffer(unsigned char *buffer, TQ3Uns32 validSize, TQ3Uns32 bufferSize) {
  if (!q3::requireInitialized()) return nullptr;
  if (!buffer && bufferSize) {
    q3::postError(kQ3ErrorNULLParameter);
    return nullptr;
  }
  if (validSize > bufferSize) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  return q3::handleOf(q3::create<q3::MemoryStorage>(buffer, validSize));
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Storage_GetType(TQ3StorageObject storage) {
  const q3::Storage *s = q3::validate<q3::Storage>(storage);
  return s ? s->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Storage_GetSize(TQ3StorageObject storage, TQ3Uns32 *size) {
  const q3::Storage *s = q3::validate<q3::Storage>(storage);
  if (!s || !q3::requirePointer(size)) return kQ3Failure;
  *size = s->size();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Storage_GetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize, unsigned char *data,
                  TQ3Uns32 *sizeRead) {
  const q3::Storage *s = q3::validate<q3::Storage>(storage);
  if (!s || !q3::requirePointer(sizeRead) || (dataSize && !q3::requirePointer(data))) return kQ3Failure;
  if (offset > s->size()) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  const TQ3Uns32 n = dataSize < s->size() - offset ? dataSize : s->size() - offset;
  if (n) std::memcpy(data, s->data() + offset, n);
  *sizeRead = n;
  return kQ3Success;
}
