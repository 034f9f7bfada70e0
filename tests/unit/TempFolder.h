// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes; read-only entries are made writable first so that removal works everywhere.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        for (;;) {
            path_ = std::filesystem::temp_directory_path()
                  / ("dict-test-" + std::to_string(random()) + std::to_string(random()));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }

    ~TempFolder()
    {
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
             it != std::filesystem::recursive_directory_iterator(); it.increment(error))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // The folder as the portable code takes folders: UTF-16, no trailing separator.
    std::u16string Text() const { return path_.u16string(); }

private:
    std::filesystem::path path_;
};
