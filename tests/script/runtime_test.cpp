// The frame stack across its chunk boundaries, which scripts reach only with frames of rare sizes.
// Counted strings and the copying and release of values that hold them show in the differential
// corpus (cases/212_value_copies_bitwise, own/009_variants), whose leaks and double releases the
// sanitizer builds of the script runner catch.
#include "runtime.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

TEST(SlotStackTest, FramesAreZeroedStableAndGivenBackInOrder) {
    SlotStack stack;
    const int64_t limit = 1 << 20;
    // Sizes around the chunk size, so that frames start new chunks and empty chunks are reused.
    const std::vector<int64_t> sizes = {10, 70000, 3, 65536, 1, 200000, 0, 5};
    std::vector<Slot*> frames;
    for (int64_t size : sizes) {
        Slot* frame = stack.Push(size, limit);
        ASSERT_NE(frame, nullptr);
        for (int64_t i = 0; i < size; ++i) {
            ASSERT_EQ(frame[i].raw, 0) << "frame of " << size << " not zeroed at " << i;
            frame[i].raw = size;
        }
        frames.push_back(frame);
    }
    // Earlier frames keep their place and contents while later ones come and go.
    for (size_t k = 0; k < sizes.size(); ++k) {
        for (int64_t i = 0; i < sizes[k]; i += 997) {
            ASSERT_EQ(frames[k][i].raw, sizes[k]);
        }
    }
    for (size_t k = sizes.size(); k-- > 0;) {
        stack.Pop(sizes[k]);
    }
    // After everything is given back, the whole limit is available again.
    Slot* big = stack.Push(limit, limit);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big[limit - 1].raw, 0);
    stack.Pop(limit);
}

} // namespace
} // namespace tl::script
