// Threads that share a tree only to read it, and threads that each have a
// document of their own. Run under ThreadSanitizer by scripts/test, which
// fails on any data race these walks reach; elsewhere a race shows as a
// wrong description or a crash.
#include "support/DescTestUtil.h"

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using namespace kvtest;

constexpr int kThreads = 4;
constexpr int kRounds = 40;

// the examples and the descriptor fixtures: every class, every field
std::vector<std::filesystem::path> Documents()
{
    std::vector<std::filesystem::path> paths;
    for (const char* folder : {KV_EXAMPLES, KV_TEST_DATA "/framework", KV_TEST_DATA "/node", KV_TEST_DATA "/params",
                               KV_TEST_DATA "/parts", KV_TEST_DATA "/geometry"})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".xml")
                paths.push_back(entry.path());
    return paths;
}

// Runs work(thread) on kThreads threads that start together, so that they
// meet on the same texts and objects.
template <class Work>
void OnThreads(Work work)
{
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            ++ready;
            while (ready.load() < kThreads)
                std::this_thread::yield();
            work(t);
        });
    for (std::thread& thread : threads)
        thread.join();
}

// every object's recorded position, through the document's const lookup
std::string Positions(const CXMLDocument& doc, const CXMLBase& object)
{
    const XmlPosition at = doc.GetPosition(&object);
    std::string out = std::to_string(at.line) + ":" + std::to_string(at.column) + " ";
    for (const CXMLBase* child : Children(object))
        out += Positions(doc, *child);
    return out;
}

TEST(SharedReads, EveryGetterAndLookupOfOneTreeFromManyThreadsAtOnce)
{
    for (const auto& path : Documents()) {
        SCOPED_TRACE(path.string());
        CXMLDocument doc;
        doc.SetRecordPositions(true);
        ASSERT_TRUE(doc.LoadFile(path.string().c_str())) << doc.GetErrorText();
        const CXMLDocument& shared = doc;
        const std::string expected = DescribeReads(*shared.GetRoot());
        const std::string positions = Positions(shared, *shared.GetRoot());
        const XmlEncoding encoding = shared.GetEncoding();
        std::atomic<int> wrong{0};
        OnThreads([&](int) {
            for (int round = 0; round < kRounds; ++round)
                if (DescribeReads(*shared.GetRoot()) != expected || Positions(shared, *shared.GetRoot()) != positions ||
                    !shared.GetErrorText().empty() || shared.GetEncoding() != encoding)
                    ++wrong;
        });
        EXPECT_EQ(wrong.load(), 0);
        // the texts the threads shared are whole after them: a save still writes the same
        const std::string once = Save(doc);
        EXPECT_EQ(Save(doc), once);
    }
}

TEST(SeparateDocuments, LoadAndSaveOnTheirOwnThreadsInEveryEncoding)
{
    const XmlEncoding encodings[] = {XmlEncoding::Utf8, XmlEncoding::Gbk, XmlEncoding::Gb18030,
                                     XmlEncoding::Utf16LE};
    for (const auto& path : Documents()) {
        SCOPED_TRACE(path.string());
        CXMLDocument first;
        ASSERT_TRUE(first.LoadFile(path.string().c_str())) << first.GetErrorText();
        std::vector<std::string> texts, described;
        for (XmlEncoding encoding : encodings) {
            first.SetEncoding(encoding);
            texts.push_back(Save(first));
            CXMLDocument again;
            ASSERT_TRUE(LoadText(again, texts.back())) << again.GetErrorText();
            described.push_back(DescribeReads(*again.GetRoot()));
        }
        std::atomic<int> wrong{0};
        OnThreads([&](int thread) {
            for (int round = 0; round < kRounds / 4; ++round) {
                const size_t e = static_cast<size_t>(thread + round) % texts.size();
                CXMLDocument doc;
                std::string saved;
                if (!LoadText(doc, texts[e]) || DescribeReads(*doc.GetRoot()) != described[e] || !doc.SaveXml(saved) ||
                    saved != texts[e])
                    ++wrong;
                // the attribute probe runs beside the loads of the other threads
                if (kvnodedefine::AttributesOf(RUNTIME_CLASS(CPlaneDesc)).empty())
                    ++wrong;
            }
        });
        EXPECT_EQ(wrong.load(), 0);
    }
}

} // namespace
