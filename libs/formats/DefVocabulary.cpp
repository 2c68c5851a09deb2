#include "formats/DefVocabulary.h"

#include <array>

#include "formats/DefRecord.h"

namespace slipway {

namespace {

template <std::size_t N>
std::string_view lookup(const std::array<std::string_view, N>& names, std::int32_t code,
                        std::int32_t first = 0) {
    if (code < first || code - first >= static_cast<std::int32_t>(N))
        return {};
    return names[static_cast<std::size_t>(code - first)];
}

constexpr std::array<std::string_view, 10> kClassNames = {
    "Model",     "Rey",   "Sail",      "Cannon",     "Flag",
    "WaterLine", "Patch", "CannonSet", "AllCannons", "ShipTrace"};
constexpr std::array<std::string_view, 3> kModelTypes = {"Takelag", "Front_Mast", "Bushprit"};
constexpr std::array<std::string_view, 2> kReyTypes = {"REY_T", "REY_Y"};
constexpr std::array<std::string_view, 7> kSailTypes = {"SL_T", "SL_S", "SL_F", "SL_Y",
                                                        "SL_R", "SL_U", "SL_G"};
constexpr std::array<std::string_view, 4> kCannonTypes = {"Front_Cannon", "Left_Cannon",
                                                          "Rear_Cannon", "Right_Cannon"};
constexpr std::array<std::string_view, 3> kFlagTypes = {"Ship Flag", "Island Flag", "Vimpel"};

}  // namespace

std::string_view defClassName(std::int32_t cls) {
    return lookup(kClassNames, cls, 200);
}

std::string_view defTypeName(std::int32_t cls, std::int32_t type) {
    switch (cls) {
        case kDefClassRey:
            return lookup(kReyTypes, type);
        case kDefClassSail:
            return lookup(kSailTypes, type);
        case kDefClassCannon:
            // Cannon types repeat every ten codes; a negative code stays negative and has no
            // name.
            return lookup(kCannonTypes, type % 10);
        case kDefClassFlag:
            return lookup(kFlagTypes, type);
        default:
            return lookup(kModelTypes, type, 220);
    }
}

std::string_view defClassHelp() {
    return "200 - MODEL      201 - REY\n202 - SAIL           203 - CANNON\n204 - FLAG          "
           "205 - WATERLINE\n206 - PATCH              207 - CANNON_SET\n208 - ALL_CANNONS     "
           "      209 - SHIP_TRACE";
}

std::string_view defTypeHelp(std::int32_t cls) {
    switch (cls) {
        case kDefClassModel:
            return "220 - TAKELAG\n221 - FRONT_MAST\n222 - BUSHPRIT";
        case kDefClassSail:
            return "0 - SL_T (Usial Sail)\n1 - SL_S (Storm Sail)\n2 - SL_F (Front Usial "
                   "Sail)\n3 - SL_Y (Treugoln. Sail)\n4 - SL_R (Trapecial Sail)\n5 - SL_U "
                   "(Front Treugoln Sail)\n6 - SL_G (Usial Sail With Emblem)";
        case kDefClassRey:
            return "0 - REY_T         1 - REY_Y";
        case kDefClassFlag:
            return "0 - Ship Flag\n1 - Island Flag\n2 - Vimpel";
        case kDefClassCannon:
            return "1 - CAN_LEFT    2 - CAN_REAR\n3 - CAN_RIGHT     0 - CAN_FRONT";
        default:
            return {};
    }
}

}  // namespace slipway
