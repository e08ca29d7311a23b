#include "AllocationProbe.h"
#include "SerialSupport.h"
#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/presentation/Shape.h>
#include <vessik/services/Path.h>
#include <vessik/world/Vector.h>

#include <gtest/gtest.h>

#include <functional>
#include <istream>
#include <streambuf>
#include <vector>

using serialtest::hex;
using vk::Vector;

namespace {

struct Log {
    vktest::TestEnv env;
    Log() { vk::LogManager::getInstance().startUp(); }
    ~Log() { vk::LogManager::getInstance().shutDown(); }
};

// Hands out its bytes but cannot seek, as a pipe would.
class PipeBuffer : public std::streambuf {
  public:
    explicit PipeBuffer(std::string bytes) : m_bytes(std::move(bytes)) {
        setg(m_bytes.data(), m_bytes.data(), m_bytes.data() + m_bytes.size());
    }

  private:
    std::string m_bytes;
};

} // namespace

TEST(serialization, BytesAreLittleEndianWithEightByteLengths) {
    Log log;
    const struct {
        const char *what;
        std::function<void(std::ostream &)> write;
        const char *bytes;
    } cases[] = {
        {"int, bool, string",
         [](std::ostream &o) { vk::writeInt(o, -2), vk::writeBool(o, true), vk::writeString(o, "ab"); },
         "fe ff ff ff 01 02 00 00 00 00 00 00 00 61 62"},
        // the index is not carried
        {"path", [](std::ostream &o) { vk::Path(std::vector<Vector>{Vector(1, 0)}).next().serialize(o); },
         "01 00 00 00 00 00 00 00 00 00 80 3f 00 00 00 00"},
        // nor are the RGB bytes of a custom colour
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
    for (const auto &c : cases) {
        std::ostringstream out;
        c.write(out);
        EXPECT_EQ(hex(out.str()), c.bytes) << c.what;
    }
}

TEST(serialization, PathReadBackKeepsItsIndexAndACutOneChangesNothing) {
    Log log;
    const vk::Path path(std::vector<Vector>{Vector(1, 2), Vector(3, 4), Vector(-5, 6)});
    std::stringstream stream;
    path.serialize(stream);
    const std::string bytes = stream.str();
    vk::Path back = vk::Path(std::vector<Vector>{Vector(9, 9), Vector(8, 8)}).next();
    ASSERT_EQ(back.deserialize(stream), 0);
    EXPECT_EQ(back.getWaypoints(), path.getWaypoints());
    EXPECT_EQ(back.getIndex(), 1);
    for (std::size_t cut = 0; cut < bytes.size(); cut++) {
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_EQ(back.deserialize(in), -1) << cut;
        EXPECT_EQ(back.getWaypoints(), path.getWaypoints()) << cut;
    }
}

TEST(serialization, LengthsBeyondTheStreamTakeNoMemoryWhateverTheStream) {
    Log log;
    const std::string tail(100, 'x');
    for (const std::uint64_t length : {std::uint64_t{1} << 63, std::uint64_t{101}}) {
        SCOPED_TRACE(length);
        for (const bool seekable : {true, false}) {
            PipeBuffer pipe(tail);
            std::istringstream seekable_in(tail);
            std::istream pipe_in(&pipe);
            std::istream &in = seekable ? static_cast<std::istream &>(seekable_in) : pipe_in;
            std::string text = "kept";
            const alloctest::AllocationProbe probe;
            EXPECT_EQ(vk::readChars(in, length, text), vk::CharsRead::SHORT);
            EXPECT_EQ(text, "kept");
            EXPECT_TRUE(in.fail() && in.eof());
            EXPECT_LT(probe.largest(), 256u);
        }
    }
    // what is there is read, up to its first zero byte
    PipeBuffer pipe(std::string("ab\0cd", 5) + "rest");
    std::istream in(&pipe);
    std::string text;
    ASSERT_EQ(vk::readChars(in, 5, text), vk::CharsRead::OK);
    EXPECT_EQ(text, "ab");
    ASSERT_EQ(vk::readChars(in, 4, text), vk::CharsRead::OK);
    EXPECT_EQ(text, "rest");
}
