// The Windows HID backend against what Wine provides: its virtual mouse and
// keyboard, found through SetupAPI and identified through HID.dll, and an
// overlapped read that times out and is cancelled at once.

#include "WindowsHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(WindowsHid, EnumeratesIdentifiesAndCancelsReads)
{
    WindowsHidBackend backend;
    const auto found = backend.Enumerate();
    ASSERT_FALSE(found.empty()) << "Wine lists a virtual HID mouse and keyboard";
    int identified = 0;
    for (const HidInterfaceInfo& info : found) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_FALSE(info.instance.empty());
        if (!info.identified)
            continue;
        ++identified;
        EXPECT_GT(info.lengths.input, 0) << info.name;
    }
    EXPECT_GT(identified, 0);
    // The same interfaces enumerated again are the same instances.
    const auto again = backend.Enumerate();
    ASSERT_EQ(again.size(), found.size());
    EXPECT_EQ(again.front().instance, found.front().instance);

    HidAccess access = HidAccess::Failed;
    std::string error;
    auto connection = backend.Open(found.front().path, access, &error);
    if (!connection)
        GTEST_SKIP() << "the virtual device cannot be opened here: " << error;
    std::vector<std::uint8_t> report;
    EXPECT_EQ(connection->Read(report, 50, &error), HidReadStatus::Timeout);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        connection->Interrupt();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection->Read(report, 10000, &error), HidReadStatus::Interrupted);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // Change notices: a handler can be set and taken away again.
    int calls = 0;
    backend.SetChangeHandler([&] { ++calls; });
    backend.SetChangeHandler(nullptr);
    EXPECT_EQ(calls, 0);
}

}  // namespace
