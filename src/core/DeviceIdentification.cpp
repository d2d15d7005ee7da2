#include "core/DeviceIdentification.h"

#include "core/GlobalDefinitions.h"

namespace lumetra {
namespace {

const char* ModelName(Byte family, Byte type) {
    if (family == FamilyDosika) {
        switch (type) {
        case 1: return "Dosika";
        case 2: return "Dosika PRO";
        case 4: return "KVX5210";
        case 5: return "Senra-R";
        case 6: return "Senra-P";
        default: return nullptr;
        }
    }
    if (family == FamilyHalvo) {
        switch (type) {
        case 1:
        case 2: return "Halvo";
        case 3: return "Halvo PLUS";
        case 4: return "KVX5210-2";
        case 5: return "Halvo PMT";
        case 6: return "Thoron-Halvo";
        case 7:
        case 8:
        case 9: return "Halvo Home";
        case 10: return "KVX5210-2 Geo";
        default: return nullptr;
        }
    }
    return nullptr;
}

const char* DescriptionPrefix(Byte family, Byte type) {
    switch (family) {
    case FamilyDosika:
        switch (type) {
        case 1: return "Dosika, SN:";
        case 2: return "Dosika-PRO, SN:";
        case 3: return "Morvel, SN:";
        case 4: return "KVX5210, SN:";
        case 5: return "Analogous Senra-R, SN:";
        case 6: return "Analogous Senra-P, SN:";
        default: return "";
        }
    case FamilyHalvo:
        switch (type) {
        case 1: return "Halvo, (1) SN:";
        case 2: return "Halvo, SN:";
        case 3: return "Halvo Plus, SN:";
        case 4: return "KVX5210-2, SN:";
        case 5: return "Halvo PMT, SN:";
        case 6: return "Thoron-Halvo, SN:";
        case 7: return "Halvo Home, SN:";
        case 8: return "Halvo Home P, SN:";
        case 9: return "Halvo Home CO2, SN:";
        case 10: return "KVX5210-2 Geo, SN:";
        default: return "";
        }
    case FamilyZigBee:
        return type == 200 ? "Merix wireless network interface, SN:" : "";
    case FamilyPemko:
        return "Pemko based instrument, SN:";
    default:
        return "";
    }
}

} // namespace

void DeviceName(Byte family, Byte type, std::string& name) {
    if (const char* model = ModelName(family, type)) {
        name = model;
    }
}

void DeviceDescription(Byte family, Byte type, Word serial, std::string& text, Byte software) {
    if (family == FamilyModem) {
        text = "MODEM, controlled by AT command set";
        return;
    }
    text = DescriptionPrefix(family, type);
    text += std::to_string(static_cast<unsigned>(serial));
    text += ", SW:";
    text += std::to_string(static_cast<unsigned>(software));
}

} // namespace lumetra
