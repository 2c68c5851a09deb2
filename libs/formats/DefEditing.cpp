#include "formats/DefEditing.h"

#include "formats/DefNumberText.h"
#include "formats/DefVocabulary.h"

namespace slipway {

namespace {

bool classAccepted(std::int32_t value) {
    return value == 0 || (value >= 200 && value <= 215);
}

bool typeAccepted(std::int32_t cls, std::int32_t value) {
    switch (cls) {
        case kDefClassRey:
            return value >= 0 && value <= 1;
        case kDefClassSail:
            return value >= 0 && value <= 6;
        case kDefClassCannon:
            return value >= 0 && value <= 3;
        case kDefClassFlag:
            return value >= 0 && value <= 2;
        default:
            return true;  // MODEL and the classes without type codes take any value
    }
}

}  // namespace

EditResult applyEdit(DefDocument& document, std::int32_t row, std::optional<DefField> field,
                     std::string_view text) {
    if (!field || row < 0 || row >= document.count())
        return EditResult::Ignored;
    text = text.substr(0, kEditTextMax);
    DefRecord& r = document.records[static_cast<std::size_t>(row)];
    switch (*field) {
        case DefField::Class: {
            const std::int32_t value = readLeadingInt(text);
            if (!classAccepted(value))
                return EditResult::Refused;
            r.Class = value;
            return EditResult::Stored;
        }
        case DefField::Type: {
            const std::int32_t value = readLeadingInt(text);
            if (!typeAccepted(r.Class, value))
                return EditResult::Refused;
            r.Type = value;
            return EditResult::Stored;
        }
        case DefField::Link: {
            const std::int32_t value = readLeadingInt(text);
            if (value < -1 || value >= document.count())
                return EditResult::Refused;
            r.Link = value;
            return EditResult::Stored;
        }
        case DefField::File:
            setDefFileName(r, text);
            return EditResult::Stored;
        case DefField::X:
            r.X = readLeadingFloat(text);
            return EditResult::Stored;
        case DefField::Y:
            r.Y = readLeadingFloat(text);
            return EditResult::Stored;
        case DefField::Z:
            r.Z = readLeadingFloat(text);
            return EditResult::Stored;
        case DefField::Ax:
            r.Ax = readLeadingFloat(text);
            return EditResult::Stored;
        case DefField::Ay:
            r.Ay = readLeadingFloat(text);
            return EditResult::Stored;
        case DefField::Az:
            r.Az = readLeadingFloat(text);
            return EditResult::Stored;
    }
    return EditResult::Ignored;
}

std::optional<std::string_view> defEditHelp(const DefRecord& record, DefField field) {
    if (field == DefField::Class)
        return defClassHelp();
    if (field == DefField::Type)
        return defTypeHelp(record.Class);
    return std::nullopt;
}

bool addDefRecord(DefDocument& document) {
    if (document.count() >= document.capacity)
        return false;
    DefRecord r;
    r.Num = document.count();
    r.Class = kDefClassModel;
    r.Link = 1;
    document.records.push_back(r);
    return true;
}

bool deleteDefRecord(DefDocument& document, std::int32_t row) {
    if (row < 0 || row >= document.count())
        return false;
    document.records.erase(document.records.begin() + row);
    return true;
}

}  // namespace slipway
