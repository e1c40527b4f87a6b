#pragma once
// A fresh folder per test, removed afterwards.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

class TempDir {
public:
    TempDir()
    {
        // A name nobody else has: create_directory fails on an existing one.
        std::mt19937_64 random(static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                               std::random_device{}());
        for (;;) {
            const auto candidate = std::filesystem::temp_directory_path() / ("larkspur-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate.generic_string();
                return;
            }
        }
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline void WriteText(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
