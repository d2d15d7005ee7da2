// The fault texts of both instrument simulators read numbers alike.

#include "dosika/DosikaSimFaults.h"
#include "halvo/HalvoSimFaults.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

TEST(FaultNumbers, DecimalOrHexForHalvoAndDosika) {
    const struct {
        const char* Text;
        bool Valid;
        std::uint32_t Value, Count;
    } cases[] = {
        {"echo:cmd:97", true, 97, 1},   {"echo:cmd:0x61", true, 0x61, 1}, {"silent:0x3:0X2", true, 3, 2},
        {"silent:3:0x0", true, 3, 0},   {"echo:cmd:0x", false, 0, 0},     {"echo:cmd:61h", false, 0, 0},
        {"echo:cmd:0x-1", false, 0, 0}, {"silent:0xg", false, 0, 0},      {"silent: 3", false, 0, 0},
    };
    for (const auto& c : cases) {
        sim::THalvoFaultOption halvo;
        sim::TDkFault dosika;
        std::string error;
        EXPECT_EQ(sim::ParseHalvoFault(c.Text, halvo, error), c.Valid) << c.Text;
        EXPECT_EQ(sim::ParseDkFault(c.Text, dosika, error), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(halvo.Fault.Value, c.Value) << c.Text;
            EXPECT_EQ(halvo.Fault.Count, c.Count) << c.Text;
            EXPECT_EQ(dosika.Value, c.Value) << c.Text;
            EXPECT_EQ(dosika.Count, c.Count) << c.Text;
        }
    }
}

} // namespace
} // namespace lumetra::test
