/* Q3Storage.h: storages and 3DMF files.

   A memory storage holds bytes: Q3MemoryStorage_New copies the caller's
   bytes, Q3MemoryStorage_NewBuffer reads them in place (they must stay valid
   and unchanged while a file opened on the storage is open).

   A file reads 3DMF (binary big-endian, binary little-endian, or text) from
   its storage. Q3File_SetStorage makes the file hold its own reference to the
   storage, so the caller may dispose its reference at once. Reading:
     Q3File_OpenRead, then Q3File_ReadObject until Q3File_IsEndOfFile,
     then Q3File_Close.
   Q3File_ReadObject returns the next top-level object the library can make
   (a group consumes everything up to its EndGroup), with one reference the
   caller owns, or NULL at the end. Objects of unknown kinds (and lights and
   cameras) are skipped; damaged data gives what could be read, with an error
   posted, never more. Q3File_IsEndOfFile answers kQ3True for a file that is
   not open (also when opening failed), so a reading loop always ends. */
#ifndef Q3_STORAGE_H
#define Q3_STORAGE_H

#include "Q3Core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What Q3File_OpenRead found. Text files report kQ3FileModeText; q3 adds
   kQ3FileModeSwap for binary files written little-endian. */
typedef TQ3Uns32 TQ3FileMode;
#define kQ3FileModeNormal 0u
#define kQ3FileModeStream (1u << 0)
#define kQ3FileModeDatabase (1u << 1)
#define kQ3FileModeText (1u << 2)
#define kQ3FileModeSwap (1u << 3)

/* Copies validSize bytes (buffer may be NULL only when validSize is 0). */
Q3_EXTERN_API_C(TQ3StorageObject) Q3MemoryStorage_New(const unsigned char *buffer, TQ3Uns32 validSize);
/* Reads the caller's buffer in place; validSize <= bufferSize. */
Q3_EXTERN_API_C(TQ3StorageObject)
Q3MemoryStorage_NewBuffer(unsigned char *buffer, TQ3Uns32 validSize, TQ3Uns32 bufferSize);
Q3_EXTERN_API_C(TQ3ObjectType) Q3Storage_GetType(TQ3StorageObject storage);
/* The number of valid bytes. */
Q3_EXTERN_API_C(TQ3Status) Q3Storage_GetSize(TQ3StorageObject storage, TQ3Uns32 *size);
/* Copies up to dataSize bytes from offset; *sizeRead tells how many. */
Q3_EXTERN_API_C(TQ3Status)
Q3Storage_GetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize, unsigned char *data,
                  TQ3Uns32 *sizeRead);

Q3_EXTERN_API_C(TQ3FileObject) Q3File_New(void);
/* storage may be NULL to detach. Fails with kQ3ErrorFileIsOpen while open. */
Q3_EXTERN_API_C(TQ3Status) Q3File_SetStorage(TQ3FileObject file, TQ3StorageObject storage);
/* Hands out a reference to the file's storage (NULL when it has none). */
Q3_EXTERN_API_C(TQ3Status) Q3File_GetStorage(TQ3FileObject file, TQ3StorageObject *storage);
/* mode may be NULL. Fails (kQ3ErrorInvalidMetafile) when the bytes are not
   3DMF; the file then stays closed. */
Q3_EXTERN_API_C(TQ3Status) Q3File_OpenRead(TQ3FileObject file, TQ3FileMode *mode);
Q3_EXTERN_API_C(TQ3Object) Q3File_ReadObject(TQ3FileObject file);
Q3_EXTERN_API_C(TQ3Boolean) Q3File_IsEndOfFile(TQ3FileObject file);
Q3_EXTERN_API_C(TQ3Boolean) Q3File_IsOpen(TQ3FileObject file);
Q3_EXTERN_API_C(TQ3Status) Q3File_Close(TQ3FileObject file);

#ifdef __cplusplus
}
#endif
#endif
