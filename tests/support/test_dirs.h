// Temporary folders and files for tests, removed when the object goes.
#pragma once

#include <string>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& rel) const { return path_ + "/" + rel; }

  private:
    std::string path_;
};

// A copy of the repository's installation tree in a temporary folder, made
// the program's installation directory (mm_dir) while the object lives.
class StagedInstall {
  public:
    StagedInstall();
    const std::string& dir() const { return tmp_.path(); }
    std::string catalogue(const std::string& file) const;

  private:
    TempDir tmp_;
};

// The repository's installation tree (read only).
std::string source_install_dir();

void write_file(const std::string& path, const std::string& content);
std::string read_file(const std::string& path);

// Whether text holds part.
inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
