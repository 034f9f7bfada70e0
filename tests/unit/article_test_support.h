// Helpers shared by the article store and lookup tests: scrambling, in-memory stores and a
// temporary folder that cleans up after itself.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "dictionary/ArticleFiles.h"
#include "dictionary/ArticleStore.h"

// The stored form of a plain text: UTF-16LE bytes, each plus 2 modulo 256.
inline std::string ScrambledBytes(const std::u16string& plain)
{
    std::string bytes;
    for (char16_t unit : plain) {
        bytes.push_back(static_cast<char>((unit & 0xFF) + 2));
        bytes.push_back(static_cast<char>((unit >> 8) + 2));
    }
    return bytes;
}

// A store that owns what it holds and frees it at the end of the test.
struct ScopedStore {
    ArticleStore store;
    ScopedStore() = default;
    ScopedStore(const ScopedStore&) = delete;
    ScopedStore& operator=(const ScopedStore&) = delete;
    ~ScopedStore() { FreeArticleBuffers(store); }
};

// Fills `scoped` as a successful load of these stored bytes would, then descrambles it.
inline void FillStore(ScopedStore& scoped, const std::string& stored0, const std::string& stored1)
{
    const std::string* stored[2] = {&stored0, &stored1};
    for (int d = 0; d < 2; ++d) {
        const auto size = static_cast<std::uint32_t>(stored[d]->size());
        scoped.store.text[d] = AllocateArticleBuffer(size);
        ASSERT_NE(scoped.store.text[d], nullptr);
        std::memcpy(scoped.store.text[d], stored[d]->data(), size);
        scoped.store.size[d] = size;
    }
    scoped.store.loaded = !stored0.empty() && !stored1.empty();
    DescrambleArticles(scoped.store);
}

// Both directions hold the same plain text.
inline void FillStore(ScopedStore& scoped, const std::u16string& plain)
{
    FillStore(scoped, ScrambledBytes(plain), ScrambledBytes(plain));
}

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TemporaryFolder {
    std::filesystem::path path;
    explicit TemporaryFolder(const std::u16string& leaf = u"")
    {
        std::random_device entropy;
        const auto base = std::filesystem::temp_directory_path()
                          / ("dictionary-test-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
        path = leaf.empty() ? base : base / std::filesystem::path(leaf);
        root = base;
        std::filesystem::create_directories(path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::u16string File(const std::u16string& name) const { return (path / std::filesystem::path(name)).u16string(); }

    void Write(const std::u16string& name, const std::string& bytes) const
    {
        std::ofstream file(path / std::filesystem::path(name), std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(file.good());
    }

private:
    std::filesystem::path root;
};
