#include "AllocationProbe.h"
#include "Box.h"
#include "LogManager.h"
#include "Path.h"
#include "Shape.h"
#include "TestEnv.h"
#include "Vector.h"
#include "serialization.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <istream>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

using vk::Vector;

namespace {

struct Log {
    vktest::TestEnv env;
    Log() { vk::LogManager::getInstance().startUp(); }
    ~Log() { vk::LogManager::getInstance().shutDown(); }
};

std::string hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string countBytes(std::uint64_t count) {
    std::ostringstream out;
    vk::writeCount(out, count);
    return out.str();
}

// Hands out its bytes one read at a time and cannot seek, as a pipe would.
class PipeBuffer : public std::streambuf {
  public:
    explicit PipeBuffer(std::string bytes) : m_bytes(std::move(bytes)) {
        setg(m_bytes.data(), m_bytes.data(), m_bytes.data() + m_bytes.size());
    }

  protected:
    pos_type seekoff(off_type, std::ios::seekdir, std::ios::openmode) override { return pos_type(-1); }
    pos_type seekpos(pos_type, std::ios::openmode) override { return pos_type(-1); }

  private:
    std::string m_bytes;
};

} // namespace

TEST(serialization, BytesAreLittleEndianWithEightByteLengths) {
    Log log;
    struct Case {
        const char *what;
        std::function<void(std::ostream &)> write;
        const char *bytes;
    };
    const std::vector<Case> cases = {
        {"mask", [](std::ostream &o) { vk::writeMask(o, 0x3FFFF); }, "ff ff 03 00"},
        {"negative int", [](std::ostream &o) { vk::writeInt(o, -2); }, "fe ff ff ff"},
        {"float", [](std::ostream &o) { vk::writeFloat(o, 2.5f); }, "00 00 20 40"},
        {"bools", [](std::ostream &o) { vk::writeBool(o, true), vk::writeBool(o, false); }, "01 00"},
        {"string", [](std::ostream &o) { vk::writeString(o, "ab"); }, "02 00 00 00 00 00 00 00 61 62"},
        {"vector", [](std::ostream &o) { Vector(1, -1).serialize(o); }, "00 00 80 3f 00 00 80 bf"},
        {"box", [](std::ostream &o) { vk::Box(Vector(0, 1), 2, 0.5f).serialize(o); },
         "00 00 00 00 00 00 80 3f 00 00 00 40 00 00 00 3f"},
        // the index is not carried
        {"path", [](std::ostream &o) { vk::Path(std::vector<Vector>{Vector(1, 0)}).next().serialize(o); },
         "01 00 00 00 00 00 00 00 00 00 80 3f 00 00 00 00"},
        // the RGB bytes of a custom colour stay behind
        {"shape",
         [](std::ostream &o) {
             vk::Shape shape;
             shape.setType(vk::TRIANGLE);
             shape.setSize(3);
             shape.setColor(1, 2, 3);
             shape.setAlpha(128);
             shape.serialize(o);
         },
         "02 00 00 00 00 00 40 40 08 00 00 00 80"},
    };
    for (const Case &c : cases) {
        std::ostringstream out;
        c.write(out);
        EXPECT_EQ(hex(out.str()), c.bytes) << c.what;
    }
}

TEST(serialization, BlocksReadBackAndLeaveTheTargetAloneWhenCutShort) {
    Log log;
    std::stringstream stream;
    const vk::Box box(Vector(-0.5f, 3), 4, 1.25f);
    const vk::Path path(std::vector<Vector>{Vector(1, 2), Vector(3, 4), Vector(-5, 6)});
    box.serialize(stream);
    path.serialize(stream);
    const std::string bytes = stream.str();

    vk::Box box_back;
    vk::Path path_back(std::vector<Vector>{Vector(9, 9), Vector(8, 8)});
    path_back.next();
    ASSERT_EQ(box_back.deserialize(stream), 0);
    ASSERT_EQ(path_back.deserialize(stream), 0);
    EXPECT_EQ(box_back, box);
    EXPECT_EQ(path_back.getWaypoints(), path.getWaypoints());
    EXPECT_EQ(path_back.getIndex(), 1);

    // every cut of the bytes fails the block it falls in and changes nothing
    for (std::size_t cut = 0; cut < bytes.size(); cut++) {
        std::istringstream in(bytes.substr(0, cut));
        vk::Box b;
        vk::Path p;
        const int result = b.deserialize(in) == 0 && p.deserialize(in) == 0 ? 0 : -1;
        EXPECT_EQ(result, -1) << cut;
        EXPECT_TRUE(cut >= 16 ? b == box : b == vk::Box()) << cut;
        EXPECT_TRUE(p.getWaypoints().empty()) << cut;
    }
    EXPECT_TRUE(log.env.logHas("Box::deserialize(): Error! Stream eof."));
    EXPECT_TRUE(log.env.logHas("Vector::deserialize(): Error! Stream eof."));
    EXPECT_TRUE(log.env.logHas("Path::deserialize(): Error! Stream eof."));
}

TEST(serialization, CountsBeyondTheStreamTakeNoMemory) {
    Log log;
    const std::uint64_t huge = std::uint64_t{1} << 63;
    const std::string tail(100, 'x');
    for (const std::uint64_t count : {huge, std::numeric_limits<std::uint64_t>::max(), std::uint64_t{101}}) {
        SCOPED_TRACE(count);
        {
            std::istringstream in(countBytes(count) + tail);
            vk::Path path;
            const alloctest::AllocationProbe probe;
            EXPECT_EQ(path.deserialize(in), -1);
            EXPECT_LT(probe.largest(), 256u);
            EXPECT_TRUE(path.getWaypoints().empty());
        }
        for (const bool seekable : {true, false}) {
            PipeBuffer pipe(tail);
            std::istringstream seekable_in(tail);
            std::istream pipe_in(&pipe);
            std::istream &in = seekable ? static_cast<std::istream &>(seekable_in) : pipe_in;
            std::string text = "kept";
            const alloctest::AllocationProbe probe;
            EXPECT_EQ(vk::readChars(in, count, text), vk::CharsRead::SHORT);
            EXPECT_EQ(text, "kept");
            EXPECT_TRUE(in.fail() && in.eof());
            EXPECT_LT(probe.largest(), 256u);
        }
    }
}

TEST(serialization, StringsEndAtTheirFirstZeroByteWhatEverTheStream) {
    for (const bool seekable : {true, false}) {
        const std::string bytes = std::string("ab\0cd", 5) + "rest";
        PipeBuffer pipe(bytes);
        std::istringstream seekable_in(bytes);
        std::istream pipe_in(&pipe);
        std::istream &in = seekable ? static_cast<std::istream &>(seekable_in) : pipe_in;
        std::string text;
        ASSERT_EQ(vk::readChars(in, 5, text), vk::CharsRead::OK);
        EXPECT_EQ(text, "ab");
        ASSERT_EQ(vk::readChars(in, 4, text), vk::CharsRead::OK);
        EXPECT_EQ(text, "rest");
        EXPECT_TRUE(in.good());
        EXPECT_EQ(vk::bytesLeft(in), seekable ? 0 : -1);
    }
}

TEST(serialization, BitTextShowsAllThirtyTwoBitsHighestFirst) {
    EXPECT_EQ(vk::bitText(0x3FFFF), std::string(14, '0') + std::string(18, '1'));
    EXPECT_EQ(vk::bitText(0x80000001u), "1" + std::string(30, '0') + "1");
}
