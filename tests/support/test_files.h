// Files for the tests to read and write, natively and under Wine alike. Paths go
// as std::filesystem::path, which is UTF-16 on Windows, so that a name the code
// page cannot hold (é, 😀) is still the file named.
#ifndef TARVOLO_TESTS_SUPPORT_TEST_FILES_H
#define TARVOLO_TESTS_SUPPORT_TEST_FILES_H

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

// The whole file's bytes; a file that cannot be read fails the test.
inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "cannot read " << file;
    return "";
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) ADD_FAILURE() << "cannot write " << file;
}

// A fresh empty folder for one test (named after the running test), removed with
// everything in it by the destructor.
class ScratchFolder {
 public:
  // A folder that cannot be made throws, which fails the test there.
  ScratchFolder() {
    std::string name = "tarvolo";
    if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
      name = name + "-" + test->test_suite_name() + "-" + test->name();
    }
    for (char& c : name) {
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    }
    // Another process may run the same test at the same time (another tree, a
    // checkout beside this one): the clock and a count keep the folders apart.
    name += "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (int n = 0;; ++n) {
      m_path = temp / (name + "-" + std::to_string(n));
      if (std::filesystem::create_directory(m_path)) break;  // false: the name is taken
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

#endif
