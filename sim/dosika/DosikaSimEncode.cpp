#include "dosika/DosikaSimEncode.h"

#include <algorithm>

namespace lumetra::sim {

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        d[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

std::vector<std::uint8_t> EncodeDkSpectrum(const TDkSimState& state, bool otherSize) {
    const std::uint8_t layoutType = otherSize ? (state.DeviceType == 1 ? 2 : 1) : state.DeviceType;
    const std::size_t channels = DkSimSpectrumChannels(layoutType);
    const std::size_t width = DkSimSpectrumBytesPerChannel(layoutType);
    std::vector<std::uint8_t> d(channels * width, 0);
    for (std::size_t i = 0; i < channels; ++i) {
        PutLittleEndian(d, i * width, state.Spectrum[i], width);
    }
    return d;
}

std::vector<std::uint8_t> EncodeDkRecord(std::uint8_t type, std::uint8_t softwareVersion, const TDkSimRecord& r) {
    const std::size_t size = DkSimRecordSize(type, softwareVersion);
    std::vector<std::uint8_t> d(size, 0);
    if (size == 0) {
        return d;
    }
    d[0] = r.Status;
    const std::size_t width = type == 1 ? 2 : 4;
    for (std::size_t k = 0; k < 5; ++k) {
        PutLittleEndian(d, 1 + k * width, r.Counters[k], width);
    }
    std::size_t used = 1 + 5 * width;
    if (type == 3) {
        PutLittleEndian(d, used, r.ExtraCounter, 4);
        used += 4;
    } else if (type == 5) {
        d[used++] = r.TemperatureCode;
        d[used++] = r.HumidityCode;
    }
    // Software 10 pads to 32 bytes with data the download does not use; a visible
    // pattern rather than zeros, so a reader that strays into it is caught.
    for (std::size_t i = used; i < size; ++i) {
        d[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return d;
}

std::vector<std::uint8_t> EncodeDkRecordBlock(const TDkSimState& state, TDkBlockDamage damage) {
    const std::size_t size = DkSimRecordSize(state.DeviceType, state.SoftwareVersion);
    std::size_t count = std::min(state.Records.size(), DkSimRecordCapacity(state.DeviceType, state.SoftwareVersion));
    // The extra byte must still fit the 16-bit length.
    if (damage.ExtraByte && 6 + count * size + 1 > kDkMaxBlockLength) {
        --count;
    }
    std::vector<std::uint8_t> block(6, 0);
    block.reserve(6 + count * size + 1);
    block[2] = state.StartTime.Minute;
    block[3] = state.StartTime.Hour;
    block[4] = state.StartTime.Day;
    block[5] = state.StartTime.Month;
    for (std::size_t i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> record = EncodeDkRecord(state.DeviceType, state.SoftwareVersion, state.Records[i]);
        block.insert(block.end(), record.begin(), record.end());
    }
    if (damage.ExtraByte) {
        block.push_back(0x00);
    }
    std::size_t length = block.size();
    if (damage.LengthWrong) {
        length = length < kDkMaxBlockLength ? length + 1 : length - 1;
    }
    PutLittleEndian(block, 0, static_cast<std::uint32_t>(length), 2);
    return block;
}

} // namespace lumetra::sim
