// The running side's storage: the frame stack, counted strings and the copying and release of
// values that hold them.
#include "runtime.hpp"
#include "types.hpp"

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

TEST(StrTest, WritingUnsharesAndCopiesShare) {
    Str a("abc");
    Str b = a;
    EXPECT_EQ(a.Rep(), b.Rep());
    EXPECT_EQ(a.Rep()->refs, 2);
    b.MutableData()[0] = 'X';
    EXPECT_EQ(a.View(), "abc");
    EXPECT_EQ(b.View(), "Xbc");
    EXPECT_EQ(a.Rep()->refs, 1);
}

TEST(ValueTest, RecordsWithStringsCopyAndReleaseTheirReferences) {
    Type record;
    record.kind = TypeKind::Record;
    record.fields.push_back({"n", "n", BuiltinTypes::Integer(), 0});
    record.fields.push_back({"s", "s", BuiltinTypes::String(), 1});
    record.slots = 2;
    record.managed = true;
    Type array;
    array.kind = TypeKind::Array;
    array.element = &record;
    array.low = 1;
    array.high = 3;
    array.slots = 6;
    array.managed = true;

    Str text("shared");
    Slot src[6] = {};
    Slot dst[6] = {};
    for (int i = 0; i < 3; ++i) {
        src[2 * i].i = i;
        StrAddRef(text.Rep());
        src[2 * i + 1].s = text.Rep();
    }
    EXPECT_EQ(text.Rep()->refs, 4);
    CopyValue(&array, dst, src);
    EXPECT_EQ(text.Rep()->refs, 7);
    EXPECT_EQ(dst[4].i, 2);
    CopyValue(&array, dst, src); // overwriting releases what dst held
    EXPECT_EQ(text.Rep()->refs, 7);
    ReleaseValue(&array, dst);
    ReleaseValue(&array, src);
    EXPECT_EQ(text.Rep()->refs, 1);
    EXPECT_EQ(src[1].s, nullptr);
}

TEST(ValueTest, VariantCopiesCountTheirString) {
    Str text("v");
    Slot a[2] = {};
    Slot b[2] = {};
    Slot value;
    StrAddRef(text.Rep());
    value.s = text.Rep();
    VariantSet(a, VariantTag::String, value);
    VariantCopy(b, a);
    EXPECT_EQ(text.Rep()->refs, 3);
    EXPECT_EQ(VariantText(b, '.'), "v");
    VariantClear(a);
    VariantClear(b);
    EXPECT_EQ(text.Rep()->refs, 1);
}

} // namespace
} // namespace tl::script
