// The two model-wide blocks built from a PX200 model: the model settings
// block (PX600 64..639) and the model-wide block (PX600 25200..28139).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "convert/PX200Convert.h"
#include "model/ModelData.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Patch = std::pair<uint16_t, Bytes>;  // offset, bytes

struct BlockCase {
    const char* name;
    int type;                 // PX600 model type code passed to the blocks
    std::vector<Patch> px200; // bytes set in a zero PX200 image
    std::vector<Patch> px600; // bytes expected in the result
};

// Channel table: functions 0..7 on channels 7..0, function 8 on "channel" 12
// (none), function 20 on channel 0, every other function none (0xFF).
Bytes ChannelTable()
{
    Bytes t(32, 0xFF);
    for (int k = 0; k < 8; ++k)
        t[k] = uint8_t(7 - k);
    t[8] = 12;
    t[20] = 0;
    return t;
}

// The per-channel bytes at 182..213 for that table: PX200 246 + v holds
// 0x40 + v, no channel gives 0x1E; the last entry becomes 8 (one past the
// highest channel in use).
Bytes ChannelBytes()
{
    Bytes b(32, 0x1E);
    for (int k = 0; k < 8; ++k)
        b[k] = uint8_t(0x40 + 7 - k);
    b[20] = 0x40;
    b[31] = 8;
    return b;
}

Bytes PerChannel()
{
    Bytes b(12);
    for (int v = 0; v < 12; ++v)
        b[v] = uint8_t(0x40 + v);
    return b;
}

Bytes Range(uint8_t first, size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(first + i);
    return b;
}

// The second copy ends in 8 as well (181); the first stays as stored.
Bytes SecondCopy()
{
    Bytes t = ChannelTable();
    t[31] = 8;
    return t;
}

const BlockCase kCases[] = {
    {"count-down timer: 100 x (10 x 30 - 120)", MODEL_AIRPLANE,
     {{110, {0x0F, 0x00, 30, 0x09, 0x05, 0xFB, 0x0A, 0x14, 0xEC}}, {135, {0, 0, 0, 120}}, {144, {0x11, 0x22, 0x33}},
      {1698, {0xFE}}},
     {{25204, {0x00, 0x00, 0x46, 0x50}},
      {25212, {0x2B, 0x00, 30, 0x00, 0x09, 0x05, 0xFB, 0x00, 0x11, 0x22, 0x33, 0x00, 0x0A, 0x14, 0xEC}}}},
    {"count-up timer stores 100 x E", MODEL_AIRPLANE,
     {{119, {0x01, 0x12, 0x34}}, {139, {0, 0, 1, 0}}, {1699, {0x03}}},
     {{25208, {0x00, 0x00, 0x64, 0x00}}, {25227, {0x31, 0x12, 0x34}}}},
    {"timer products wrap modulo 2^32", MODEL_AIRPLANE,
     {{110, {0x02, 0x00, 0x00}}, {135, {0, 0, 0, 1}}, {139, {0x7F, 0xFF, 0xFF, 0xFF}}},
     {{25204, {0xFF, 0xFF, 0xFF, 0x9C}}, {25208, {0xFF, 0xFF, 0xFF, 0x9C}}}},
    {"channel table: copies, per-channel bytes, last entries and bit sets", MODEL_AIRPLANE,
     {{190, ChannelTable()}, {246, PerChannel()}, {258, {0x00, 0x18}}, {260, {0x01, 0x00}}, {262, {0x80, 0x00}}},
     {{118, ChannelTable()},
      {150, SecondCopy()},
      {182, ChannelBytes()},
      {218, {0x80, 0x00, 0x10, 0x00}},
      {222, {0x01, 0x00, 0x00, 0x00}},
      {519, {0x00, 0x00, 0x00, 0x00}}}},
    {"no function on a channel: last entries 1, per-channel bytes 0x1E", MODEL_AIRPLANE,
     {{190, Bytes(32, 12)}, {246, PerChannel()}, {258, {0xFF, 0x0F}}},
     {{181, {1}}, {182, Bytes(31, 0x1E)}, {213, {1}}, {519, {0, 0, 0, 0}}}},
    {"last function on a channel: the table is copied unchanged", MODEL_AIRPLANE,
     {{190, Range(0, 32)}, {221, {11}}},
     {{118, Range(0, 31)}, {149, {11}}, {181, {11}}}},
    {"airplane: reset switch records, no helicopter bytes", MODEL_AIRPLANE,
     {{1, {0}}, {451, Bytes(16, 0x33)}, {1363, {1, 2, 3, 4, 5}}},
     {{64, {0x00, 0xFF, 0x05, 0xFB, 0x00, 0xFF, 0x05, 0xFB}},
      {89, {0xFF, 0x05, 0xFB}},
      {370, {1, 2, 3, 4, 5}}}},
    {"helicopter: 64..79 copied, 370..374 fixed", MODEL_HELICOPTER,
     {{1, {1}}, {451, Range(0x10, 16)}, {1363, {1, 2, 3, 4, 5}}},
     {{64, Range(0x10, 16)}, {81, {0xFF, 0x05, 0xFB}}, {370, {0x00, 0xFF, 0x00, 0x00, 0x00}}}},
    {"glider: 64..79 copied", MODEL_GLIDER, {{451, Range(0x20, 16)}}, {{64, Range(0x20, 16)}}},
    {"multicopter keeps the reset records", MODEL_MULTICOPTER,
     {{1, {3}}, {451, Range(0x20, 16)}, {1363, {9}}},
     {{64, {0x00, 0xFF, 0x05, 0xFB}}, {370, {9}}}},
    {"fixed fills and every-second copy", MODEL_AIRPLANE,
     {{1812, {1, 0xEE, 2, 0xEE, 3, 0xEE, 4, 0xEE, 5, 0xEE, 6, 0xEE, 7, 0xEE, 8, 0xEE, 9, 0xEE, 10, 0xEE, 11, 0xEE, 12}}},
     {{114, Bytes(4, 0x1F)},
      {230, {0x04, 0x04, 0x04, 0x00}},
      {438, Range(1, 12)},
      {530, Bytes(12, 0xFF)},
      {562, Bytes(8, 0x64)},
      {570, Bytes(8, 0x87)},
      {25242, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0}},
      {27742, {0xFF, 0xFF, 0xFF}}}},
    {"settings bit bytes 92, 516, 518", MODEL_AIRPLANE,
     {{154, {0xAF}}, {156, {0x80}}, {2204, {0x01}}, {2206, {0xBF}}, {2207, {0x80}}},
     {{92, {0xF7}}, {516, {0xFE}}, {518, {0xA0}}}},
    {"flag bytes 25258 and 25259", MODEL_AIRPLANE,
     {{99, {0xD7}}, {110, {0x04}}, {119, {0x04}}},
     {{25258, {0x0F, 0x19}}}},
    {"flag byte 25259: bit 4 of PX200 99 alone gives 1", MODEL_AIRPLANE, {{99, {0x10}}}, {{25259, {0x04}}}},
    {"mode bytes: above 3 is mode 1, bit 2 from PX200 143", MODEL_AIRPLANE,
     {{143, {0x81}}, {1685, {7, 2, 3, 0, 1, 2, 3, 0xFF}}},
     {{25260, {0x05, 0x02, 0x03, 0x00, 0x05, 0x03, 0x01, 0x00}}}},
    {"glider mode byte 25263 from 1690 and bit 5", MODEL_GLIDER,
     {{143, {0x20}}, {1685, {0, 0, 0, 2, 0, 3, 0, 0}}},
     {{25263, {0x07, 0x00, 0x00}}}},
    {"helicopter mode byte 25265 from 1690 and bit 5", MODEL_HELICOPTER,
     {{143, {0x20}}, {1685, {0, 0, 0, 2, 0, 3, 0, 0}}},
     {{25263, {0x02, 0x00, 0x07}}}},
    {"percentage -100 gives 100, flag bit 7", MODEL_AIRPLANE,
     {{1876, {0x80, 0x12, 0x34, 0x56, 0x9C}}},
     {{27747, {0xE4, 0x12, 0x34, 0x56}}}},
    {"percentage 1 gives 49", MODEL_AIRPLANE, {{1880, {1}}}, {{27747, {49}}}},
    {"percentage -1 gives 50", MODEL_AIRPLANE, {{1880, {0xFF}}}, {{27747, {50}}}},
    {"percentage 101 truncates toward zero", MODEL_AIRPLANE, {{1880, {101}}}, {{27747, {0}}}},
    {"percentage 127 keeps the low 7 bits of -13", MODEL_AIRPLANE, {{1880, {127}}}, {{27747, {0x73}}}},
};

void Build(uint8_t* img, const uint8_t* px200, int type)
{
    ConvertPX200SettingsBlock(img, px200, type);
    ConvertPX200ModelBlock(img, px200, type);
}

}  // namespace

TEST(PX200ModelBlocks, Cases)
{
    std::vector<uint8_t> px200(PX200_IMAGE_SIZE);
    std::vector<uint8_t> img(PX600_IMAGE_SIZE);
    for (const BlockCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::fill(px200.begin(), px200.end(), 0);
        std::fill(img.begin(), img.end(), 0);
        for (const Patch& p : c.px200)
            std::memcpy(px200.data() + p.first, p.second.data(), p.second.size());
        Build(img.data(), px200.data(), c.type);
        for (const Patch& p : c.px600)
            EXPECT_EQ(Bytes(img.begin() + p.first, img.begin() + p.first + long(p.second.size())), p.second)
                << "at " << p.first;
    }
}

// Whatever the PX200 bytes, the two blocks write only inside their blocks.
TEST(PX200ModelBlocks, WriteOnlyTheirBlocks)
{
    std::mt19937 rng(6618);
    std::vector<uint8_t> px200(PX200_IMAGE_SIZE);
    std::vector<uint8_t> img(PX600_IMAGE_SIZE);
    for (int round = 0; round < 64; ++round) {
        for (auto& b : px200)
            b = uint8_t(rng());
        std::fill(img.begin(), img.end(), 0xA5);
        const int type = round % 5;
        Build(img.data(), px200.data(), type == 3 ? MODEL_MULTICOPTER : type);
        for (size_t i = 0; i < img.size(); ++i) {
            const bool inside = (i >= 64 && i < 640) || (i >= 25200 && i < 28140);
            if (!inside) {
                ASSERT_EQ(img[i], 0xA5) << "byte " << i << ", round " << round;
            }
        }
    }
}
