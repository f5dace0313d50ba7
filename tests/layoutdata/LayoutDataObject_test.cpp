#include "LayoutDataObject.h"
#include "streams/tsMemoryStream.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testing_support::Bytes;
using testing_support::LayoutBytes;

namespace {

LayoutControl control(std::uint32_t id, const char* name, float x1, float y1, float x2, float y2,
                      std::uint32_t gui = 0, std::uint32_t text = 0)
{
    LayoutControl c;
    c.m_id = id;
    c.m_name = name;
    c.m_x1 = x1;
    c.m_y1 = y1;
    c.m_x2 = x2;
    c.m_y2 = y2;
    c.m_guiResourceId = gui;
    c.m_textId = text;
    return c;
}

Bytes written(const LayoutDataObject& layout)
{
    tsMemoryStream stream;
    EXPECT_EQ(layout.Write(&stream), S_OK);
    return stream.Bytes();
}

HRESULT load(const Bytes& bytes, LayoutDataObject& layout)
{
    tsMemoryStream stream{Bytes(bytes)};
    return layout.Read(&stream);
}

void expectSameBits(const LayoutControl& a, const LayoutControl& b)
{
    EXPECT_EQ(a.m_id, b.m_id);
    EXPECT_EQ(a.m_name, b.m_name);
    EXPECT_EQ(a.m_guiResourceId, b.m_guiResourceId);
    EXPECT_EQ(a.m_textId, b.m_textId);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.m_x1), std::bit_cast<std::uint32_t>(b.m_x1));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.m_y1), std::bit_cast<std::uint32_t>(b.m_y1));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.m_x2), std::bit_cast<std::uint32_t>(b.m_x2));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a.m_y2), std::bit_cast<std::uint32_t>(b.m_y2));
}

} // namespace

TEST(LayoutFile, WritesTheExactBytesOfTheFormat)
{
    LayoutDataObject empty;
    EXPECT_EQ(written(empty), LayoutBytes(2, 0).bytes);
    EXPECT_EQ(written(empty).size(), 24u);

    LayoutDataObject one;
    one.m_controls.push_back(control(0, "UNBENANNT0", 10, 20, 110, 70));
    const Bytes expected = {0x41, 0xF9, 0xB3, 0x0A, 0x62, 0x93, 0xD1, 0x11, 0x9A, 0x2B, 0x08,
                            0x00, 0x00, 0x30, 0x05, 0x12, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x55, 0x4E, 0x42, 0x45,
                            0x4E, 0x41, 0x4E, 0x4E, 0x54, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,
                            0x00, 0x00, 0xDC, 0x42, 0x00, 0x00, 0x8C, 0x42};
    EXPECT_EQ(written(one), expected);

    // Through a real file as well: the same 63 bytes.
    testing_support::TempDir dir;
    {
        tsStream stream;
        ASSERT_EQ(stream.Open(dir.file("one.lay").c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE), S_OK);
        ASSERT_EQ(one.Write(&stream), S_OK);
    }
    EXPECT_EQ(testing_support::readFile(dir.file("one.lay")), expected);
}

TEST(LayoutFile, RoundTripKeepsEveryFieldAndFloatPattern)
{
    LayoutDataObject layout;
    layout.m_controls.push_back(control(7, "RIGHT_TO_LEFT", 300, 200, 100, 50, 11, 12));
    layout.m_controls.push_back(
        control(4294967295u, "NEG", -25.5f, -1e-3f, -800, 1e30f, 4294967295u, 1));
    layout.m_controls.push_back(
        control(1, "", 0.1f, 1.17549435e-38f, 1e-45f, std::numeric_limits<float>::max()));
    layout.m_controls.push_back(control(2, "SPECIAL", -0.0f, std::numeric_limits<float>::infinity(),
                                        -std::numeric_limits<float>::infinity(),
                                        std::bit_cast<float>(0x7FC12345u)));
    layout.m_controls.push_back(control(3, std::string(300, 'L').c_str(), 1, 2, 3, 4));

    LayoutDataObject back;
    ASSERT_EQ(load(written(layout), back), S_OK);
    ASSERT_EQ(back.m_controls.size(), layout.m_controls.size());
    for (std::size_t i = 0; i < back.m_controls.size(); ++i)
        expectSameBits(back.m_controls[i], layout.m_controls[i]);
    EXPECT_EQ(written(back), written(layout));
}

TEST(LayoutFile, VersionOneAndForeignHeads)
{
    LayoutBytes v1(1, 2);
    v1.record(5, "OLD", 6, 0, 1, 2, 3, 4).record(8, "OLDER", 9, 0, 5, 6, 7, 8);
    LayoutDataObject layout;
    ASSERT_EQ(load(v1.bytes, layout), S_OK);
    ASSERT_EQ(layout.m_controls.size(), 2u);
    expectSameBits(layout.m_controls[0], control(5, "OLD", 1, 2, 3, 4, 6, 0));
    expectSameBits(layout.m_controls[1], control(8, "OLDER", 5, 6, 7, 8, 9, 0));

    LayoutBytes v2(2, 2);
    v2.record(5, "OLD", 6, 0, 1, 2, 3, 4).record(8, "OLDER", 9, 0, 5, 6, 7, 8);
    EXPECT_EQ(written(layout), v2.bytes) << "saved again as version 2 with the text ids";

    LayoutBytes zeroGuid(2, 1, false);
    zeroGuid.record(1, "Z", 2, 3, 4, 5, 6, 7).u32(0xDEADBEEF); // trailing bytes are not read
    LayoutDataObject z;
    ASSERT_EQ(load(zeroGuid.bytes, z), S_OK);
    ASSERT_EQ(z.m_controls.size(), 1u);
    expectSameBits(z.m_controls[0], control(1, "Z", 4, 5, 6, 7, 2, 3));

    for (std::uint32_t version : {0u, 3u, 0xFFFFFFFFu}) {
        testing_support::TraceCapture trace;
        LayoutBytes other(version, 1);
        other.record(1, "NOPE", 0, 0, 1, 1, 2, 2);
        LayoutDataObject none;
        EXPECT_EQ(load(other.bytes, none), E_FAIL) << version;
        EXPECT_TRUE(none.m_controls.empty());
        EXPECT_NE(trace.text().find(" : Not supported file version.\n"), std::string::npos);
    }
}

TEST(LayoutFile, BrokenFilesKeepTheCompleteRecordsBeforeTheFault)
{
    LayoutBytes three(2, 3);
    three.record(0, "A", 0, 0, 1, 2, 3, 4)
        .record(1, "B", 0, 0, 1, 2, 3, 4)
        .record(2, "C", 0, 0, 1, 2, 3, 4);

    Bytes cut(three.bytes.begin(), three.bytes.end() - 5);
    LayoutDataObject layout;
    EXPECT_EQ(load(cut, layout), E_FAIL);
    ASSERT_EQ(layout.m_controls.size(), 2u);
    EXPECT_EQ(layout.m_controls[1].m_name, "B");

    LayoutBytes tooMany(2, 5);
    tooMany.record(0, "A", 0, 0, 1, 2, 3, 4).record(1, "B", 0, 0, 1, 2, 3, 4);
    LayoutDataObject partial;
    EXPECT_EQ(load(tooMany.bytes, partial), E_FAIL);
    EXPECT_EQ(partial.m_controls.size(), 2u);

    LayoutDataObject nothing;
    EXPECT_EQ(load({}, nothing), E_FAIL);
    EXPECT_EQ(load(Bytes(three.bytes.begin(), three.bytes.begin() + 18), nothing), E_FAIL)
        << "inside the version";
    EXPECT_EQ(load(Bytes(three.bytes.begin(), three.bytes.begin() + 22), nothing), E_FAIL)
        << "inside the count";
    EXPECT_TRUE(nothing.m_controls.empty());

    LayoutBytes marker(2, 2);
    marker.record(0, "FIRST", 0, 0, 1, 2, 3, 4).u32(1);
    for (int b : {0xFF, 0xFE, 0xFF, int{'x'}})
        marker.bytes.push_back(static_cast<std::uint8_t>(b));
    LayoutDataObject marked;
    EXPECT_EQ(load(marker.bytes, marked), E_FAIL);
    ASSERT_EQ(marked.m_controls.size(), 1u);
    EXPECT_EQ(marked.m_controls[0].m_name, "FIRST");

    // Reading appends: the document clears the list itself.
    LayoutDataObject twice;
    ASSERT_EQ(load(three.bytes, twice), S_OK);
    ASSERT_EQ(load(three.bytes, twice), S_OK);
    EXPECT_EQ(twice.m_controls.size(), 6u);
}

// No write follows a failed one: the sequence ends at the first failure, which is its result.
TEST(LayoutFile, WriteStopsAtTheFirstFailure)
{
    class LimitedStream : public tsOutputStream
    {
    public:
        explicit LimitedStream(std::size_t room) : m_room(room) {}
        HRESULT Write(const void*, std::uint32_t size) override
        {
            ++calls;
            if (failed)
                ++callsAfterFailure;
            if (size > m_room) {
                m_room = 0;
                failed = true;
                return E_FAIL;
            }
            m_room -= size;
            return S_OK;
        }
        int calls = 0;
        int callsAfterFailure = 0;
        bool failed = false;

    private:
        std::size_t m_room;
    };
    LayoutDataObject layout;
    layout.m_controls.push_back(control(0, "A", 1, 2, 3, 4));
    layout.m_controls.push_back(control(1, std::string(300, 'B').c_str(), 1, 2, 3, 4));
    layout.m_controls.push_back(control(2, "C", 1, 2, 3, 4));
    const std::size_t total = written(layout).size();
    for (std::size_t room = 0; room < total; ++room) {
        LimitedStream stream(room);
        EXPECT_EQ(layout.Write(&stream), E_FAIL) << room;
        EXPECT_TRUE(stream.failed) << room;
        EXPECT_EQ(stream.callsAfterFailure, 0) << room;
    }
    LimitedStream enough(total);
    EXPECT_EQ(layout.Write(&enough), S_OK);
    EXPECT_FALSE(enough.failed);
    EXPECT_GE(enough.calls, 4) << "the head and each record";
}

// A record's defaults, and the rule that a field not read keeps the value it had.
TEST(LayoutControlRecord, DefaultsAndFieldsNotRead)
{
    LayoutControl fresh;
    expectSameBits(fresh, control(0, "", 0, 0, 0, 0));

    // A version-1 record has no text id: the record's own stays.
    LayoutBytes v1(1, 0);
    v1.record(5, "OLD", 6, 0, 1, 2, 3, 4);
    tsMemoryStream oldRecord{Bytes(v1.bytes.begin() + 24, v1.bytes.end())};
    LayoutControl held = control(9, "HELD", 9, 9, 9, 9, 9, 77);
    EXPECT_EQ(held.Read(&oldRecord, 1), S_OK);
    expectSameBits(held, control(5, "OLD", 1, 2, 3, 4, 6, 77));

    // Cut among the fields after the name: id and name are read, the rest keep theirs.
    LayoutBytes v2(2, 0);
    v2.record(7, "NEW", 1, 2, 5, 6, 7, 8);
    tsMemoryStream cut{Bytes(v2.bytes.begin() + 24, v2.bytes.end() - 3)};
    LayoutControl partly = control(9, "HELD", 9, 9, 9, 9, 9, 77);
    EXPECT_LT(partly.Read(&cut, 2), 0);
    expectSameBits(partly, control(7, "NEW", 9, 9, 9, 9, 9, 77));
}
