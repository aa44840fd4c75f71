#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

namespace {
// Files are made with the C++ library so that the Win32 side is only read.
struct TempFile {
  std::string path;
  TempFile(const std::string &name, const std::string &bytes) : path(name) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~TempFile() { std::remove(path.c_str()); }
};

HANDLE openRead(const char *path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

TEST(File, OpenSizeReadWithZeros) {
  const std::string bytes("3DMetafile\0\x01\x02\xff tail", 20);
  TempFile f("w32_file_read.bin", bytes);
  HANDLE h = openRead(f.path.c_str());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD high = 123;
  EXPECT_EQ(GetFileSize(h, &high), 20u);
  EXPECT_EQ(high, 0u);
  char buffer[32] = {};
  DWORD got = 99;
  ASSERT_TRUE(ReadFile(h, buffer, 12, &got, nullptr));
  EXPECT_EQ(got, 12u);
  EXPECT_EQ(std::string(buffer, 12), bytes.substr(0, 12));
  // Asking past the end reads what is left and succeeds; at the end it reads 0.
  ASSERT_TRUE(ReadFile(h, buffer, 32, &got, nullptr));
  EXPECT_EQ(got, 8u);
  EXPECT_EQ(std::string(buffer, 8), bytes.substr(12));
  ASSERT_TRUE(ReadFile(h, buffer, 32, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(CloseHandle(h));
}

TEST(File, EmptyFile) {
  TempFile f("w32_file_empty.bin", "");
  HANDLE h = openRead(f.path.c_str());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(h, nullptr), 0u);
  char c;
  DWORD got = 7;
  EXPECT_TRUE(ReadFile(h, &c, 1, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(CloseHandle(h));
}

TEST(File, MissingFileAndFolder) {
  SetLastError(0);
  EXPECT_EQ(openRead("w32_no_such_file.bin"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(openRead("w32_no_such_folder/file.bin"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  // A folder is not a file.
  EXPECT_EQ(openRead("."), INVALID_HANDLE_VALUE);
}

TEST(File, WriteThenReadBack) {
  const char *path = "w32_file_write.bin";
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD wrote = 0;
  ASSERT_TRUE(WriteFile(h, "abc\0de", 6, &wrote, nullptr));
  EXPECT_EQ(wrote, 6u);
  EXPECT_TRUE(CloseHandle(h));
  h = openRead(path);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(h, nullptr), 6u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_TRUE(DeleteFileA(path));
  EXPECT_FALSE(DeleteFileA(path));
}

TEST(File, ClosedHandleIsRefused) {
  TempFile f("w32_file_closed.bin", "x");
  HANDLE h = openRead(f.path.c_str());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
  DWORD got = 5;
  char c;
  EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, &c, 1, &got, nullptr));
  EXPECT_EQ(got, 0u);
}
