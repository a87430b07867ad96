#include "win/console.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win/handle.h"

namespace {

// An anonymous pipe whose writing end stands in for a standard handle while the test runs.
class StandardPipe {
 public:
  explicit StandardPipe(DWORD which) : which_(which), old_(GetStdHandle(which)) {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    EXPECT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    read_.reset(read);
    write_.reset(write);
    SetStdHandle(which_, write);
  }
  ~StandardPipe() { SetStdHandle(which_, old_); }
  StandardPipe(const StandardPipe&) = delete;
  StandardPipe& operator=(const StandardPipe&) = delete;

  void CloseReader() { read_.reset(); }
  // Everything written, once the writing end is closed.
  std::string ReadAll() {
    write_.reset();
    std::string bytes;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(read_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
  }

 private:
  DWORD which_;
  HANDLE old_;
  win::KernelHandle read_, write_;
};

TEST(ParentConsole, LinesInUtf8AndMessagesOnTheStandardError) {
  StandardPipe out(STD_OUTPUT_HANDLE);
  StandardPipe error(STD_ERROR_HANDLE);
  {
    win::ParentConsole console(true);
    EXPECT_TRUE(console.WriteLine("\xED\x95\x9C.jpg\tx"));  // 한.jpg, in no code page of Japan
    EXPECT_TRUE(console.WriteLine(""));
    console.WriteErrorLine("\xE8\xA1\xA8");  // 表
  }
  EXPECT_EQ(out.ReadAll(), "\xED\x95\x9C.jpg\tx\r\n\r\n");
  EXPECT_EQ(error.ReadAll(), "\xE8\xA1\xA8\r\n");
}

TEST(ParentConsole, AFailedWriteIsToldAndStays) {
  StandardPipe out(STD_OUTPUT_HANDLE);
  out.CloseReader();
  win::ParentConsole console;
  EXPECT_FALSE(console.WriteLine("a"));
  EXPECT_FALSE(console.WriteLine("b")) << "every later line is lost as well";
}

}  // namespace
