// reader_bench: 3DMF read throughput of q3, binary and text, next to the
// time to copy the same bytes. One line per case; median of several runs.
//
//   build/linux/bin/reader_bench [grid side, default 300]
#include "Q3.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
void putU32(std::string &out, uint32_t v) {
  const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  out.append(b, 4);
}
void putF32(std::string &out, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  putU32(out, v);
}

// A side x side grid of points as one TriMesh (4-byte indices), big-endian binary.
std::string binaryGrid(uint32_t side) {
  const uint32_t np = side * side, nt = 2 * (side - 1) * (side - 1);
  std::string body;
  for (uint32_t v : {nt, 0u, 0u, 0u, np, 0u}) putU32(body, v);
  for (uint32_t y = 0; y + 1 < side; ++y)
    for (uint32_t x = 0; x + 1 < side; ++x) {
      const uint32_t a = y * side + x, b = a + 1, c = a + side, d = c + 1;
      for (uint32_t i : {a, b, d, a, d, c}) putU32(body, i);
    }
  for (uint32_t y = 0; y < side; ++y)
    for (uint32_t x = 0; x < side; ++x) putF32(body, float(x)), putF32(body, float(y)), putF32(body, 0.0f);
  for (float f : {0.0f, 0.0f, 0.0f, float(side - 1), float(side - 1), 0.0f}) putF32(body, f);
  putU32(body, 0);
  std::string file = "3DMF";
  putU32(file, 16);
  file.append("\0\1\0\6", 4);
  for (int i = 0; i < 3; ++i) putU32(file, 0);
  file += "tmsh";
  putU32(file, static_cast<uint32_t>(body.size()));
  return file + body;
}

std::string textGrid(uint32_t side) {
  const uint32_t np = side * side, nt = 2 * (side - 1) * (side - 1);
  std::string t =
      "3DMetafile ( 1 6 Normal nil> )\nTriMesh ( " + std::to_string(nt) + " 0 0 0 " + std::to_string(np) + " 0\n";
  char line[96];
  for (uint32_t y = 0; y + 1 < side; ++y)
    for (uint32_t x = 0; x + 1 < side; ++x) {
      const uint32_t a = y * side + x, b = a + 1, c = a + side, d = c + 1;
      std::snprintf(line, sizeof line, "%u %u %u %u %u %u\n", a, b, d, a, d, c);
      t += line;
    }
  for (uint32_t y = 0; y < side; ++y)
    for (uint32_t x = 0; x < side; ++x) {
      std::snprintf(line, sizeof line, "%u %u 0\n", x, y);
      t += line;
    }
  std::snprintf(line, sizeof line, "0 0 0 %u %u 0 False )\n", side - 1, side - 1);
  return t + line;
}

// Reads every object of the bytes; answers how many.
int readAll(const std::string &bytes) {
  TQ3FileObject file = Q3File_New();
  TQ3StorageObject storage =
      Q3MemoryStorage_NewBuffer(reinterpret_cast<unsigned char *>(const_cast<char *>(bytes.data())),
                                uint32_t(bytes.size()), uint32_t(bytes.size()));
  Q3File_SetStorage(file, storage);
  Q3Object_Dispose(storage);
  Q3File_OpenRead(file, nullptr);
  int objects = 0;
  while (!Q3File_IsEndOfFile(file))
    if (TQ3Object o = Q3File_ReadObject(file)) {
      ++objects;
      Q3Object_Dispose(o);
    }
  Q3File_Close(file);
  Q3Object_Dispose(file);
  return objects;
}

template <class F> double medianMs(int runs, F f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    f();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
} // namespace

int main(int argc, char **argv) {
  const uint32_t side = argc > 1 ? uint32_t(std::max(2, std::atoi(argv[1]))) : 300;
  Q3Initialize();
  for (const auto &[name, bytes] : {std::pair{"binary", binaryGrid(side)}, std::pair{"text", textGrid(side)}}) {
    int objects = 0;
    const double readMs = medianMs(7, [&] { objects = readAll(bytes); });
    std::vector<char> copy(bytes.size());
    const double copyMs = medianMs(7, [&] {
      std::memcpy(copy.data(), bytes.data(), bytes.size());
      asm volatile("" : : "r"(copy.data()) : "memory");
    });
    const double mb = bytes.size() / 1e6;
    std::printf(
        "read %-6s %8.2f MB  %d object(s)  %9.2f ms  %8.1f MB/s   copy %7.3f ms  %9.1f MB/s   read/copy %.0fx\n", name,
        mb, objects, readMs, mb / (readMs / 1e3), copyMs, mb / (copyMs / 1e3), readMs / copyMs);
  }
  Q3Exit();
  return 0;
}
