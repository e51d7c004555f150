#include "PIM/core/CxMemory.h"
#include "PIM/files/CxCachedObject.h"
#include "PIM/files/PimTempFolder.h"
#include "PIM/os/PimOsFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>
#include <sys/stat.h>

namespace {

// A cached object holding `size` bytes of a pattern.
class Blob : public CxCachedObject
{
public:
    explicit Blob(size_t size, uint8_t seed) : m_size(size)
    {
        m_data = Allocate(size, __FILE__, __LINE__, false);
        auto* bytes = static_cast<uint8_t*>(m_data);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(seed + i);
        SetCachedData(&m_data, &m_size);
    }
    ~Blob() override { Free(m_data); }

    bool Intact(uint8_t seed) const
    {
        if (!m_data)
            return false;
        auto* bytes = static_cast<const uint8_t*>(m_data);
        for (size_t i = 0; i < m_size; ++i)
            if (bytes[i] != static_cast<uint8_t>(seed + i))
                return false;
        return true;
    }
    const void* Data() const { return m_data; }
    int loads = 0;

protected:
    int Reload() override
    {
        ++loads;
        return 0;
    }

private:
    void* m_data = nullptr;
    size_t m_size = 0;
};

int g_failuresLeft = 0;
bool FailSome(size_t)
{
    return g_failuresLeft-- > 0;
}

} // namespace

TEST(MemoryCache, OldestUnlockedObjectsSwapOutAndComeBack)
{
    TempFolder swap;
    CxCachedObject::SetSwapFolder(swap.Path().c_str());
    Blob oldest(4096, 1), locked(4096, 2), newest(4096, 3);
    locked.Lock();
    oldest.Use();
    locked.Use();
    newest.Use(); // the most recent use

    // The allocator fails once, asks the cache, then succeeds.
    g_failuresLeft = 1;
    SetAllocationFailHook(&FailSome);
    void* block = Allocate(1000, __FILE__, __LINE__, false);
    SetAllocationFailHook(nullptr);
    ASSERT_NE(block, nullptr);
    Free(block);

    EXPECT_FALSE(oldest.IsLoaded());
    EXPECT_EQ(oldest.Data(), nullptr);
    EXPECT_NE(oldest.GetSwapFile()[0], '\0');
    EXPECT_TRUE(locked.IsLoaded()); // locked objects stay
    EXPECT_TRUE(locked.Intact(2));

    std::string swapFile = oldest.GetSwapFile();
    ASSERT_EQ(oldest.Use(), 0);
    EXPECT_EQ(oldest.loads, 1);
    EXPECT_TRUE(oldest.Intact(1));
    EXPECT_EQ(oldest.GetSwapFile()[0], '\0');
    struct stat st;
    EXPECT_NE(::stat(swapFile.c_str(), &st), 0); // deleted once read back

    // Asked for more than everything: every unlocked object goes, and the
    // purge still ends.
    size_t freed = CxCachedObject::Purge(1u << 30);
    EXPECT_EQ(freed, 2u * 4096u);
    EXPECT_TRUE(locked.IsLoaded());
    locked.Unlock();
    CxCachedObject::SetSwapFolder("");
}

TEST(MemoryCache, AnObjectWhoseSwapWriteFailedIsNeverFreed)
{
    TempFolder swap;
    CxCachedObject::SetSwapFolder(swap.Path().c_str());
    Blob blob(2048, 9);
    PimOs::SetFaultHook([](PimOs::EStep step, const char*) { return step == PimOs::EStep::Write; });
    EXPECT_EQ(CxCachedObject::Purge(100), 0u);
    PimOs::SetFaultHook(nullptr);
    EXPECT_TRUE(blob.IsLoaded());
    EXPECT_TRUE(blob.Intact(9));
    EXPECT_EQ(blob.GetSwapFile()[0], '\0');

    // An unusable swap folder: the same.
    CxCachedObject::SetSwapFolder((swap.Path() + "/no/such/folder").c_str());
    EXPECT_EQ(CxCachedObject::Purge(100), 0u);
    EXPECT_TRUE(blob.Intact(9));
    CxCachedObject::SetSwapFolder("");
}

TEST(TempFolder, PrivateAndRemovedWithItsFiles)
{
    const char* folder = PimTempFolder();
    ASSERT_NE(folder, nullptr);
    std::string path = folder;
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_STREQ(PimTempFolder(), path.c_str()); // one per run
    FILE* f = std::fopen((path + "/x.tmp").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    PimRemoveTempFolder();
    EXPECT_NE(::stat(path.c_str(), &st), 0);
}

TEST(TempFolder, TheCacheFolderIsPrivateTakesTheSwapFilesAndGoes)
{
    TempFolder base;
    ASSERT_TRUE(PimUseCacheFolder(base.Path().c_str()));
    const std::string cache = PimCacheFolder();
    EXPECT_EQ(cache.rfind(base.Path() + "/", 0), 0u);
    struct stat st;
    ASSERT_EQ(::stat(cache.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Swapped data lands in it.
    Blob blob(4096, 3);
    EXPECT_GT(CxCachedObject::Purge(1u << 30), 0u);
    std::vector<std::string> names;
    PimOs::ListFolder(cache.c_str(), [](void* c, const char* n) { static_cast<std::vector<std::string>*>(c)->push_back(n); },
                      &names);
    EXPECT_EQ(names.size(), 1u);
    EXPECT_EQ(blob.Use(), 0);
    EXPECT_TRUE(blob.Intact(3));

    PimReleaseCacheFolder();
    EXPECT_EQ(PimCacheFolder(), nullptr);
    EXPECT_NE(::stat(cache.c_str(), &st), 0);
    // A base that does not exist leaves the temporary folder in use.
    EXPECT_FALSE(PimUseCacheFolder((base.Path() + "/missing").c_str()));
    EXPECT_EQ(PimCacheFolder(), nullptr);
}

TEST(MemoryCache, UnderFragmentationThePurgeKeepsFreeingUntilTheAllocationSucceeds)
{
    TempFolder swap;
    CxCachedObject::SetSwapFolder(swap.Path().c_str());
    std::vector<std::unique_ptr<Blob>> blobs;
    for (uint8_t i = 0; i < 8; ++i)
        blobs.push_back(std::make_unique<Blob>(1024, i));
    for (auto& blob : blobs)
        blob->Use(); // blobs[0] is the least recently used

    // Freed room does not help at once: the first tries after the purge's
    // early rounds still fail, as with a fragmented heap.
    g_failuresLeft = 3;
    SetAllocationFailHook(&FailSome);
    void* block = Allocate(100, __FILE__, __LINE__, false);
    SetAllocationFailHook(nullptr);
    ASSERT_NE(block, nullptr);
    Free(block);
    // Oldest first: an object out of memory was used before every one still in.
    EXPECT_FALSE(blobs[0]->IsLoaded());
    EXPECT_FALSE(blobs[1]->IsLoaded()); // one round's worth was not enough
    for (size_t i = 1; i < blobs.size(); ++i)
        EXPECT_FALSE(!blobs[i]->IsLoaded() && blobs[i - 1]->IsLoaded()) << i;
    for (size_t i = 0; i < blobs.size(); ++i)
        EXPECT_TRUE(blobs[i]->Use() == 0 && blobs[i]->Intact(static_cast<uint8_t>(i)));

    // With nothing left to free the purge ends and the allocation fails.
    for (auto& blob : blobs)
        blob->Lock();
    SetAllocationFailHook([](size_t) { return true; });
    EXPECT_EQ(AllocateQuietly(100, __FILE__, __LINE__, false), nullptr);
    SetAllocationFailHook(nullptr);
    for (auto& blob : blobs)
        blob->Unlock();
    CxCachedObject::SetSwapFolder("");
}
